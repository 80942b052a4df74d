// CLspServer's language features: signature help, completion, hover,
// definition and workspace symbols, all answered from the catalogues.
#include <algorithm>
#include <cstring>

#include "assist/NameBeforeCaret.h"
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspCallSnippet.h"
#include "tools/lsp/LspFuzzy.h"
#include "tools/lsp/LspHeaderNotes.h"
#include "tools/lsp/LspProjectFiles.h"
#include "tools/lsp/LspPrototype.h"
#include "tools/lsp/LspUri.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

// Most completion items in one answer; the list is marked incomplete when
// more functions match, so the client asks again as the word grows.
const size_t kMaxCompletionItems = 1000;
// Scripts a workspace query reads between two looks at the inbox.
const size_t kScriptsPerStep = 256;

// The word around (or, with bBefore, ending at) byte nOffset of strLine:
// its first byte and its end.
std::pair<size_t, size_t> WordAt(const std::string& strLine, size_t nOffset, bool bBefore) {
  size_t nFirst = nOffset;
  while (nFirst > 0 && IsNameChar(strLine[nFirst - 1])) --nFirst;
  size_t nEnd = nOffset;
  if (!bBefore)
    while (nEnd < strLine.size() && IsNameChar(strLine[nEnd])) ++nEnd;
  return {nFirst, nEnd};
}

// A completion item's rank as sortText: fixed width, so that it sorts as text.
std::string RankText(size_t nRank) {
  std::string strRank = std::to_string(nRank);
  const size_t nWidth = std::to_string(kMaxCompletionItems).size();
  return std::string(nWidth > strRank.size() ? nWidth - strRank.size() : 0, '0') + strRank;
}

// "money.nsc line 6", the script named by its path from the project root;
// with bLink, a markdown link that opens the file at that line ("#L6", as
// editors take a line from a file URI).
std::string Where(const CLspPlace& place, const CLspCatalog& catalog, bool bLink = false) {
  const std::string strWhere =
      catalog.DisplayName(place.first->strPath) + " line " + std::to_string(place.second->nLine + 1);
  if (!bLink) return strWhere;
  std::string strText;
  for (const char ch : strWhere) {
    if (std::strchr("\\`*_[]<>", ch) != nullptr) strText += '\\';
    strText += ch;
  }
  return "[" + strText + "](" + UriFromPath(place.first->strPath) + "#L" + std::to_string(place.second->nLine + 1) + ")";
}

// A workspace symbol while the query runs: copied out of the catalogue, as
// the scripts may change while the query pauses.
struct CSymbolCandidate {
  int nScore = 0;
  CString strName;
  CString strKey;  // the script, looked up again when the answer is built
  int nLine = 0;
  unsigned nColumn = 0;
  unsigned nEndColumn = 0;
};

// Better matches first; then by name, then by script, for a stable order.
bool BetterSymbol(const CSymbolCandidate& a, const CSymbolCandidate& b) {
  if (a.nScore != b.nScore) return a.nScore > b.nScore;
  const int nName = std::strcmp(a.strName, b.strName);
  if (nName != 0) return nName < 0;
  const int nKey = std::strcmp(a.strKey, b.strKey);
  return nKey != 0 ? nKey < 0 : a.nLine < b.nLine;
}

}  // namespace

std::string CLspServer::UriOf(const json& params) { return params.at("textDocument").at("uri").get<std::string>(); }

CLspPosition CLspServer::PositionOf(const json& params) { return params.at("position").get<CLspPosition>(); }

CLspDocument* CLspServer::DocumentAt(const json& params, size_t& nLine, size_t& nOffset) {
  return Locate(UriOf(params), PositionOf(params), nLine, nOffset);
}

CLspLocation CLspServer::Location(const CLspPlace& place) const {
  const CLspDefinition& definition = *place.second;
  return {UriFromPath(place.first->strPath), CLspRange::OnLine(definition.nLine, definition.nColumn, definition.nEndColumn)};
}

std::string CLspServer::ShadowNote(const CLspFunction& function, bool bLinks) const {
  const std::vector<CLspPlace> places = DefinitionsOf(function.strName.Str());
  if (places.empty() || (!function.bBuiltIn && places.size() == 1)) return std::string();
  std::string strNote;
  size_t nOthers = 0;
  if (function.bBuiltIn) {
    // As in the host: the built-in is called; the project's function of the name never is.
    strNote = "The built-in function is called here. The project's " + std::string(places[0].second->strPrototype) +
              " (" + Where(places[0], *m_pCatalog, bLinks) + ") is shadowed by it";
    nOthers = places.size() - 1;
  } else {
    strNote = "Defined in " + Where(places[0], *m_pCatalog, bLinks) + "; the definition in " +
              Where(places[1], *m_pCatalog, bLinks) + " is not used";
    nOthers = places.size() - 2;
  }
  if (nOthers > 0) strNote += " (and " + std::to_string(nOthers) + " more)";
  return strNote + ".";
}

bool CLspServer::FindForSignature(const std::string& strName, CLspFunction& function) {
  // A document edited since it was last read may define the name anew, or
  // change the prototype it defines: only then is it read again, so that
  // typing in a long document costs no rescan of it per keystroke.
  bool bStale = false;
  const std::vector<std::string> unread = UnreadDocuments();
  if (!unread.empty()) {
    if (!Find(strName, function)) {
      bStale = true;
    } else {
      for (const std::string& strUri : unread) {
        const CLspScript* pScript = ScriptOf(strUri);
        if (pScript != nullptr)
          for (const CLspDefinition& definition : pScript->definitions)
            bStale = bStale || definition.strName == function.strName;
      }
    }
  }
  if (bStale) RefreshDocuments();
  return Find(strName, function);
}

CLspResult CLspServer::SignatureHelp(const json& params) {
  size_t nLine = 0;
  size_t nOffset = 0;
  CLspDocument* pDocument = DocumentAt(params, nLine, nOffset);
  if (pDocument == nullptr) return nullptr;
  // The innermost open call whose name is known: an unknown name or a
  // grouping parenthesis hands over to the call around it.
  CLspCallScanner::COpenCall call;
  CLspFunction function;
  bool bFound = false;
  while (!bFound && pDocument->FindOpenCall(nLine, nOffset, call)) {
    const std::string& strLine = pDocument->Lines()[call.nLine];
    const CString strName = NameBeforeCaret(CString(strLine.data(), static_cast<int>(strLine.size())),
                                            static_cast<int>(call.nParen));
    bFound = FindForSignature(strName.Str(), function);
    // A name a running full index may yet define could be the call meant:
    // no answer now (the question then waits for the index), rather than
    // the tip of the call around it.
    if (!bFound && !strName.IsEmpty() && m_bFullIndexRunning) return nullptr;
    nLine = call.nLine;
    nOffset = call.nParen;
  }
  if (!bFound) return nullptr;

  const std::string strPrototype = function.strPrototype.Str();
  CLspSignature signature;
  signature.strLabel = ToUtf8(strPrototype);
  const CLspParameters prototype = ParametersOf(function.strPrototype);
  const std::vector<std::pair<int, int>>& ranges = prototype.ranges;
  for (const std::pair<int, int>& range : ranges) {
    // The ranges are bytes of the 8-bit prototype; the label is its UTF-8 form.
    const size_t nFirst = ToUtf8(strPrototype.substr(0, static_cast<size_t>(range.first))).size();
    const size_t nEnd = ToUtf8(strPrototype.substr(0, static_cast<size_t>(range.second))).size();
    signature.parameters.emplace_back(ColumnOfByteOffset(signature.strLabel, nFirst, m_eEncoding),
                                      ColumnOfByteOffset(signature.strLabel, nEnd, m_eEncoding));
  }
  // An argument past the last parameter has none to mark, unless the last
  // takes the rest ("..."). The protocol's null says so; clients that read
  // a missing index as 0 (Neovim 0.7) or clamp it to the last still mark
  // nothing when the signature lists no parameters.
  signature.nActive = call.nArgument;
  if (static_cast<size_t>(call.nArgument) >= ranges.size()) {
    if (prototype.bRest) {
      signature.nActive = static_cast<long long>(ranges.size()) - 1;
    } else {
      signature.nActive = -1;
      signature.parameters.clear();
    }
  }
  signature.strDocumentation = DocumentationOf(function);
  const std::string strNote = ShadowNote(function);
  if (!strNote.empty()) signature.strDocumentation += (signature.strDocumentation.empty() ? "" : "\n\n") + ToUtf8(strNote);
  CLspSignatureHelp help;
  help.nActiveParameter = signature.nActive;
  help.signatures.push_back(std::move(signature));
  return help;
}

CLspResult CLspServer::Completion(const json& params) {
  size_t nLine = 0;
  size_t nOffset = 0;
  CLspDocument* pDocument = DocumentAt(params, nLine, nOffset);
  if (pDocument == nullptr) return nullptr;
  const std::string& strLine = pDocument->Lines()[nLine];
  const std::pair<size_t, size_t> word = WordAt(strLine, nOffset, true);
  // Words in strings and comments are text, not calls: nothing is offered.
  CLspCompletionList list;
  if (!pDocument->IsCodeAt(nLine, word.first)) return list;
  const std::string strWord = strLine.substr(word.first, word.second - word.first);
  bool bMore = false;
  const std::vector<CString> matches = m_pCatalog->Complete(strWord, kMaxCompletionItems, bMore);
  const CLspRange range = CLspRange::OfBytes(strLine, nLine, word.first, word.second, m_eEncoding);
  // A call already written after the word keeps its arguments: then the
  // name alone is inserted.
  size_t nAfter = word.second;
  while (nAfter < strLine.size() && IsNameChar(strLine[nAfter])) ++nAfter;
  while (nAfter < strLine.size() && (strLine[nAfter] == ' ' || strLine[nAfter] == '\t')) ++nAfter;
  const bool bSnippets = m_bSnippets && (nAfter == strLine.size() || strLine[nAfter] != '(');
  CLspFunction function;
  for (size_t nRank = 0; nRank < matches.size(); ++nRank) {
    const CString& strMatch = matches[nRank];
    if (!Find(strMatch.Str(), function)) continue;
    const std::string strName = ToUtf8(strMatch.Str());
    std::string strSource = "built-in";
    if (!function.bBuiltIn) {
      const std::vector<CLspPlace> places = DefinitionsOf(strMatch.Str());
      strSource = places.empty() ? std::string("project") : m_pCatalog->DisplayName(places[0].first->strPath);
    }
    // The rank as sortText keeps the order in clients that sort; the name
    // as filterText lets a client filter as the word grows (fuzzy ones
    // find what the server found).
    CLspCompletionItem item;
    item.strLabel = strName;
    item.strDetail = ToUtf8(function.strPrototype.Str());
    item.strDescription = ToUtf8(strSource);
    item.strSortText = RankText(nRank);
    item.strFilterText = strName;
    item.textEdit = {range, bSnippets ? ToUtf8(CallSnippet(function.strPrototype)) : strName};
    item.bSnippet = bSnippets;
    item.strDocumentation = ToUtf8(function.strDescription);
    // A project function's comment is read from its script when the client
    // shows the item (completionItem/resolve), not for every item listed.
    if (!function.bBuiltIn) item.strDataName = strName;
    list.items.push_back(std::move(item));
  }
  // While a full index runs the list may lack project functions: the client asks again.
  list.bIncomplete = bMore || m_bFullIndexRunning;
  return list;
}

std::string CLspServer::DocumentationOf(const CLspFunction& function) {
  if (function.bBuiltIn) return ToUtf8(function.strDescription);
  const std::vector<CLspPlace> places = DefinitionsOf(function.strName.Str());
  return places.empty() ? std::string() : ToUtf8(NotesOf(places[0]).strComment);
}

CLspResult CLspServer::ResolveCompletion(const json& params) {
  json item = params;
  CLspFunction function;
  const json& name = params.contains("data") ? params["data"].value("name", json()) : json();
  if (!name.is_string() || !Find(name.get<std::string>(), function)) return item;
  const std::string strDocumentation = DocumentationOf(function);
  if (!strDocumentation.empty()) item["documentation"] = strDocumentation;
  return item;
}

bool CLspServer::FunctionAt(const json& params, CWordAt& word, CLspFunction& function) {
  CLspDocument* pDocument = DocumentAt(params, word.nLine, word.nFirst);
  if (pDocument == nullptr) return false;
  word.pLine = &pDocument->Lines()[word.nLine];
  const std::pair<size_t, size_t> range = WordAt(*word.pLine, word.nFirst, false);
  word.nFirst = range.first;
  word.nEnd = range.second;
  return Find(word.pLine->substr(word.nFirst, word.nEnd - word.nFirst), function);
}

CLspResult CLspServer::Hover(const json& params) {
  // An edited document may define the name anew, or elsewhere: the
  // definition's line must be that of the text the comment is read from.
  RefreshDocuments();
  CWordAt word;
  CLspFunction function;
  if (!FunctionAt(params, word, function)) return nullptr;
  std::string strPrototype = ToUtf8(function.strPrototype.Str());
  std::string strText = ToUtf8(function.strDescription);
  std::string strNote = ShadowNote(function, m_bMarkdown);
  if (!function.bBuiltIn) {
    const std::vector<CLspPlace> places = DefinitionsOf(function.strName.Str());
    if (!places.empty()) {
      const CLspHeaderNotes notes = NotesOf(places[0]);
      strPrototype = "function " + (notes.strResultType.empty() ? "" : ToUtf8(notes.strResultType) + " ") + strPrototype;
      strText = ToUtf8(notes.strComment);
      if (strNote.empty()) strNote = "Defined in " + Where(places[0], *m_pCatalog, m_bMarkdown) + ".";
    }
  }
  CLspHover hover;
  hover.bMarkdown = m_bMarkdown;
  hover.strValue = m_bMarkdown ? "```\n" + strPrototype + "\n```" : strPrototype;
  if (!strText.empty()) hover.strValue += "\n\n" + strText;
  if (!strNote.empty()) hover.strValue += "\n\n" + ToUtf8(strNote);
  hover.range = CLspRange::OfBytes(*word.pLine, word.nLine, word.nFirst, word.nEnd, m_eEncoding);
  return hover;
}

CLspResult CLspServer::Definition(const json& params) {
  // Every project definition of the name, also when a built-in of the name
  // is the one called: going to a definition is about the project's text.
  CWordAt word;
  CLspFunction function;
  FunctionAt(params, word, function);
  if (word.pLine == nullptr || word.nFirst == word.nEnd) return nullptr;
  const std::vector<CLspPlace> places = DefinitionsOf(word.pLine->substr(word.nFirst, word.nEnd - word.nFirst));
  if (places.empty()) return nullptr;
  if (places.size() == 1) return Location(places[0]);
  std::vector<CLspLocation> locations;
  for (const CLspPlace& place : places) locations.push_back(Location(place));
  return locations;
}

CLspResult CLspServer::WorkspaceSymbol(const json& params) {
  const std::string strQuery = params.at("query").get<std::string>();
  YieldToLight();  // signature help and completion typed meanwhile go first
  std::vector<CSymbolCandidate> best;  // with a limit: a heap whose front is the worst kept
  const std::map<CString, CLspScript>& scripts = m_pCatalog->Scripts();
  size_t nInStep = 0;
  for (auto it = scripts.begin(); it != scripts.end();) {
    for (const CLspDefinition& definition : it->second.definitions) {
      int nScore = 0;
      if (!FuzzyMatch(strQuery, std::string_view(definition.strName, definition.strName.GetLength()), nScore))
        continue;
      CSymbolCandidate candidate;
      candidate.nScore = nScore;
      candidate.strName = definition.strName;
      candidate.strKey = it->first;
      candidate.nLine = definition.nLine;
      if (m_nSymbolLimit != 0 && best.size() == m_nSymbolLimit) {
        if (!BetterSymbol(candidate, best.front())) continue;
        std::pop_heap(best.begin(), best.end(), BetterSymbol);
        best.pop_back();
      }
      candidate.nColumn = definition.nColumn;
      candidate.nEndColumn = definition.nEndColumn;
      best.push_back(std::move(candidate));
      if (m_nSymbolLimit != 0) std::push_heap(best.begin(), best.end(), BetterSymbol);
    }
    ++it;
    if (++nInStep == kScriptsPerStep && it != scripts.end()) {
      // Light messages may change the scripts meanwhile: go on by key.
      nInStep = 0;
      const CString strNext = it->first;
      YieldToLight();
      it = scripts.lower_bound(strNext);
    }
  }
  // Sorted in runs merged pass by pass, pausing between them: an uncapped
  // answer sorts every symbol of the workspace.
  const size_t kRun = 4096;
  for (size_t nFirst = 0; nFirst < best.size(); nFirst += kRun) {
    std::sort(best.begin() + nFirst, best.begin() + std::min(nFirst + kRun, best.size()), BetterSymbol);
    YieldToLight();
  }
  for (size_t nWidth = kRun; nWidth < best.size(); nWidth *= 2) {
    for (size_t nFirst = 0; nFirst + nWidth < best.size(); nFirst += 2 * nWidth)
      std::inplace_merge(best.begin() + nFirst, best.begin() + nFirst + nWidth,
                         best.begin() + std::min(nFirst + 2 * nWidth, best.size()), BetterSymbol);
    YieldToLight();
  }
  std::vector<CLspSymbol> symbols;
  for (size_t i = 0; i < best.size(); ++i) {
    const CSymbolCandidate& candidate = best[i];
    if (i % 1024 == 1023) YieldToLight();  // an uncapped answer is long to build
    const CLspScript* pScript = m_pCatalog->ScriptAt(candidate.strKey);
    if (pScript == nullptr) continue;  // gone meanwhile
    CLspSymbol symbol;
    symbol.strName = ToUtf8(candidate.strName.Str());
    symbol.strUri = UriFromPath(pScript->strPath);
    symbol.range = CLspRange::OnLine(candidate.nLine, candidate.nColumn, candidate.nEndColumn);
    symbol.strContainer = ToUtf8(m_pCatalog->DisplayName(pScript->strPath));
    symbols.push_back(std::move(symbol));
  }
  return symbols;
}

}  // namespace lsp
}  // namespace nimbo
