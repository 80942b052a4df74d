// LspProjectFiles: listing a project tree through std::filesystem, so that
// the same code serves every platform.
#include "tools/lsp/LspProjectFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "FileSystemPath.h"
#include "darnel2/CScriptBrowser.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace fs = std::filesystem;

namespace {

std::string WithoutTrailingSlash(std::string strPath) {
  while (strPath.size() > 1 && IsPathSeparator(strPath.back())) strPath.pop_back();
  return strPath;
}

std::string LastName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of(kPathSeparators);
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

}  // namespace

bool ReadWholeFile(const std::string& strPath, std::string& strText) {
  std::ifstream in(strPath, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff nSize = in.tellg();
  if (nSize < 0) return false;
  strText.resize(static_cast<size_t>(nSize));
  in.seekg(0);
  in.read(&strText[0], nSize);
  // A file that shrank meanwhile is read as far as it goes.
  strText.resize(static_cast<size_t>(in.gcount()));
  return !in.bad();
}

bool IsScriptPath(const std::string& strPath) {
  // The host's browser's rule: the extension in any ASCII case, a name before it.
  const std::string strName = LastName(strPath);
  const std::string strExtension = CScriptBrowser::kScriptExtension;
  if (strName.size() <= strExtension.size()) return false;
  for (size_t i = 0; i < strExtension.size(); ++i) {
    char ch = strName[strName.size() - strExtension.size() + i];
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ch != strExtension[i]) return false;
  }
  return true;
}

const std::string CLspFolderFilter::m_strNone;

CLspFolderFilter::CLspFolderFilter(std::string strRoot, std::vector<std::string> excluded)
    : CLspFolderFilter(std::vector<std::string>{std::move(strRoot)}, std::move(excluded)) {}

CLspFolderFilter::CLspFolderFilter(std::vector<std::string> roots, std::vector<std::string> excluded) {
  for (std::string& strRoot : roots) {
    strRoot = WithoutTrailingSlash(SystemSeparators(std::move(strRoot)));
    if (!strRoot.empty() && !IsRoot(strRoot)) m_roots.push_back(std::move(strRoot));
  }
  for (std::string& strExcluded : excluded) {
    strExcluded = WithoutTrailingSlash(SystemSeparators(strExcluded));
    if (!strExcluded.empty()) m_excluded.push_back(strExcluded);
  }
}

bool CLspFolderFilter::IsRoot(const std::string& strDir) const {
  return std::find(m_roots.begin(), m_roots.end(), WithoutTrailingSlash(strDir)) != m_roots.end();
}

std::string CLspFolderFilter::RelativeTo(const std::string& strRoot, const std::string& strPath) {
  if (strRoot.empty() || strPath.size() <= strRoot.size() + 1 || strPath.compare(0, strRoot.size(), strRoot) != 0 ||
      !IsPathSeparator(strPath[strRoot.size()]))
    return std::string();
  return strPath.substr(strRoot.size() + 1);
}

std::string CLspFolderFilter::Relative(const std::string& strPath) const {
  const std::string strRelative = RelativeTo(Root(), strPath);
  return strRelative.empty() ? strPath : strRelative;
}

bool CLspFolderFilter::SkipsBelow(const std::string& strRelative, const std::string& strDir) const {
  const std::string strName = LastName(strRelative);
  if (!strName.empty() && strName[0] == '.') return true;
  for (const std::string& strExcluded : m_excluded)
    if (strExcluded == strName || strExcluded == strRelative || strExcluded == strDir) return true;
  return false;
}

bool CLspFolderFilter::SkipsFolder(const std::string& strDir) const {
  const std::string strFolder = WithoutTrailingSlash(strDir);
  if (IsRoot(strFolder)) return false;
  bool bUnder = false;
  for (const std::string& strRoot : m_roots) {
    const std::string strRelative = RelativeTo(strRoot, strFolder);
    if (strRelative.empty()) continue;
    bUnder = true;
    if (!SkipsBelow(strRelative, strFolder)) return false;
  }
  return bUnder;  // outside every tree: nothing to skip
}

bool CLspFolderFilter::CoveredBy(const std::string& strRoot, const std::string& strPath) const {
  const std::string strRelative = RelativeTo(strRoot, strPath);
  if (strRelative.empty()) return false;
  // Every folder between the root and the file must be read.
  for (size_t nSlash = strRelative.find_first_of(kPathSeparators); nSlash != std::string::npos;
       nSlash = strRelative.find_first_of(kPathSeparators, nSlash + 1))
    if (SkipsBelow(strRelative.substr(0, nSlash), strRoot + PathSeparator() + strRelative.substr(0, nSlash)))
      return false;
  return true;
}

bool CLspFolderFilter::Covers(const std::string& strPath) const {
  for (const std::string& strRoot : m_roots)
    if (CoveredBy(strRoot, strPath)) return true;
  return false;
}

std::string CLspFolderFilter::Key(const std::string& strPath) const {
  if (m_roots.empty() || CoveredBy(m_roots[0], strPath)) return Relative(strPath);
  for (size_t i = 1; i < m_roots.size(); ++i)
    if (CoveredBy(m_roots[i], strPath)) {
      // Byte 0xFF never occurs in UTF-8 text, so these sort after every
      // key of the main root; the fixed-width number keeps the roots' order.
      char szRoot[16];
      std::snprintf(szRoot, sizeof szRoot, "\xff%04u", static_cast<unsigned>(i));
      return szRoot + std::string(1, PathSeparator()) + RelativeTo(m_roots[i], strPath);
    }
  return Relative(strPath);
}

std::string CLspFolderFilter::ShownName(const std::string& strPath) const {
  if (m_roots.empty() || CoveredBy(m_roots[0], strPath)) return Relative(strPath);
  for (size_t i = 1; i < m_roots.size(); ++i)
    if (CoveredBy(m_roots[i], strPath)) {
      const std::string strRoot = WithoutTrailingSlash(m_roots[i]);
      const size_t nSlash = strRoot.find_last_of(kPathSeparators);
      return (nSlash == std::string::npos ? strRoot : strRoot.substr(nSlash + 1)) + PathSeparator() +
             RelativeTo(m_roots[i], strPath);
    }
  return Relative(strPath);
}

std::vector<std::string> ListScripts(const std::string& strDir, const CLspFolderFilter& filter,
                                     const std::function<void()>& pfnStep, std::vector<std::string>* pUnreadable) {
  std::vector<std::string> scripts;
  const std::string strStart = WithoutTrailingSlash(strDir);
  if (!filter.IsRoot(strStart) && !filter.Covers(strStart + PathSeparator() + "x")) return scripts;
  std::error_code error;
  fs::recursive_directory_iterator it(FileSystemPath(strStart), fs::directory_options::skip_permission_denied, error);
  size_t nEntries = 0;
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (pfnStep && ++nEntries % 256 == 0) pfnStep();
    const std::string strPath = SystemSeparators(FileSystemName(it->path()));
    std::error_code statusError;
    if (it->is_directory(statusError)) {
      if (it->is_symlink(statusError) || filter.SkipsFolder(strPath)) {
        it.disable_recursion_pending();
      } else if (pUnreadable != nullptr) {
        // The walk passes over a folder it may not open without a word.
        std::error_code openError;
        fs::directory_iterator probe(it->path(), openError);
        if (openError) pUnreadable->push_back(strPath + ": " + openError.message());
      }
      continue;
    }
    if (IsScriptPath(strPath) && it->is_regular_file(statusError)) scripts.push_back(strPath);
  }
  return scripts;
}

}  // namespace lsp
}  // namespace nimbo
