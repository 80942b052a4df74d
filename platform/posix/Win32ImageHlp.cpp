// MakeSureDirectoryPathExists over mkdir.
#include "Win32ImageHlp.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace {

bool IsDirectory(const std::string& strPath) {
  struct stat info;
  return ::stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

BOOL MakeSureDirectoryPathExists(LPCSTR DirPath) {
  if (DirPath == nullptr) return FALSE;
  const std::string strPath(DirPath);
  for (size_t nSep = strPath.find('/'); nSep != std::string::npos; nSep = strPath.find('/', nSep + 1)) {
    if (nSep == 0 || strPath[nSep - 1] == '/') continue;  // the root, or a doubled separator
    const std::string strDir = strPath.substr(0, nSep);
    if (::mkdir(strDir.c_str(), 0777) == 0) continue;
    if (errno != EEXIST || !IsDirectory(strDir)) return FALSE;
  }
  return TRUE;
}
