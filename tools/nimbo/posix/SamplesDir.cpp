// Finding the bundled samples from the executable's own location.
#include "tools/nimbo/SamplesDir.h"

#include <sys/stat.h>
#include <unistd.h>

namespace nimbo {

namespace {

std::string ExecutableDir() {
  char szPath[4096];
  ssize_t nLength = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
  if (nLength <= 0) return std::string();
  std::string strPath(szPath, static_cast<size_t>(nLength));
  return strPath.substr(0, strPath.rfind('/'));
}

}  // namespace

std::string SamplesDir() {
  // Resolved once: the answer cannot change while the process runs.
  static const std::string strDir = [] {
    const std::string strExeDir = ExecutableDir();
    const std::string strInstalled = strExeDir + "/" NIMBO_INSTALLED_SAMPLES;
    struct stat info;
    if (!strExeDir.empty() && stat(strInstalled.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return strInstalled;
    return std::string(NIMBO_SOURCE_DIR "/samples");
  }();
  return strDir;
}

}  // namespace nimbo
