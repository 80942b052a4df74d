// The default host directories and setting up a project manager from them.
#include "tools/nimbo/HostOptions.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "module/NimboInit.h"
#include "tools/nimbo/SamplesDir.h"
#include "obrin/CProjectManagerObject.h"

namespace nimbo {

namespace {

bool IsReadableDirectory(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && access(strPath.c_str(), R_OK | X_OK) == 0;
}

}  // namespace

CHostOptions DefaultHostOptions() {
  CHostOptions options;
  const char* pszEnv = std::getenv("NIMBO_PROGRAMS");
  options.strProgramsDir = pszEnv != nullptr && *pszEnv != '\0' ? std::string(pszEnv) : SamplesDir() + "/Programs";
  options.strProjectDir = SamplesDir() + "/project";
  return options;
}

bool ConfigureHost(const CHostOptions& options, CProjectManagerObject& manager, std::string& strError) {
  if (!IsReadableDirectory(options.strProgramsDir)) {
    strError = "programs directory not found or not readable: " + options.strProgramsDir;
    return false;
  }
  if (!IsReadableDirectory(options.strProjectDir) || !manager.OpenProject(options.strProjectDir.c_str())) {
    strError = "project directory not found or not readable: " + options.strProjectDir;
    return false;
  }
  manager.GetDirLoc()->SetLocation("Programs", options.strProgramsDir.c_str());
  return true;
}

bool OpenHost(const char* pszCommand, const CHostOptions& options, CProjectManagerObject& manager) {
  std::string strError;
  if (!ConfigureHost(options, manager, strError)) {
    std::fprintf(stderr, "nimbo %s: %s\n", pszCommand, strError.c_str());
    return false;
  }
  NimboInit();
  return true;
}

}  // namespace nimbo
