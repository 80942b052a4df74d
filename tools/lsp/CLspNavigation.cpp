// CLspServer's navigation: the outline of a document, the uses of a
// function across the workspace (references, highlights) and its rename.
// Uses come from the catalogue: each script's definitions (the user
// catalogue's header rule) and its call sites (calls not after ".", and
// declarations), never from strings or comments.
#include <algorithm>

#include "darnel2/CTokenizer.h"
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

std::vector<CLspUse> CLspServer::UsesRead(const CLspFunction& function, bool bDeclarations,
                                           const CLspScript* pOnly) const {
  // Calls of a built-in are its uses; the project's definitions of its name
  // are another function's (one that is never called).
  bDeclarations = bDeclarations && !function.bBuiltIn;
  std::vector<CLspPlace> definitions;
  if (bDeclarations) definitions = DefinitionsOf(function.strName.Str());
  uint32_t nId = 0;
  const bool bSites = m_pCatalog->Names().Find(function.strName.Str(), nId);
  std::vector<CLspUse> uses;
  size_t nDefinition = 0;
  const auto addScript = [&](const CLspScript& script) {
    const size_t nFirst = uses.size();
    for (; nDefinition < definitions.size() && definitions[nDefinition].first == &script; ++nDefinition) {
      const CLspDefinition& definition = *definitions[nDefinition].second;
      uses.push_back({&script, static_cast<uint32_t>(definition.nLine), definition.nColumn, CLspUse::kindDefinition});
    }
    const size_t nDefinitions = uses.size() - nFirst;
    if (bSites)
      script.sites.ForEachSite(nId, [&](const CLspNameSite& site) {
        if (site.bDeclaration && !bDeclarations) return;
        uses.push_back({&script, site.nLine, site.nColumn, site.bDeclaration ? CLspUse::kindDeclaration : CLspUse::kindCall});
      });
    if (nDefinitions != 0)
      std::inplace_merge(uses.begin() + nFirst, uses.begin() + nFirst + nDefinitions, uses.end(),
                         [](const CLspUse& a, const CLspUse& b) {
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

CLspResult CLspServer::References(const json& params) {
  if (m_bFullIndexRunning) return nullptr;  // asked again once the index is done
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) return nullptr;
  PrepareUses();
  const json& context = params.contains("context") ? params["context"] : json::object();
  const bool bDeclarations = context.value("includeDeclaration", true);
  const std::vector<CLspUse> uses = UsesRead(function, bDeclarations, nullptr);
  const uint32_t nWidth = NameWidth(function.strName.Str(), m_eEncoding);
  std::vector<CLspLocation> locations;
  locations.reserve(uses.size());
  const CLspScript* pScript = nullptr;
  std::string strUri;
  for (const CLspUse& use : uses) {
    if (use.pScript != pScript) {
      pScript = use.pScript;
      strUri = UriOf(*pScript);
    }
    locations.push_back({strUri, CLspRange::OnLine(use.nLine, use.nColumn, use.nColumn + nWidth)});
  }
  // As long as the workspace's uses: written as text.
  return CLspResult::Text(JsonArrayText(locations));
}

CLspResult CLspServer::DocumentHighlight(const json& params) {
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
  std::vector<CLspDocumentHighlight> highlights;
  for (const CLspUse& use : UsesRead(function, true, pScript))
    highlights.push_back({CLspRange::OnLine(use.nLine, use.nColumn, use.nColumn + nWidth),
                          use.eKind == CLspUse::kindCall ? kHighlightRead : kHighlightWrite});
  return highlights;
}

CLspResult CLspServer::DocumentSymbol(const json& params) {
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  auto it = m_documents.find(strUri);
  if (it == m_documents.end() || it->second.IsOutOfStep()) return nullptr;
  const std::vector<std::string>& lines = it->second.Lines();
  const std::vector<CLspHeaderFact> headers = it->second.Facts(m_eEncoding).Headers();
  std::string strPath;
  const std::string strContainer = ToUtf8(PathFromUri(strUri, strPath) ? m_pCatalog->DisplayName(strPath) : strUri);
  std::vector<CLspSymbol> symbols;
  // Spans and names each go forward along the lines: a line of many
  // functions is counted once for each, not once a function.
  CLspLinesColumns spanColumns(lines, m_eEncoding);
  CLspLinesColumns nameColumns(lines, m_eEncoding);
  for (const CLspHeaderFact& header : headers) {
    if (header.strName.empty()) continue;
    std::string strDetail = header.bDeclare ? "declare " : "";
    if (!header.strType.empty()) strDetail += header.strType + " ";
    strDetail += header.strName + "(";
    for (size_t i = 0; i < header.parameters.size(); ++i) strDetail += (i == 0 ? "" : ", ") + header.parameters[i];
    strDetail += ")";
    CLspSymbol symbol;
    symbol.strName = ToUtf8(header.strName);
    symbol.range = {{static_cast<long long>(header.nKeywordLine), spanColumns.ColumnOf(header.nKeywordLine, header.nKeyword)},
                    {static_cast<long long>(header.nEndLine), spanColumns.ColumnOf(header.nEndLine, header.nEndOffset)}};
    if (m_bHierarchicalSymbols) {
      symbol.strDetail = ToUtf8(strDetail);
      symbol.selectionRange = {{static_cast<long long>(header.nLine), nameColumns.ColumnOf(header.nLine, header.nFirst)},
                               {static_cast<long long>(header.nLine), nameColumns.ColumnOf(header.nLine, header.nEnd)}};
    } else {
      symbol.strUri = strUri;
      symbol.strContainer = strContainer;
    }
    symbols.push_back(std::move(symbol));
  }
  return symbols;
}

std::string CLspServer::RenameRefusal(const CLspFunction& function) const {
  if (!function.bBuiltIn) return std::string();
  std::string strWhy = std::string(function.strName) + " is a built-in function: only the project's functions can be renamed";
  const std::vector<CLspPlace> places = DefinitionsOf(function.strName.Str());
  if (!places.empty())
    strWhy += " (the project's " + std::string(places[0].second->strPrototype) + " in " +
              m_pCatalog->DisplayName(places[0].first->strPath) + " line " + std::to_string(places[0].second->nLine + 1) +
              " is never called: the built-in is)";
  return strWhy + ".";
}

CLspResult CLspServer::PrepareRename(const json& params) {
  if (m_bFullIndexRunning) return nullptr;
  CWordAt word;
  CLspFunction function;
  if (!FunctionToFollow(params, word, function)) throw CRequestFailed{"No function of the project here to rename."};
  const std::string strWhy = RenameRefusal(function);
  if (!strWhy.empty()) throw CRequestFailed{ToUtf8(strWhy)};
  return {{"range", CLspRange::OfBytes(*word.pLine, word.nLine, word.nFirst, word.nEnd, m_eEncoding)},
          {"placeholder", ToUtf8(function.strName.Str())}};
}

CLspResult CLspServer::Rename(const json& params) {
  if (m_bFullIndexRunning) return nullptr;
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
  if (strNew == strOld) return nullptr;
  CLspFunction other;
  if (Find(strNew, other)) {
    if (other.bBuiltIn) throw CRequestFailed{strNew + " is the name of a built-in function: the renamed calls would call the built-in."};
    const std::vector<CLspPlace> places = DefinitionsOf(other.strName.Str());
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
  std::vector<CLspUse> uses = UsesRead(function, true, nullptr);
  for (const CLspUse& use : uses) {
    if (use.pScript == pChecked) continue;
    pChecked = use.pScript;
    CLspStamp stamp;
    if (!pChecked->bDocument && (!StampOf(pChecked->strPath, stamp) || stamp != pChecked->stamp))
      changed.insert(pChecked->strPath);
  }
  if (!changed.empty()) {
    UpdatePaths(changed);
    uses = UsesRead(function, true, nullptr);
  }
  const uint32_t nWidth = NameWidth(strOld, m_eEncoding);
  CLspWorkspaceEdit edit;
  edit.bDocumentChanges = m_bDocumentChanges;
  for (size_t i = 0; i < uses.size(); ++i) {
    const CLspScript& script = *uses[i].pScript;
    if (i == 0 || uses[i - 1].pScript != &script) {
      // The version of an open document's text, so that the client refuses
      // edits meant for a text it has changed since; none: the file's.
      const CLspDocument* pDocument = script.bDocument ? DocumentAtPath(script.strPath) : nullptr;
      edit.documents.push_back({UriOf(script), pDocument != nullptr ? pDocument->m_nVersion : -1, {}});
    }
    edit.documents.back().edits.push_back(
        {CLspRange::OnLine(uses[i].nLine, uses[i].nColumn, uses[i].nColumn + nWidth), strNew});
  }
  std::string strOut;
  AppendJson(strOut, edit);
  return CLspResult::Text(std::move(strOut));
}

}  // namespace lsp
}  // namespace nimbo
