// CLspCatalog: filling the catalogues as the editor does, and the indexes
// the language features read.
#include "tools/lsp/CLspCatalog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "assist/NameBeforeCaret.h"
#include "darnel2/CCodeFileStream.h"
#include "darnel2/CScriptBrowser.h"
#include "darnel2/CTokenizer.h"
#include "ini/CIniFile.h"
#include "module/SharedCatalogs.h"

namespace nimbo {
namespace lsp {

namespace {

bool IsReadableDirectory(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && access(strPath.c_str(), R_OK | X_OK) == 0;
}

std::string AbsolutePath(const std::string& strPath) {
  char* pszReal = realpath(strPath.c_str(), nullptr);
  if (pszReal == nullptr) return strPath;
  std::string strResult(pszReal);
  std::free(pszReal);
  return strResult;
}

// The byte offset of strName as a whole word on strLine, or 0.
size_t NameColumn(const std::string& strLine, const std::string& strName) {
  for (size_t nAt = strLine.find(strName); nAt != std::string::npos; nAt = strLine.find(strName, nAt + 1)) {
    const size_t nEnd = nAt + strName.size();
    if ((nAt == 0 || !IsNameChar(strLine[nAt - 1])) && (nEnd == strLine.size() || !IsNameChar(strLine[nEnd])))
      return nAt;
  }
  return 0;
}

}  // namespace

std::string LowerAscii(const std::string& strText) {
  std::string strLower(strText);
  for (char& ch : strLower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return strLower;
}

bool CLspCatalog::Configure(const std::string& strPrograms, const std::string& strProject, std::string& strError) {
  bool bOk = true;
  strError.clear();
  if (!IsReadableDirectory(strPrograms)) {
    strError = "programs directory not found or not readable: " + strPrograms;
    bOk = false;
  }
  // Set all the same: funcwiz.ini may appear there later (watched files).
  m_strPrograms = AbsolutePath(strPrograms);
  m_manager.GetDirLoc()->SetLocation("Programs", m_strPrograms.c_str());
  m_manager.CloseProject();
  m_strProject.clear();
  if (strProject.empty()) return bOk;
  if (!IsReadableDirectory(strProject) || !m_manager.OpenProject(AbsolutePath(strProject).c_str())) {
    strError += std::string(strError.empty() ? "" : "; ") + "project directory not found or not readable: " + strProject;
    return false;
  }
  m_strProject = AbsolutePath(strProject);
  return bOk;
}

void CLspCatalog::RebuildAll() {
  // A filled standard catalogue never reads its file again; emptying it is
  // how a changed funcwiz.ini gets read.
  g_FuncInfoStd.clear();
  g_FuncInfoStd.Init(&m_manager);
  ReadDescriptions();
  RebuildUser();
}

void CLspCatalog::RebuildUser() {
  if (m_manager.GetProject() != nullptr) m_manager.GetProject()->Refresh();
  g_FuncInfoUser.Init(&m_manager);
  ScanDefinitions();
  CollectFunctions();
}

void CLspCatalog::ReadDescriptions() {
  m_mapDescriptions.clear();
  CIniFile ini;
  if (!ini.Load((m_strPrograms + "/funcwiz.ini").c_str(), false)) return;
  for (const auto& entry : g_FuncInfoStd) {
    CString strDescription = ini.GetString(entry.first, "Description", "");
    if (!strDescription.IsEmpty()) m_mapDescriptions[entry.first.Str()] = strDescription.Str();
  }
}

void CLspCatalog::ScanDefinitions() {
  m_definitions.clear();
  CScriptBrowser* pBrowser = m_manager.GetScriptBrowser();
  if (pBrowser == nullptr) return;
  CScriptBrowser::CFunctionMap& mapScripts = pBrowser->GetFunctionMap();
  for (auto it = mapScripts.begin(); it != mapScripts.end(); it = pBrowser->GetNext(it)) {
    const CString& strPath = it->second.m_strScriptPath;
    CCodeFileStream stream(strPath);
    if (!stream.OpenFile()) continue;
    CTokenizer tokenizer(&stream, false);
    std::vector<CLspDefinition> found;
    CZoFuncInfoUser::CHeader header;
    while (CZoFuncInfoUser::ReadNextHeader(tokenizer, header))
      found.push_back({header.strName.Str(), strPath.Str(), header.nLine - 1, 0, std::string()});
    if (found.empty()) continue;
    // The tokenizer gives lines; the column comes from the line's text.
    std::ifstream in(strPath.Str(), std::ios::binary);
    std::string strLine;
    int nLine = 0;
    for (CLspDefinition& definition : found) {
      while (nLine <= definition.nLine && std::getline(in, strLine)) ++nLine;
      if (nLine != definition.nLine + 1) continue;
      if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
      definition.nColumn = NameColumn(strLine, definition.strName);
      definition.strLineText = strLine;
    }
    m_definitions.insert(m_definitions.end(), found.begin(), found.end());
  }
}

void CLspCatalog::CollectFunctions() {
  m_functions.clear();
  m_mapByName.clear();
  std::unordered_map<std::string, const CLspDefinition*> mapFirst;
  for (const CLspDefinition& definition : m_definitions) mapFirst.emplace(definition.strName, &definition);
  m_functions.reserve(g_FuncInfoStd.size() + g_FuncInfoUser.size());
  for (const CZoFuncInfo* pCatalogue : {static_cast<const CZoFuncInfo*>(&g_FuncInfoStd),
                                        static_cast<const CZoFuncInfo*>(&g_FuncInfoUser)}) {
    const bool bBuiltIn = pCatalogue == &g_FuncInfoStd;
    for (const auto& entry : *pCatalogue) {
      // A built-in of the same name wins: the shared lookup then answers with the standard text.
      if (!bBuiltIn && FindSharedPrototype(entry.first) != &entry.second) continue;
      CLspFunction function;
      function.strName = entry.first.Str();
      function.strLower = LowerAscii(function.strName);
      function.strPrototype = entry.second.Str();
      function.bBuiltIn = bBuiltIn;
      if (bBuiltIn) {
        auto itDescription = m_mapDescriptions.find(function.strName);
        if (itDescription != m_mapDescriptions.end()) function.strDescription = itDescription->second;
      } else {
        auto itDefinition = mapFirst.find(function.strName);
        if (itDefinition != mapFirst.end()) function.pDefinition = itDefinition->second;
      }
      m_functions.push_back(std::move(function));
    }
  }
  std::stable_sort(m_functions.begin(), m_functions.end(),
                   [](const CLspFunction& a, const CLspFunction& b) { return a.strLower < b.strLower; });
  for (size_t i = 0; i < m_functions.size(); ++i) m_mapByName.emplace(m_functions[i].strName, i);
}

const CLspFunction* CLspCatalog::Find(const std::string& strName) const {
  if (FindSharedPrototype(CString(strName.c_str())) == nullptr) return nullptr;
  auto it = m_mapByName.find(strName);
  return it != m_mapByName.end() ? &m_functions[it->second] : nullptr;
}

std::vector<const CLspFunction*> CLspCatalog::Complete(const std::string& strPrefix, size_t nMax, bool& bMore) const {
  const std::string strLower = LowerAscii(strPrefix);
  auto it = std::lower_bound(m_functions.begin(), m_functions.end(), strLower,
                             [](const CLspFunction& function, const std::string& strKey) {
                               return function.strLower < strKey;
                             });
  std::vector<const CLspFunction*> matches;
  bMore = false;
  for (; it != m_functions.end() && it->strLower.compare(0, strLower.size(), strLower) == 0; ++it) {
    if (matches.size() == nMax) {
      bMore = true;
      break;
    }
    matches.push_back(&*it);
  }
  return matches;
}

}  // namespace lsp
}  // namespace nimbo
