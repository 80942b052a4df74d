// CLspServer's language features: signature help, completion, hover,
// definition and workspace symbols, all answered from the catalogues.
#include <algorithm>

#include "assist/NameBeforeCaret.h"
#include "tamsin/CZoToolTipStaticFunc.h"
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspUri.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

// Most completion items in one answer; the list is marked incomplete when
// more functions match, so the client asks again as the word grows.
const size_t kMaxCompletionItems = 1000;

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

std::string FileName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of(kPathSeparators);
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
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

CLspServer::json CLspServer::Location(const CLspDefinition& definition) const {
  return {{"uri", UriFromPath(definition.strScript)},
          {"range", Range(definition.strLineText, static_cast<size_t>(definition.nLine), definition.nColumn,
                          definition.nColumn + definition.strName.size())}};
}

CLspServer::json CLspServer::SignatureHelp(const json& params) {
  size_t nLine = 0;
  size_t nOffset = 0;
  CLspDocument* pDocument = DocumentAt(params, nLine, nOffset);
  if (pDocument == nullptr) return nullptr;
  // The innermost open call whose name is known: an unknown name or a
  // grouping parenthesis hands over to the call around it.
  CLspCallScanner::COpenCall call;
  const CLspFunction* pFunction = nullptr;
  while (pFunction == nullptr && pDocument->FindOpenCall(nLine, nOffset, call)) {
    const std::string& strLine = pDocument->Lines()[call.nLine];
    const CString strName = NameBeforeCaret(CString(strLine.data(), static_cast<int>(strLine.size())),
                                            static_cast<int>(call.nParen));
    pFunction = m_pCatalog->Find(strName.Str());
    nLine = call.nLine;
    nOffset = call.nParen;
  }
  if (pFunction == nullptr) return nullptr;

  const std::string& strPrototype = pFunction->strPrototype;
  const std::string strLabel = ToUtf8(strPrototype);
  json parameters = json::array();
  const CString strTip(strPrototype.data(), static_cast<int>(strPrototype.size()));
  std::vector<std::pair<int, int>> ranges = CZoToolTipStaticFunc::ParameterRanges(strTip);
  if (ranges.size() == 1 && ranges[0].first == ranges[0].second) ranges.clear();  // "Name()"
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
    const bool bRest = !ranges.empty() && ranges.back().second - ranges.back().first >= 3 &&
                       strPrototype.compare(static_cast<size_t>(ranges.back().second) - 3, 3, "...") == 0;
    if (bRest) {
      active = ranges.size() - 1;
    } else {
      active = nullptr;
      parameters = json::array();
    }
  }
  json signature = {{"label", strLabel}, {"parameters", parameters}, {"activeParameter", active}};
  if (!pFunction->strDescription.empty()) signature["documentation"] = ToUtf8(pFunction->strDescription);
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
  const std::vector<const CLspFunction*> matches = m_pCatalog->Complete(strWord, kMaxCompletionItems, bMore);
  const json range = Range(strLine, nLine, word.first, word.second);
  json items = json::array();
  for (const CLspFunction* pFunction : matches) {
    const std::string strName = ToUtf8(pFunction->strName);
    const bool bExactCase = pFunction->strName.compare(0, strWord.size(), strWord) == 0;
    const std::string strSource = pFunction->bBuiltIn ? std::string("built-in")
                                  : pFunction->pDefinition != nullptr ? FileName(pFunction->pDefinition->strScript)
                                                                      : std::string("project");
    json item = {{"label", strName},
                 {"kind", 3},
                 {"detail", ToUtf8(pFunction->strPrototype)},
                 {"labelDetails", {{"description", ToUtf8(strSource)}}},
                 {"sortText", (bExactCase ? "0" : "1") + ToUtf8(pFunction->strLower)},
                 {"filterText", strName},
                 {"textEdit", {{"range", range}, {"newText", strName}}}};
    if (!pFunction->strDescription.empty()) item["documentation"] = ToUtf8(pFunction->strDescription);
    items.push_back(std::move(item));
  }
  return {{"isIncomplete", bMore}, {"items", items}};
}

const CLspFunction* CLspServer::FunctionAt(const json& params, CWordAt& word) {
  CLspDocument* pDocument = DocumentAt(params, word.nLine, word.nFirst);
  if (pDocument == nullptr) return nullptr;
  word.pLine = &pDocument->Lines()[word.nLine];
  const std::pair<size_t, size_t> range = WordAt(*word.pLine, word.nFirst, false);
  word.nFirst = range.first;
  word.nEnd = range.second;
  return m_pCatalog->Find(word.pLine->substr(word.nFirst, word.nEnd - word.nFirst));
}

CLspServer::json CLspServer::Hover(const json& params) {
  CWordAt word;
  const CLspFunction* pFunction = FunctionAt(params, word);
  if (pFunction == nullptr) return nullptr;
  std::string strValue = m_bMarkdown ? "```\n" + ToUtf8(pFunction->strPrototype) + "\n```"
                                     : ToUtf8(pFunction->strPrototype);
  if (!pFunction->strDescription.empty()) strValue += "\n\n" + ToUtf8(pFunction->strDescription);
  return {{"contents", {{"kind", m_bMarkdown ? "markdown" : "plaintext"}, {"value", strValue}}},
          {"range", Range(*word.pLine, word.nLine, word.nFirst, word.nEnd)}};
}

CLspServer::json CLspServer::Definition(const json& params) {
  CWordAt word;
  const CLspFunction* pFunction = FunctionAt(params, word);
  if (pFunction == nullptr || pFunction->pDefinition == nullptr) return nullptr;
  return Location(*pFunction->pDefinition);
}

CLspServer::json CLspServer::WorkspaceSymbol(const json& params) {
  const std::string strQuery = LowerAscii(params.at("query").get<std::string>());
  json symbols = json::array();
  for (const CLspDefinition& definition : m_pCatalog->Definitions()) {
    if (LowerAscii(definition.strName).find(strQuery) == std::string::npos) continue;
    symbols.push_back({{"name", ToUtf8(definition.strName)},
                       {"kind", 12},
                       {"location", Location(definition)},
                       {"containerName", ToUtf8(FileName(definition.strScript))}});
  }
  return symbols;
}

}  // namespace lsp
}  // namespace nimbo
