// Parsing the host options and setting up a project manager from them.
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

// Matches "--name VALUE" or "--name=VALUE" at args[i]; advances i past the
// value. Returns 0 for another argument, 1 for a match, -1 for a missing value.
int TakeOption(const std::vector<std::string>& args, size_t& i, const std::string& strName, std::string& strValue) {
  const std::string& strArg = args[i];
  if (strArg == strName) {
    if (i + 1 >= args.size()) return -1;
    strValue = args[++i];
    return 1;
  }
  if (strArg.compare(0, strName.size() + 1, strName + "=") == 0) {
    strValue = strArg.substr(strName.size() + 1);
    return 1;
  }
  return 0;
}

}  // namespace

bool ParseHostOptions(const std::vector<std::string>& args, CHostOptions& options, std::string& strError) {
  options = CHostOptions();
  bool bPrograms = false;
  bool bProject = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const char* const names[] = {"--programs", "--project"};
    std::string* const values[] = {&options.strProgramsDir, &options.strProjectDir};
    bool* const seen[] = {&bPrograms, &bProject};
    bool bTaken = false;
    for (int n = 0; n < 2 && !bTaken; ++n) {
      int nResult = TakeOption(args, i, names[n], *values[n]);
      if (nResult == 0) continue;
      if (nResult < 0) {
        strError = std::string("option ") + names[n] + " needs a directory";
        return false;
      }
      if (*seen[n]) {
        strError = std::string("option ") + names[n] + " given twice";
        return false;
      }
      *seen[n] = true;
      bTaken = true;
    }
    if (!bTaken) options.rest.push_back(args[i]);
  }
  if (!bPrograms) {
    const char* pszEnv = std::getenv("NIMBO_PROGRAMS");
    options.strProgramsDir =
        pszEnv != nullptr && *pszEnv != '\0' ? std::string(pszEnv) : SamplesDir() + "/Programs";
  }
  if (!bProject) options.strProjectDir = SamplesDir() + "/project";
  return true;
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

bool ParseHostArgs(const char* pszCommand, const std::vector<std::string>& args, CHostOptions& options) {
  std::string strError;
  if (ParseHostOptions(args, options, strError)) return true;
  std::fprintf(stderr, "nimbo %s: %s\n", pszCommand, strError.c_str());
  return false;
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
