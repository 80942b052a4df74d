// LspProjectFiles: listing a project tree through std::filesystem, so that
// the same code serves every platform.
#include "tools/lsp/LspProjectFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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

CLspFolderFilter::CLspFolderFilter(std::string strRoot, std::vector<std::string> excluded)
    : m_strRoot(WithoutTrailingSlash(SystemSeparators(std::move(strRoot)))) {
  for (std::string& strExcluded : excluded) {
    strExcluded = WithoutTrailingSlash(SystemSeparators(strExcluded));
    if (!strExcluded.empty()) m_excluded.push_back(strExcluded);
  }
}

std::string CLspFolderFilter::Relative(const std::string& strPath) const {
  if (m_strRoot.empty() || strPath.size() <= m_strRoot.size() + 1 ||
      strPath.compare(0, m_strRoot.size(), m_strRoot) != 0 || !IsPathSeparator(strPath[m_strRoot.size()]))
    return strPath;
  return strPath.substr(m_strRoot.size() + 1);
}

bool CLspFolderFilter::SkipsFolder(const std::string& strDir) const {
  const std::string strRelative = Relative(WithoutTrailingSlash(strDir));
  if (strRelative == WithoutTrailingSlash(strDir)) return false;  // the root, or outside the tree
  const std::string strName = LastName(strRelative);
  if (!strName.empty() && strName[0] == '.') return true;
  for (const std::string& strExcluded : m_excluded)
    if (strExcluded == strName || strExcluded == strRelative) return true;
  return false;
}

bool CLspFolderFilter::Covers(const std::string& strPath) const {
  const std::string strRelative = Relative(strPath);
  if (strRelative == strPath) return false;
  // Every folder between the root and the file must be read.
  for (size_t nSlash = strRelative.find_first_of(kPathSeparators); nSlash != std::string::npos;
       nSlash = strRelative.find_first_of(kPathSeparators, nSlash + 1))
    if (SkipsFolder(m_strRoot + PathSeparator() + strRelative.substr(0, nSlash))) return false;
  return true;
}

std::vector<std::string> ListScripts(const std::string& strDir, const CLspFolderFilter& filter,
                                     const std::function<void()>& pfnStep, std::vector<std::string>* pUnreadable) {
  std::vector<std::string> scripts;
  const std::string strStart = WithoutTrailingSlash(strDir);
  if (strStart != filter.Root() && !filter.Covers(strStart + PathSeparator() + "x")) return scripts;
  std::error_code error;
  fs::recursive_directory_iterator it(strStart, fs::directory_options::skip_permission_denied, error);
  size_t nEntries = 0;
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (pfnStep && ++nEntries % 256 == 0) pfnStep();
    const std::string strPath = SystemSeparators(it->path().string());
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
