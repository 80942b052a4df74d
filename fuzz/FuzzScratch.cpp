// FuzzScratch: scratch directory and file writing for the fuzz targets.
#include "FuzzScratch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

const std::string& FuzzScratchDir() {
  static const std::string strDir = [] {
    struct stat st;
    std::string strTemplate = (stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode)) ? "/dev/shm" : "/tmp";
    strTemplate += "/nimbo-fuzz-XXXXXX";
    if (mkdtemp(&strTemplate[0]) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    return strTemplate;
  }();
  return strDir;
}

void FuzzWriteFile(const std::string& strPath, const unsigned char* pData, size_t nSize) {
  std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
  if (pFile == nullptr || (nSize > 0 && std::fwrite(pData, 1, nSize, pFile) != nSize) || std::fclose(pFile) != 0) {
    std::perror(strPath.c_str());
    std::abort();
  }
}
