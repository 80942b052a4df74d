// ReadWholeFile over stdio.
#include "tools/nimbo/WholeFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace nimbo {

bool ReadWholeFile(const std::string& strPath, std::string& strBytes, std::string& strError) {
  std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
  int nError = pFile == nullptr ? errno : 0;
  struct stat info;
  // A directory opens for reading; it is named as the system names it.
  if (pFile != nullptr && fstat(fileno(pFile), &info) == 0 && S_ISDIR(info.st_mode)) nError = EISDIR;
  std::string strRead;
  if (nError == 0) {
    char buffer[65536];
    for (size_t nRead; (nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0;) strRead.append(buffer, nRead);
    if (std::ferror(pFile) != 0) nError = errno != 0 ? errno : EIO;
  }
  if (pFile != nullptr) std::fclose(pFile);
  if (nError != 0) {
    strError = "cannot read " + strPath + ": " + std::strerror(nError);
    return false;
  }
  strBytes = std::move(strRead);
  return true;
}

}  // namespace nimbo
