// CLspServer's language features: signature help, completion, hover,
// definition and workspace symbols, all answered from the catalogues.
#include <algorithm>

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

std::string Where(const CLspPlace& place, const CLspCatalog& catalog) {
  return catalog.DisplayName(place.first->strPath) + " line " + std::to_string(place.second->nLine + 1);
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

// The notes of a project definition from its script's current text: the
// open document's (pDocument, when open), else the file's.
CLspHeaderNotes HeaderNotesOf(const CLspPlace& place, const CLspDocument* pDocument, EPositionEncoding eEncoding) {
  std::vector<std::string> fileLines;
  const std::vector<std::string>* pLines = nullptr;
  if (pDocument != nullptr) {
    pLines = &pDocument->Lines();
  } else {
    std::string strText;
    if (!ReadWholeFile(place.first->strPath, strText)) return CLspHeaderNotes();
    fileLines = SplitLines(strText);
    pLines = &fileLines;
  }
  // A file changed since it was read (its change not yet seen) may have
  // moved the definition: no notes rather than another line's.
  const CLspDefinition& definition = *place.second;
  const size_t nLine = static_cast<size_t>(definition.nLine);
  if (nLine >= pLines->size()) return CLspHeaderNotes();
  const std::string& strLine = (*pLines)[nLine];
  const size_t nNameAt = ByteOffsetOfColumn(strLine, definition.nColumn, eEncoding);
  const std::string strName = definition.strName.Str();
  if (strLine.compare(nNameAt, strName.size(), strName) != 0) return CLspHeaderNotes();
  return ReadHeaderNotes(*pLines, nLine, nNameAt);
}

}  // namespace

CLspDocument* CLspServer::DocumentAt(const json& params, size_t& nLine, size_t& nOffset) {
  auto it = m_documents.find(params.at("textDocument").at("uri").get<std::string>());
  if (it == m_documents.end() || it->second.IsOutOfStep()) return nullptr;
  CLspDocument::CPosition position;
  position.nLine = params.at("position").at("line").get<long long>();
  position.nCharacter = params.at("position").at("character").get<long long>();
  if (!it->second.Locate(position, m_eEncoding, nLine, nOffset)) return nullptr;
  return &it->second;
}

CLspServer::json CLspServer::Range(const std::string& strLine, size_t nLine, size_t nFirst, size_t nEnd) const {
  return {{"start", {{"line", nLine}, {"character", ColumnOfByteOffset(strLine, nFirst, m_eEncoding)}}},
          {"end", {{"line", nLine}, {"character", ColumnOfByteOffset(strLine, nEnd, m_eEncoding)}}}};
}

CLspServer::json CLspServer::Location(const CLspPlace& place) const {
  const CLspDefinition& definition = *place.second;
  return {{"uri", UriFromPath(place.first->strPath)},
          {"range",
           {{"start", {{"line", definition.nLine}, {"character", definition.nColumn}}},
            {"end", {{"line", definition.nLine}, {"character", definition.nEndColumn}}}}}};
}

std::string CLspServer::ShadowNote(const CLspFunction& function) const {
  const std::vector<CLspPlace> places = m_pCatalog->DefinitionsOf(function.strName);
  if (places.empty() || (!function.bBuiltIn && places.size() == 1)) return std::string();
  std::string strNote;
  size_t nOthers = 0;
  if (function.bBuiltIn) {
    // As in the host: the built-in is called; the project's function of the name never is.
    strNote = "The built-in function is called here. The project's " + std::string(places[0].second->strPrototype) +
              " (" + Where(places[0], *m_pCatalog) + ") is shadowed by it";
    nOthers = places.size() - 1;
  } else {
    strNote = "Defined in " + Where(places[0], *m_pCatalog) + "; the definition in " + Where(places[1], *m_pCatalog) + " is not used";
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
  if (!m_dirtyDocuments.empty()) {
    if (!m_pCatalog->Find(strName, function)) {
      bStale = true;
    } else {
      for (const std::string& strUri : m_dirtyDocuments) {
        std::string strPath;
        const CLspScript* pScript =
            ScriptPathOfUri(strUri, strPath) ? m_pCatalog->ScriptAt(m_pCatalog->KeyOf(strPath)) : nullptr;
        if (pScript != nullptr)
          for (const CLspDefinition& definition : pScript->definitions)
            bStale = bStale || definition.strName == function.strName;
      }
    }
  }
  if (bStale) RefreshDocuments();
  return m_pCatalog->Find(strName, function);
}

CLspServer::json CLspServer::SignatureHelp(const json& params) {
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
  const std::string strLabel = ToUtf8(strPrototype);
  json parameters = json::array();
  const CLspParameters prototype = ParametersOf(function.strPrototype);
  const std::vector<std::pair<int, int>>& ranges = prototype.ranges;
  for (const std::pair<int, int>& range : ranges) {
    // The ranges are bytes of the 8-bit prototype; the label is its UTF-8 form.
    const size_t nFirst = ToUtf8(strPrototype.substr(0, static_cast<size_t>(range.first))).size();
    const size_t nEnd = ToUtf8(strPrototype.substr(0, static_cast<size_t>(range.second))).size();
    parameters.push_back({{"label", {ColumnOfByteOffset(strLabel, nFirst, m_eEncoding),
                                     ColumnOfByteOffset(strLabel, nEnd, m_eEncoding)}}});
  }
  // An argument past the last parameter has none to mark, unless the last
  // takes the rest ("..."). The protocol's null says so; clients that read
  // a missing index as 0 (Neovim 0.7) or clamp it to the last still mark
  // nothing when the signature lists no parameters.
  json active = call.nArgument;
  if (static_cast<size_t>(call.nArgument) >= ranges.size()) {
    if (prototype.bRest) {
      active = ranges.size() - 1;
    } else {
      active = nullptr;
      parameters = json::array();
    }
  }
  json signature = {{"label", strLabel}, {"parameters", parameters}, {"activeParameter", active}};
  std::string strDocumentation = ToUtf8(function.strDescription);
  const std::string strNote = ShadowNote(function);
  if (!strNote.empty()) strDocumentation += (strDocumentation.empty() ? "" : "\n\n") + ToUtf8(strNote);
  if (!strDocumentation.empty()) signature["documentation"] = strDocumentation;
  return {{"signatures", json::array({signature})}, {"activeSignature", 0}, {"activeParameter", active}};
}

CLspServer::json CLspServer::Completion(const json& params) {
  size_t nLine = 0;
  size_t nOffset = 0;
  CLspDocument* pDocument = DocumentAt(params, nLine, nOffset);
  if (pDocument == nullptr) return nullptr;
  const std::string& strLine = pDocument->Lines()[nLine];
  const std::pair<size_t, size_t> word = WordAt(strLine, nOffset, true);
  // Words in strings and comments are text, not calls: nothing is offered.
  if (!pDocument->IsCodeAt(nLine, word.first)) return {{"isIncomplete", false}, {"items", json::array()}};
  const std::string strWord = strLine.substr(word.first, word.second - word.first);
  bool bMore = false;
  const std::vector<CString> matches = m_pCatalog->Complete(strWord, kMaxCompletionItems, bMore);
  const json range = Range(strLine, nLine, word.first, word.second);
  // A call already written after the word keeps its arguments: then the
  // name alone is inserted.
  size_t nAfter = word.second;
  while (nAfter < strLine.size() && IsNameChar(strLine[nAfter])) ++nAfter;
  while (nAfter < strLine.size() && (strLine[nAfter] == ' ' || strLine[nAfter] == '\t')) ++nAfter;
  const bool bSnippets = m_bSnippets && (nAfter == strLine.size() || strLine[nAfter] != '(');
  json items = json::array();
  CLspFunction function;
  for (size_t nRank = 0; nRank < matches.size(); ++nRank) {
    const CString& strMatch = matches[nRank];
    if (!m_pCatalog->Find(strMatch.Str(), function)) continue;
    const std::string strName = ToUtf8(strMatch.Str());
    std::string strSource = "built-in";
    if (!function.bBuiltIn) {
      const std::vector<CLspPlace> places = m_pCatalog->DefinitionsOf(strMatch);
      strSource = places.empty() ? std::string("project") : m_pCatalog->DisplayName(places[0].first->strPath);
    }
    // The rank as sortText keeps the order in clients that sort; the name
    // as filterText lets a client filter as the word grows (fuzzy ones
    // find what the server found).
    json item = {{"label", strName},
                 {"kind", 3},
                 {"detail", ToUtf8(function.strPrototype.Str())},
                 {"labelDetails", {{"description", ToUtf8(strSource)}}},
                 {"sortText", RankText(nRank)},
                 {"filterText", strName},
                 {"textEdit", {{"range", range}, {"newText", bSnippets ? ToUtf8(CallSnippet(function.strPrototype)) : strName}}}};
    if (bSnippets) item["insertTextFormat"] = 2;
    if (!function.strDescription.empty()) item["documentation"] = ToUtf8(function.strDescription);
    items.push_back(std::move(item));
  }
  // While a full index runs the list may lack project functions: the client asks again.
  return {{"isIncomplete", bMore || m_bFullIndexRunning}, {"items", items}};
}

bool CLspServer::FunctionAt(const json& params, CWordAt& word, CLspFunction& function) {
  CLspDocument* pDocument = DocumentAt(params, word.nLine, word.nFirst);
  if (pDocument == nullptr) return false;
  word.pLine = &pDocument->Lines()[word.nLine];
  const std::pair<size_t, size_t> range = WordAt(*word.pLine, word.nFirst, false);
  word.nFirst = range.first;
  word.nEnd = range.second;
  return m_pCatalog->Find(word.pLine->substr(word.nFirst, word.nEnd - word.nFirst), function);
}

CLspServer::json CLspServer::Hover(const json& params) {
  // An edited document may define the name anew, or elsewhere: the
  // definition's line must be that of the text the comment is read from.
  RefreshDocuments();
  CWordAt word;
  CLspFunction function;
  if (!FunctionAt(params, word, function)) return nullptr;
  std::string strPrototype = ToUtf8(function.strPrototype.Str());
  std::string strText = ToUtf8(function.strDescription);
  std::string strNote = ShadowNote(function);
  if (!function.bBuiltIn) {
    const std::vector<CLspPlace> places = m_pCatalog->DefinitionsOf(function.strName);
    if (!places.empty()) {
      const CLspHeaderNotes notes =
          HeaderNotesOf(places[0], DocumentAtPath(places[0].first->strPath), m_eEncoding);
      strPrototype = "function " + (notes.strResultType.empty() ? "" : ToUtf8(notes.strResultType) + " ") + strPrototype;
      strText = ToUtf8(notes.strComment);
      if (strNote.empty()) strNote = "Defined in " + Where(places[0], *m_pCatalog) + ".";
    }
  }
  std::string strValue = m_bMarkdown ? "```\n" + strPrototype + "\n```" : strPrototype;
  if (!strText.empty()) strValue += "\n\n" + strText;
  if (!strNote.empty()) strValue += "\n\n" + ToUtf8(strNote);
  return {{"contents", {{"kind", m_bMarkdown ? "markdown" : "plaintext"}, {"value", strValue}}},
          {"range", Range(*word.pLine, word.nLine, word.nFirst, word.nEnd)}};
}

CLspServer::json CLspServer::Definition(const json& params) {
  // Every project definition of the name, also when a built-in of the name
  // is the one called: going to a definition is about the project's text.
  CWordAt word;
  CLspFunction function;
  FunctionAt(params, word, function);
  if (word.pLine == nullptr || word.nFirst == word.nEnd) return nullptr;
  const std::vector<CLspPlace> places =
      m_pCatalog->DefinitionsOf(CString(word.pLine->substr(word.nFirst, word.nEnd - word.nFirst)));
  if (places.empty()) return nullptr;
  if (places.size() == 1) return Location(places[0]);
  json locations = json::array();
  for (const CLspPlace& place : places) locations.push_back(Location(place));
  return locations;
}

CLspServer::json CLspServer::WorkspaceSymbol(const json& params) {
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
  json symbols = json::array();
  for (size_t i = 0; i < best.size(); ++i) {
    const CSymbolCandidate& candidate = best[i];
    if (i % 1024 == 1023) YieldToLight();  // an uncapped answer is long to build
    const CLspScript* pScript = m_pCatalog->ScriptAt(candidate.strKey);
    if (pScript == nullptr) continue;  // gone meanwhile
    symbols.push_back({{"name", ToUtf8(candidate.strName.Str())},
                       {"kind", 12},
                       {"location",
                        {{"uri", UriFromPath(pScript->strPath)},
                         {"range",
                          {{"start", {{"line", candidate.nLine}, {"character", candidate.nColumn}}},
                           {"end", {{"line", candidate.nLine}, {"character", candidate.nEndColumn}}}}}}},
                       {"containerName", ToUtf8(m_pCatalog->DisplayName(pScript->strPath))}});
  }
  return symbols;
}

}  // namespace lsp
}  // namespace nimbo
