// CLspCatalog: filling the catalogues as the editor does, script by script,
// and the indexes the language features read.
#include "tools/lsp/CLspCatalog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileSystemPath.h"
#include "ini/CIniFile.h"
#include "module/SharedCatalogs.h"
#include "tools/lsp/LspFuzzy.h"
#include "tools/lsp/CLspScriptFacts.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

bool IsReadableDirectory(const std::string& strPath) {
  std::error_code error;
  if (!std::filesystem::is_directory(FileSystemPath(strPath), error)) return false;
  std::filesystem::directory_iterator it(FileSystemPath(strPath), error);
  return !error;
}

std::string AbsolutePath(const std::string& strPath) {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::weakly_canonical(FileSystemPath(strPath), error);
  return SystemSeparators(error ? strPath : FileSystemName(path));
}

char LowerChar(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

// ASCII case ignored first, then by case, so that the order is total.
int CompareNoCase(const char* pszA, const char* pszB) {
  for (;; ++pszA, ++pszB) {
    const unsigned char chA = static_cast<unsigned char>(LowerChar(*pszA));
    const unsigned char chB = static_cast<unsigned char>(LowerChar(*pszB));
    if (chA != chB) return chA < chB ? -1 : 1;
    if (chA == 0) return 0;
  }
}

bool CompletionLess(const CString& a, const CString& b) {
  const int nOrder = CompareNoCase(a, b);
  return nOrder != 0 ? nOrder < 0 : std::strcmp(a, b) < 0;
}

// The first prototype of each name a script defines (the one its own scan
// would enter), sorted by name.
std::vector<std::pair<CString, CString>> FirstPrototypes(const std::vector<CLspDefinition>& definitions) {
  std::vector<std::pair<CString, CString>> names;
  names.reserve(definitions.size());
  for (const CLspDefinition& definition : definitions) names.emplace_back(definition.strName, definition.strPrototype);
  std::stable_sort(names.begin(), names.end(),
                   [](const std::pair<CString, CString>& a, const std::pair<CString, CString>& b) { return a.first < b.first; });
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::pair<CString, CString>& a, const std::pair<CString, CString>& b) {
                            return a.first == b.first;
                          }),
              names.end());
  return names;
}

// How two versions of a script's definitions differ, from the least to
// the most: not at all, in places only (lines added or taken away above
// them), in prototypes, in names (or their order).
enum EDefinitionsChange { changeNone, changePlaces, changePrototypes, changeNames };

EDefinitionsChange ChangeOf(const std::vector<CLspDefinition>& a, const std::vector<CLspDefinition>& b) {
  if (a.size() != b.size()) return changeNames;
  EDefinitionsChange eChange = changeNone;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(a[i].strName == b[i].strName)) return changeNames;
    if (!(a[i].strPrototype == b[i].strPrototype)) eChange = changePrototypes;
    else if (eChange == changeNone && (a[i].nLine != b[i].nLine || a[i].nColumn != b[i].nColumn ||
                                       a[i].nEndColumn != b[i].nEndColumn))
      eChange = changePlaces;
  }
  return eChange;
}

}  // namespace

std::string LowerAscii(const std::string& strText) {
  std::string strLower(strText);
  for (char& ch : strLower) ch = LowerChar(ch);
  return strLower;
}

bool CLspCatalog::Configure(const std::string& strPrograms, const std::vector<std::string>& projects,
                            const std::vector<std::string>& excluded, EPositionEncoding eEncoding,
                            std::string& strProgramsError, std::string& strProjectsError) {
  m_eEncoding = eEncoding;
  strProgramsError.clear();
  strProjectsError.clear();
  if (!IsReadableDirectory(strPrograms)) strProgramsError = "programs directory not found or not readable: " + strPrograms;
  // Set all the same: funcwiz.ini may appear there later (watched files).
  m_strPrograms = AbsolutePath(strPrograms);
  m_manager.GetDirLoc()->SetLocation("Programs", m_strPrograms.c_str());
  std::vector<std::string> roots;
  for (const std::string& strProject : projects) {
    if (strProject.empty()) continue;
    if (IsReadableDirectory(strProject)) roots.push_back(AbsolutePath(strProject));
    else
      strProjectsError += (strProjectsError.empty() ? "" : "; ") + ("project directory not found or not readable: " + strProject);
  }
  m_filter = CLspFolderFilter(roots, excluded);
  return strProgramsError.empty() && strProjectsError.empty();
}

void CLspCatalog::ReloadBuiltIns() {
  // A filled standard catalogue never reads its file again; emptying it is
  // how a changed funcwiz.ini gets read.
  g_FuncInfoStd.clear();
  g_FuncInfoStd.Init(&m_manager);
  ReadDescriptions();
  std::string strProblem;
  errno = 0;
  if (std::FILE* pFile = std::fopen(FuncWizPath().c_str(), "rb")) {
    std::fclose(pFile);
    if (g_FuncInfoStd.empty())
      strProblem = FuncWizPath() + " describes no function: built-in functions are unknown to the language server";
  } else {
    strProblem = FuncWizPath() + " cannot be read (" + std::strerror(errno) +
                 "): built-in functions are unknown to the language server";
  }
  if (strProblem != m_strBuiltInsProblem) m_bProblemTold = false;
  m_strBuiltInsProblem = strProblem;
  m_bCompletionStale = true;
  ++m_nGeneration;
  ++m_nNamesGeneration;
}

void CLspCatalog::ReadDescriptions() {
  m_mapDescriptions.clear();
  m_funcWizLines.Read(FuncWizPath().c_str());
  CIniFile ini;
  if (!ini.Load(FuncWizPath().c_str(), false)) return;
  for (const auto& entry : g_FuncInfoStd) {
    CString strDescription = ini.GetString(entry.first, "Description", "");
    if (!strDescription.IsEmpty()) m_mapDescriptions[entry.first.Str()] = strDescription.Str();
  }
}

bool CLspCatalog::TakeBuiltInsProblem(std::string& strMessage) {
  if (m_strBuiltInsProblem.empty() || m_bProblemTold) return false;
  m_bProblemTold = true;
  strMessage = m_strBuiltInsProblem;
  return true;
}

bool CLspCatalog::BuiltInLine(const std::string& strName, int& nLine, int& nLength) const {
  // The prototype's line, else the section's header (0-based for the client).
  const CFuncWizPlace* pPlace = m_funcWizLines.Find(strName);
  if (pPlace == nullptr) return false;
  const bool bPrototype = pPlace->nPrototypeLine != 0;
  nLine = (bPrototype ? pPlace->nPrototypeLine : pPlace->nHeaderLine) - 1;
  nLength = bPrototype ? pPlace->nPrototypeLength : pPlace->nHeaderLength;
  return true;
}

bool CLspCatalog::NameRefLess(const CNameRef& a, const CNameRef& b) {
  const int nName = std::strcmp(a.strName, b.strName);
  return nName != 0 ? nName < 0 : a.itScript->first < b.itScript->first;
}

void CLspCatalog::IndexNames(CScriptIt itScript) {
  if (m_bByNameStale) return;  // EndFullIndex indexes every script at once
  for (const CLspDefinition& definition : itScript->second.definitions) {
    CNameRef ref = {definition.strName, itScript};
    m_byName.insert(std::upper_bound(m_byName.begin(), m_byName.end(), ref, NameRefLess), ref);
  }
}

void CLspCatalog::UnindexNames(CScriptIt itScript) {
  if (m_bByNameStale) return;
  for (const CLspDefinition& definition : itScript->second.definitions) {
    const CNameRef ref = {definition.strName, itScript};
    auto it = std::lower_bound(m_byName.begin(), m_byName.end(), ref, NameRefLess);
    if (it != m_byName.end() && it->itScript == itScript && it->strName == definition.strName) m_byName.erase(it);
  }
}

std::pair<std::vector<CLspCatalog::CNameRef>::const_iterator, std::vector<CLspCatalog::CNameRef>::const_iterator>
CLspCatalog::RefsOf(const CString& strName) const {
  if (m_bByNameStale) return {m_byName.end(), m_byName.end()};
  auto itFirst = std::lower_bound(m_byName.begin(), m_byName.end(), strName,
                                  [](const CNameRef& ref, const CString& strKey) { return std::strcmp(ref.strName, strKey) < 0; });
  auto itEnd = itFirst;
  while (itEnd != m_byName.end() && itEnd->strName == strName) ++itEnd;
  return {itFirst, itEnd};
}

void CLspCatalog::ReadText(CLspScript& script, const std::string& strText) {
  script.definitions = ScanDefinitions(strText, m_eEncoding);
  ScanSites(script, strText);
}

void CLspCatalog::ReadSites(const CString& strKey, const std::string& strText) {
  auto it = m_scripts.find(strKey);
  if (it != m_scripts.end()) ScanSites(it->second, strText);
}

void CLspCatalog::ReadSites(const CString& strKey, CLspDocument& document) {
  auto it = m_scripts.find(strKey);
  if (it == m_scripts.end()) return;
  it->second.sites.Set(document.Facts(m_eEncoding).Pieces(), document.Lines(), m_eEncoding, m_names);
  it->second.bSitesRead = true;
}

void CLspCatalog::ScanSites(CLspScript& script, const std::string& strText) {
  const std::vector<std::string> lines = SplitLines(strText);
  CLspScriptFacts facts;
  facts.Scan(lines);
  script.sites.Set(facts, lines, m_eEncoding, m_names);
  script.bSitesRead = true;
}

void CLspCatalog::BeginFullIndex() {
  g_FuncInfoUser.clear();
  m_names.Clear();  // every script is read again
  m_byName.clear();
  m_bByNameStale = true;
  m_scripts.clear();
  m_outOfOrder.clear();
  m_bFullIndex = true;
  m_bCompletionStale = true;
  ++m_nGeneration;
  ++m_nNamesGeneration;
}

void CLspCatalog::AddInOrder(const CString& strKey, CLspScript script) {
  // A script set out of order meanwhile (an open document) stays as it is.
  if (m_scripts.count(strKey) != 0) return;
  for (const CLspDefinition& definition : script.definitions)
    g_FuncInfoUser.insert(CZoFuncInfo::value_type(definition.strName, definition.strPrototype));
  IndexNames(m_scripts.emplace(strKey, std::move(script)).first);
}

void CLspCatalog::EndFullIndex() {
  m_bFullIndex = false;
  size_t nDefinitions = 0;
  for (const auto& entry : m_scripts) nDefinitions += entry.second.definitions.size();
  m_byName.clear();
  m_byName.reserve(nDefinitions);
  for (auto it = m_scripts.cbegin(); it != m_scripts.cend(); ++it)
    for (const CLspDefinition& definition : it->second.definitions) m_byName.push_back({definition.strName, it});
  std::sort(m_byName.begin(), m_byName.end(), NameRefLess);
  m_bByNameStale = false;
  for (const CString& strKey : m_outOfOrder) {
    const CLspScript* pScript = ScriptAt(strKey);
    if (pScript == nullptr) continue;
    for (const std::pair<CString, CString>& name : FirstPrototypes(pScript->definitions)) ResolveName(name.first);
  }
  m_outOfOrder.clear();
  m_bCompletionStale = true;
  ++m_nGeneration;
  ++m_nNamesGeneration;
}

void CLspCatalog::SetScript(const CString& strKey, CLspScript script) {
  std::vector<std::pair<CString, CString>> before;
  auto it = m_scripts.find(strKey);
  if (it != m_scripts.end()) {
    before = FirstPrototypes(it->second.definitions);
    // The by-name index holds one ref per definition: a save that keeps
    // every name (the common case) leaves it as it is.
    const EDefinitionsChange eChange = ChangeOf(it->second.definitions, script.definitions);
    const bool bSameNames = eChange != changeNames;
    if (eChange != changeNone) ++m_nGeneration;
    if (eChange >= changePrototypes) ++m_nNamesGeneration;
    if (!bSameNames) UnindexNames(it);
    it->second = std::move(script);
    if (!bSameNames) IndexNames(it);
  } else {
    it = m_scripts.emplace(strKey, std::move(script)).first;
    IndexNames(it);
    ++m_nGeneration;
    ++m_nNamesGeneration;
  }
  if (m_bFullIndex) m_outOfOrder.push_back(strKey);
  // Only names that came, went or changed their prototype can change the
  // catalogue; a save that keeps every header costs no lookup at all.
  const std::vector<std::pair<CString, CString>> after = FirstPrototypes(it->second.definitions);
  std::vector<CString> changed;
  auto itBefore = before.begin();
  auto itAfter = after.begin();
  while (itBefore != before.end() || itAfter != after.end()) {
    if (itAfter == after.end() || (itBefore != before.end() && itBefore->first < itAfter->first)) {
      changed.push_back((itBefore++)->first);
    } else if (itBefore == before.end() || itAfter->first < itBefore->first) {
      changed.push_back((itAfter++)->first);
    } else {
      if (!(itBefore->second == itAfter->second)) changed.push_back(itAfter->first);
      ++itBefore;
      ++itAfter;
    }
  }
  for (const CString& strName : changed) ResolveName(strName);
}

void CLspCatalog::RemoveScript(const CString& strKey) {
  auto it = m_scripts.find(strKey);
  if (it == m_scripts.end()) return;
  const std::vector<std::pair<CString, CString>> before = FirstPrototypes(it->second.definitions);
  UnindexNames(it);
  m_scripts.erase(it);
  ++m_nGeneration;
  ++m_nNamesGeneration;
  for (const std::pair<CString, CString>& name : before) ResolveName(name.first);
}

void CLspCatalog::ResolveName(const CString& strName) {
  const bool bWasKnown = IsKnown(strName);
  const std::vector<CLspPlace> places = DefinitionsOf(strName);
  const CLspDefinition* pFirst = places.empty() ? nullptr : places[0].second;
  if (pFirst == nullptr) {
    g_FuncInfoUser.erase(strName);
  } else {
    auto itEntry = g_FuncInfoUser.find(strName);
    if (itEntry == g_FuncInfoUser.end()) g_FuncInfoUser.insert(CZoFuncInfo::value_type(strName, pFirst->strPrototype));
    else itEntry->second = pFirst->strPrototype;
  }
  NoteKnown(strName, bWasKnown);
}

bool CLspCatalog::IsKnown(const CString& strName) const { return FindSharedPrototype(strName) != nullptr; }

void CLspCatalog::NoteKnown(const CString& strName, bool bWasKnown) {
  const bool bKnown = IsKnown(strName);
  if (m_bCompletionStale || bKnown == bWasKnown) return;
  auto it = std::lower_bound(m_completion.begin(), m_completion.end(), strName, CompletionLess);
  if (bKnown) m_completion.insert(it, strName);
  else if (it != m_completion.end() && *it == strName) m_completion.erase(it);
}

CString CLspCatalog::KeyOf(const std::string& strPath) const { return CString(m_filter.Key(strPath)); }

std::string CLspCatalog::DisplayName(const std::string& strPath) const {
  std::string strName = m_filter.ShownName(strPath);
  for (char& ch : strName)
    if (IsPathSeparator(ch)) ch = '/';
  return strName;
}

const CLspScript* CLspCatalog::ScriptAt(const CString& strKey) const {
  auto it = m_scripts.find(strKey);
  return it != m_scripts.end() ? &it->second : nullptr;
}

bool CLspCatalog::IsBuiltIn(const std::string& strName) const {
  return g_FuncInfoStd.find(CString(strName)) != g_FuncInfoStd.end();
}

bool CLspCatalog::Find(const std::string& strName, CLspFunction& function) const {
  const CString strKey(strName);
  const CString* pPrototype = FindSharedPrototype(strKey);
  if (pPrototype == nullptr) return false;
  function.strName = strKey;
  function.strPrototype = *pPrototype;
  function.bBuiltIn = g_FuncInfoStd.find(strKey) != g_FuncInfoStd.end();
  function.strDescription.clear();
  if (function.bBuiltIn) {
    auto it = m_mapDescriptions.find(strName);
    if (it != m_mapDescriptions.end()) function.strDescription = it->second;
  }
  return true;
}

std::vector<CLspPlace> CLspCatalog::DefinitionsOf(const CString& strName) const {
  std::vector<CLspPlace> places;
  if (!m_bByNameStale) {
    const auto refs = RefsOf(strName);
    for (auto it = refs.first; it != refs.second; ++it) {
      // Several definitions of the name in one script: one ref each, in text order.
      if (it != refs.first && (it - 1)->itScript == it->itScript) continue;
      for (const CLspDefinition& definition : it->itScript->second.definitions)
        if (definition.strName == strName) places.emplace_back(&it->itScript->second, &definition);
    }
    return places;
  }
  // During a full index: a scan of what is read so far.
  const int nLength = strName.GetLength();
  for (const auto& entry : m_scripts)
    for (const CLspDefinition& definition : entry.second.definitions)
      if (definition.strName.GetLength() == nLength && definition.strName == strName)
        places.emplace_back(&entry.second, &definition);
  return places;
}

std::vector<CString> CLspCatalog::Complete(const std::string& strWord, size_t nMax, bool& bMore) {
  if (m_bCompletionStale) {
    m_completion.clear();
    m_completion.reserve(g_FuncInfoStd.size() + g_FuncInfoUser.size());
    for (const auto& entry : g_FuncInfoStd) m_completion.push_back(entry.first);
    for (const auto& entry : g_FuncInfoUser)
      if (g_FuncInfoStd.find(entry.first) == g_FuncInfoStd.end()) m_completion.push_back(entry.first);
    std::sort(m_completion.begin(), m_completion.end(), CompletionLess);
    m_bCompletionStale = false;
  }
  // The names are visited in name order, so of two equal scores the one
  // kept is the one seen first: a candidate must beat the worst kept.
  struct CCandidate {
    int nScore;
    size_t nIndex;  // in m_completion
  };
  const auto better = [](const CCandidate& a, const CCandidate& b) {
    return a.nScore != b.nScore ? a.nScore > b.nScore : a.nIndex < b.nIndex;
  };
  std::vector<CCandidate> best;  // a heap whose front is the worst kept
  best.reserve(std::min(nMax, m_completion.size()));
  bMore = false;
  for (size_t i = 0; i < m_completion.size(); ++i) {
    const CString& strName = m_completion[i];
    int nScore = 0;
    if (!FuzzyMatch(strWord, std::string_view(strName, strName.GetLength()), nScore)) continue;
    if (best.size() == nMax) {
      bMore = true;
      if (nMax == 0 || nScore <= best.front().nScore) continue;
      std::pop_heap(best.begin(), best.end(), better);
      best.pop_back();
    }
    best.push_back({nScore, i});
    std::push_heap(best.begin(), best.end(), better);
  }
  std::sort(best.begin(), best.end(), better);
  std::vector<CString> matches;
  matches.reserve(best.size());
  for (const CCandidate& candidate : best) matches.push_back(m_completion[candidate.nIndex]);
  return matches;
}

}  // namespace lsp
}  // namespace nimbo
