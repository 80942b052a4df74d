// CLspServer's navigation: the outline of a document, the uses of a
// function across the workspace (references, highlights) and its rename.
// Uses come from the catalogue: each script's definitions (the user
// catalogue's header rule) and its call sites (calls not after ".", and
// declarations), never from strings or comments.
//
// References and rename answer with as many places as the workspace has
// uses: their JSON is written as text, not built as a value first.
#include <algorithm>

#include "darnel2/CTokenizer.h"
#include "tools/lsp/CLspScriptFacts.h"
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspCodeScan.h"
#include "tools/lsp/LspUri.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

const int kSymbolFunction = 12;
const int kHighlightRead = 2;   // a call
const int kHighlightWrite = 3;  // a definition or declaration: where the name is given

// A string as JSON text.
std::string Quoted(const std::string& strText) {
  return nlohmann::json(strText).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// {"end":{...},"start":{...}}, keys in the order the JSON library writes them.
void AppendRange(std::string& strOut, uint32_t nLine, uint32_t nColumn, uint32_t nEndColumn) {
  const std::string strLine = std::to_string(nLine);
  strOut += "{\"end\":{\"character\":";
  strOut += std::to_string(nEndColumn);
  strOut += ",\"line\":";
  strOut += strLine;
  strOut += "},\"start\":{\"character\":";
  strOut += std::to_string(nColumn);
  strOut += ",\"line\":";
  strOut += strLine;
  strOut += "}}";
}

// Whether strName is a name of the language: word bytes, not a number.
bool IsNameOfLanguage(const std::string& strName) {
  if (strName.empty() || (strName[0] >= '0' && strName[0] <= '9')) return false;
  return std::all_of(strName.begin(), strName.end(), IsWordByte);
}

}  // namespace

void CLspServer::PrepareUses() {
  ReadCallSites(0);
  // Files found changed while their call sites were read: read again now,
  // so that no answer points into a text that is gone.
  if (!m_changedPaths.empty()) {
    std::set<std::string> paths;
    paths.swap(m_changedPaths);
    UpdatePaths(paths);
  }
  RefreshDocuments();  // documents edited while the steps above paused
}

bool CLspServer::FunctionToFollow(const json& params, CWordAt& word, CLspFunction& function) {
  if (!FunctionAt(params, word, function)) return false;
  // A word in a string or a comment names nothing.
  auto it = m_documents.find(params.at("textDocument").at("uri").get<std::string>());
  return it != m_documents.end() && it->second.IsCodeAt(word.nLine, word.nFirst);
}

std::vector<CLspServer::CUse> CLspServer::UsesOf(const CLspFunction& function, bool bDeclarations,
                                                 const CLspScript* pOnly) const {
  // Calls of a built-in are its uses; the project's definitions of its name
  // are another function's (one that is never called).
  bDeclarations = bDeclarations && !function.bBuiltIn;
  std::vector<CLspPlace> definitions;
  if (bDeclarations) definitions = m_pCatalog->DefinitionsOf(function.strName);
  uint32_t nId = 0;
  const bool bSites = m_pCatalog->Names().Find(function.strName.Str(), nId);
  std::vector<CUse> uses;
  size_t nDefinition = 0;
  const auto addScript = [&](const CLspScript& script) {
    const size_t nFirst = uses.size();
    for (; nDefinition < definitions.size() && definitions[nDefinition].first == &script; ++nDefinition) {
      const CLspDefinition& definition = *definitions[nDefinition].second;
      uses.push_back({&script, static_cast<uint32_t>(definition.nLine), definition.nColumn, CUse::kindDefinition});
    }
    const size_t nDefinitions = uses.size() - nFirst;
    if (bSites)
      script.sites.ForEachSite(nId, [&](const CLspNameSite& site) {
        if (site.bDeclaration && !bDeclarations) return;
        uses.push_back({&script, site.nLine, site.nColumn, site.bDeclaration ? CUse::kindDeclaration : CUse::kindCall});
      });
    if (nDefinitions != 0)
      std::inplace_merge(uses.begin() + nFirst, uses.begin() + nFirst + nDefinitions, uses.end(),
                         [](const CUse& a, const CUse& b) {
                           return a.nLine != b.nLine ? a.nLine < b.nLine : a.nColumn < b.nColumn;
                         });
  };
  if (pOnly != nullptr) {
    // Definitions come in key order: skip to the script's own.
    while (nDefinition < definitions.size() && definitions[nDefinition].first != pOnly) ++nDefinition;
    addScript(*pOnly);
    return uses;
  }
  for (const auto& entry : m_pCatalog->Scripts()) addScript(entry.second);
  return uses;
}

std::string CLspServer::UriOfScript(const CLspScript& script) const {
  auto it = m_documentUris.find(script.strPath);
  return it != m_documentUris.end() ? it->second : UriFromPath(script.strPath);
}

std::string CLspServer::References(const json& params) {
  if (m_bFullIndexRunning) return "null";  // asked again once the index is done
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) return "null";
  PrepareUses();
  const json& context = params.contains("context") ? params["context"] : json::object();
  const bool bDeclarations = context.value("includeDeclaration", true);
  const std::vector<CUse> uses = UsesOf(function, bDeclarations, nullptr);
  const uint32_t nWidth = NameWidth(function.strName.Str(), m_eEncoding);
  std::string strOut = "[";
  strOut.reserve(uses.size() * 160);
  const CLspScript* pScript = nullptr;
  std::string strUri;
  for (const CUse& use : uses) {
    if (use.pScript != pScript) {
      pScript = use.pScript;
      strUri = Quoted(UriOfScript(*pScript));
    }
    if (strOut.size() > 1) strOut += ',';
    strOut += "{\"range\":";
    AppendRange(strOut, use.nLine, use.nColumn, use.nColumn + nWidth);
    strOut += ",\"uri\":";
    strOut += strUri;
    strOut += '}';
  }
  return strOut + "]";
}

CLspServer::json CLspServer::DocumentHighlight(const json& params) {
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) return nullptr;
  if (m_bFullIndexRunning) return nullptr;
  std::string strPath;
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  const CLspScript* pScript = ScriptPathOfUri(strUri, strPath) ? m_pCatalog->ScriptAt(m_pCatalog->KeyOf(strPath)) : nullptr;
  CLspScript scratch;
  if (pScript == nullptr || !pScript->bDocument) {
    // Not a script of the catalogue (another kind of file, or a document
    // out of step): its own text.
    m_pCatalog->ReadText(scratch, m_documents.at(strUri).Text());
    pScript = &scratch;
  } else if (!pScript->bSitesRead) {
    m_pCatalog->ReadSites(m_pCatalog->KeyOf(strPath), m_documents.at(strUri));
  }
  const uint32_t nWidth = NameWidth(function.strName.Str(), m_eEncoding);
  json highlights = json::array();
  for (const CUse& use : UsesOf(function, true, pScript)) {
    json range = {{"start", {{"line", use.nLine}, {"character", use.nColumn}}},
                  {"end", {{"line", use.nLine}, {"character", use.nColumn + nWidth}}}};
    highlights.push_back({{"range", range}, {"kind", use.eKind == CUse::kindCall ? kHighlightRead : kHighlightWrite}});
  }
  return highlights;
}

CLspServer::json CLspServer::DocumentSymbol(const json& params) {
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  auto it = m_documents.find(strUri);
  if (it == m_documents.end() || it->second.IsOutOfStep()) return nullptr;
  const std::vector<std::string>& lines = it->second.Lines();
  CLspScriptFacts facts;
  facts.Scan(lines);
  std::string strPath;
  const std::string strContainer = ToUtf8(PathFromUri(strUri, strPath) ? m_pCatalog->DisplayName(strPath) : strUri);
  json symbols = json::array();
  // Spans and names each go forward along the lines: a line of many
  // functions is counted once for each, not once a function.
  CLspLinesColumns spanColumns(lines, m_eEncoding);
  CLspLinesColumns nameColumns(lines, m_eEncoding);
  for (const CLspHeaderFact& header : facts.Headers()) {
    if (header.strName.empty()) continue;
    std::string strDetail = header.bDeclare ? "declare " : "";
    if (!header.strType.empty()) strDetail += header.strType + " ";
    strDetail += header.strName + "(";
    for (size_t i = 0; i < header.parameters.size(); ++i) strDetail += (i == 0 ? "" : ", ") + header.parameters[i];
    strDetail += ")";
    const json span = {
        {"start",
         {{"line", header.nKeywordLine},
          {"character", spanColumns.ColumnOf(header.nKeywordLine, header.nKeyword)}}},
        {"end",
         {{"line", header.nEndLine},
          {"character", spanColumns.ColumnOf(header.nEndLine, header.nEndOffset)}}}};
    const std::string strName = ToUtf8(header.strName);
    if (m_bHierarchicalSymbols) {
      symbols.push_back({{"name", strName},
                         {"detail", ToUtf8(strDetail)},
                         {"kind", kSymbolFunction},
                         {"range", span},
                         {"selectionRange",
                          {{"start", {{"line", header.nLine}, {"character", nameColumns.ColumnOf(header.nLine, header.nFirst)}}},
                           {"end", {{"line", header.nLine}, {"character", nameColumns.ColumnOf(header.nLine, header.nEnd)}}}}}});
    } else {
      symbols.push_back({{"name", strName},
                         {"kind", kSymbolFunction},
                         {"location", {{"uri", strUri}, {"range", span}}},
                         {"containerName", strContainer}});
    }
  }
  return symbols;
}

std::string CLspServer::RenameRefusal(const CLspFunction& function) const {
  if (!function.bBuiltIn) return std::string();
  std::string strWhy = std::string(function.strName) + " is a built-in function: only the project's functions can be renamed";
  const std::vector<CLspPlace> places = m_pCatalog->DefinitionsOf(function.strName);
  if (!places.empty())
    strWhy += " (the project's " + std::string(places[0].second->strPrototype) + " in " +
              m_pCatalog->DisplayName(places[0].first->strPath) + " line " + std::to_string(places[0].second->nLine + 1) +
              " is never called: the built-in is)";
  return strWhy + ".";
}

CLspServer::json CLspServer::PrepareRename(const json& params) {
  if (m_bFullIndexRunning) return nullptr;
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) throw CRequestFailed{"No function of the project here to rename."};
  const std::string strWhy = RenameRefusal(function);
  if (!strWhy.empty()) throw CRequestFailed{ToUtf8(strWhy)};
  return {{"range", Range(*word.pLine, word.nLine, word.nFirst, word.nEnd)},
          {"placeholder", ToUtf8(function.strName.Str())}};
}

std::string CLspServer::Rename(const json& params) {
  if (m_bFullIndexRunning) return "null";
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) throw CRequestFailed{"No function of the project here to rename."};
  const std::string strWhy = RenameRefusal(function);
  if (!strWhy.empty()) throw CRequestFailed{ToUtf8(strWhy)};
  const std::string strNew = params.at("newName").get<std::string>();
  const std::string strOld = function.strName.Str();
  if (!IsNameOfLanguage(strNew))
    throw CRequestFailed{"\"" + strNew +
                         "\" is not a name of the language: letters, digits and \"_\", not beginning with a digit."};
  if (CTokenizer::KindOfWord(strNew.data(), strNew.size()) != tkIdentifier)
    throw CRequestFailed{"\"" + strNew + "\" is a reserved word of the language."};
  if (strNew == strOld) return "null";
  CLspFunction other;
  if (m_pCatalog->Find(strNew, other)) {
    if (other.bBuiltIn) throw CRequestFailed{strNew + " is the name of a built-in function: the renamed calls would call the built-in."};
    const std::vector<CLspPlace> places = m_pCatalog->DefinitionsOf(other.strName);
    throw CRequestFailed{strNew + " is already a function of the project" +
                         (places.empty() ? std::string()
                                         : " (" + m_pCatalog->DisplayName(places[0].first->strPath) + " line " +
                                               std::to_string(places[0].second->nLine + 1) + ")") +
                         "."};
  }
  PrepareUses();
  // An open document out of step with the editor's text cannot take edits.
  for (const auto& entry : m_documentUris) {
    auto it = m_documents.find(entry.second);
    if (it != m_documents.end() && it->second.IsOutOfStep())
      throw CRequestFailed{m_pCatalog->DisplayName(entry.first) + " is out of step with the editor's text: reopen it, then rename."};
  }
  // A file that changed since it was read would take the edits at places
  // that no longer hold the name: such files are read again first.
  std::set<std::string> changed;
  const CLspScript* pChecked = nullptr;
  std::vector<CUse> uses = UsesOf(function, true, nullptr);
  for (const CUse& use : uses) {
    if (use.pScript == pChecked) continue;
    pChecked = use.pScript;
    CLspStamp stamp;
    if (!pChecked->bDocument && (!StampOf(pChecked->strPath, stamp) || stamp != pChecked->stamp))
      changed.insert(pChecked->strPath);
  }
  if (!changed.empty()) {
    UpdatePaths(changed);
    uses = UsesOf(function, true, nullptr);
  }
  const uint32_t nWidth = NameWidth(strOld, m_eEncoding);
  const std::string strEdit = "{\"newText\":" + Quoted(strNew) + ",\"range\":";
  // One entry per script: {"edits":[...],"textDocument":{"uri":...,"version":...}}
  // with documentChanges, else "uri":[...] in "changes".
  std::string strOut = m_bDocumentChanges ? "{\"documentChanges\":[" : "{\"changes\":{";
  strOut.reserve(uses.size() * 100);
  std::string strUri;  // of the script whose edits are being written
  for (size_t i = 0; i < uses.size(); ++i) {
    const CLspScript& script = *uses[i].pScript;
    const bool bFirst = i == 0 || uses[i - 1].pScript != &script;
    const bool bLast = i + 1 == uses.size() || uses[i + 1].pScript != &script;
    if (bFirst) {
      strUri = Quoted(UriOfScript(script));
      if (i != 0) strOut += ',';
      strOut += m_bDocumentChanges ? "{\"edits\":[" : strUri + ":[";
    } else {
      strOut += ',';
    }
    strOut += strEdit;
    AppendRange(strOut, uses[i].nLine, uses[i].nColumn, uses[i].nColumn + nWidth);
    strOut += '}';
    if (!bLast) continue;
    strOut += ']';
    if (m_bDocumentChanges) {
      // The version of an open document's text, so that the client refuses
      // edits meant for a text it has changed since; null: the file's.
      const CLspDocument* pDocument = script.bDocument ? DocumentAtPath(script.strPath) : nullptr;
      strOut += ",\"textDocument\":{\"uri\":" + strUri + ",\"version\":" +
                (pDocument != nullptr ? std::to_string(pDocument->m_nVersion) : std::string("null")) + "}}";
    }
  }
  return strOut + (m_bDocumentChanges ? "]}" : "}}");
}

}  // namespace lsp
}  // namespace nimbo
