// SamplesDir on Windows: the installed samples beside the program
// (<folder>\share\nimbo\samples for <folder>\bin\nimbo.exe, the layout of the
// Windows package), else the source tree's.
#include "tools/nimbo/SamplesDir.h"

#include <windows.h>

#include <cstdlib>

namespace nimbo {

namespace {

std::string ExecutableDir() {
  char szPath[MAX_PATH];
  const DWORD nLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  if (nLength == 0 || nLength >= MAX_PATH) return std::string();
  const std::string strPath(szPath, nLength);
  return strPath.substr(0, strPath.find_last_of("\\/"));
}

bool IsDirectory(const std::string& strPath) {
  const DWORD nAttributes = GetFileAttributesA(strPath.c_str());
  return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string SamplesDir() {
  static const std::string strDir = [] {
    const std::string strExeDir = ExecutableDir();
    std::string strInstalled = strExeDir + "\\" NIMBO_INSTALLED_SAMPLES;
    for (char& ch : strInstalled)
      if (ch == '/') ch = '\\';
    char szFull[MAX_PATH];
    if (!strExeDir.empty() && IsDirectory(strInstalled) && _fullpath(szFull, strInstalled.c_str(), MAX_PATH) != nullptr)
      return std::string(szFull);
    return std::string(NIMBO_SOURCE_DIR "/samples");
  }();
  return strDir;
}

}  // namespace nimbo
