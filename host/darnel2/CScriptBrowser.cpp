// CScriptBrowser: listing a project directory's scripts.
#include "darnel2/CScriptBrowser.h"

#include <filesystem>
#include <system_error>

#include "CrtMbString.h"
#include "FileSystemPath.h"
#include "tamsin/CPathEx.h"

const char* const CScriptBrowser::kScriptExtension = ".nsc";

namespace {

bool HasScriptExtension(const std::string& strFileName) {
  size_t nExtension = std::char_traits<char>::length(CScriptBrowser::kScriptExtension);
  if (strFileName.size() <= nExtension) return false;  // a bare ".nsc" names no script
  const char* pszTail = strFileName.c_str() + strFileName.size() - nExtension;
  return _mbsicmp(reinterpret_cast<const unsigned char*>(pszTail),
                  reinterpret_cast<const unsigned char*>(CScriptBrowser::kScriptExtension)) == 0;
}

}  // namespace

bool CScriptBrowser::BrowseDirectory(const CString& strDirectory) {
  namespace fs = std::filesystem;
  m_mapFunctions.clear();
  std::error_code error;
  fs::directory_iterator it(FileSystemPath(strDirectory.Str()), error);
  if (error) return false;
  size_t nExtension = std::char_traits<char>::length(kScriptExtension);
  while (it != fs::directory_iterator()) {
    std::string strFileName = FileSystemName(it->path().filename());
    std::error_code statusError;
    // is_regular_file follows links and leaves out directories named *.nsc.
    if (HasScriptExtension(strFileName) && it->is_regular_file(statusError)) {
      CString strName(strFileName.substr(0, strFileName.size() - nExtension));
      CPathEx path = CPathEx(strDirectory) ^ strFileName.c_str();
      m_mapFunctions.insert(CFunctionMap::value_type(strName, CScriptFunctionInfo{path.GetPath(), strFileName}));
    }
    it.increment(error);
    if (error) break;
  }
  // An error part-way through the listing leaves what was found so far.
  return true;
}

bool CScriptBrowser::AddScript(const CString& strName, const CString& strPath) {
  int nSlash = strPath.ReverseFind('/');
  CString strFileName = nSlash < 0 ? strPath : strPath.Mid(nSlash + 1);
  return m_mapFunctions.insert(CFunctionMap::value_type(strName, CScriptFunctionInfo{strPath, strFileName})).second;
}

CScriptBrowser::CFunctionMap::iterator CScriptBrowser::GetNext(CFunctionMap::iterator& it) {
  if (it != m_mapFunctions.end()) ++it;
  if (m_fnOnStep) m_fnOnStep();
  return it;
}
