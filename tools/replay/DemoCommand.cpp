// nimbo demo: replays the bundled editing session and prints the screens
// as text, for a person without a terminal.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/SamplesDir.h"
#include "tools/nimbo/WholeFile.h"
#include "tools/replay/DemoCommand.h"
#include "tools/replay/ReplayRunner.h"
#include "tools/replay/ReplayScript.h"
#include "obrin/CProjectManagerObject.h"

namespace {

// Copies the regular files of strFrom into strTo; false with a message
// naming the file and the system's reason when one fails.
bool CopyFiles(const std::string& strFrom, const std::string& strTo, std::string& strError) {
  DIR* pDir = opendir(strFrom.c_str());
  if (pDir == nullptr) {
    strError = "cannot read " + strFrom + ": " + std::strerror(errno);
    return false;
  }
  bool bOk = true;
  while (dirent* pEntry = readdir(pDir)) {
    const std::string strSource = strFrom + "/" + pEntry->d_name;
    struct stat info;
    if (stat(strSource.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    std::string strBytes;
    if (!nimbo::ReadWholeFile(strSource, strBytes, strError)) {
      bOk = false;
      break;
    }
    const std::string strTarget = strTo + "/" + pEntry->d_name;
    std::FILE* pOut = std::fopen(strTarget.c_str(), "wb");
    const bool bWritten = pOut != nullptr && std::fwrite(strBytes.data(), 1, strBytes.size(), pOut) == strBytes.size();
    const int nError = errno;
    if (pOut == nullptr || std::fclose(pOut) != 0 || !bWritten) {
      strError = "cannot write " + strTarget + ": " + std::strerror(bWritten ? errno : nError);
      bOk = false;
      break;
    }
  }
  closedir(pDir);
  return bOk;
}

void RemoveTree(const std::string& strDir) {
  if (DIR* pDir = opendir(strDir.c_str())) {
    while (dirent* pEntry = readdir(pDir)) {
      const std::string strName = pEntry->d_name;
      if (strName == "." || strName == "..") continue;
      const std::string strPath = strDir + "/" + strName;
      struct stat info;
      if (lstat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        RemoveTree(strPath);
      else
        unlink(strPath.c_str());
    }
    closedir(pDir);
  }
  rmdir(strDir.c_str());
}

int RunDemo(const nimbo::CHostOptions& options) {
  std::string strError;
  {
    CProjectManagerObject manager;
    if (!nimbo::OpenHost("demo", options, manager)) return nimbo::kExitError;
  }
  const std::string strDemoScript = nimbo::SamplesDir() + "/sessions/demo.replay";
  std::string strText;
  CReplayScript script;
  if (!nimbo::ReadWholeFile(strDemoScript, strText, strError) ||
      !ParseReplayScript(strText, strDemoScript, script, strError)) {
    std::fprintf(stderr, "nimbo demo: %s\n", strError.c_str());
    return nimbo::kExitError;
  }
  // The session saves a file: it works on a copy of the project.
  char szTemplate[] = "/tmp/nimbo-demo-XXXXXX";
  if (mkdtemp(szTemplate) == nullptr) {
    std::fprintf(stderr, "nimbo demo: cannot make a scratch directory in /tmp: %s\n", std::strerror(errno));
    return nimbo::kExitError;
  }
  const std::string strScratch = szTemplate;
  if (!CopyFiles(options.strProjectDir, strScratch, strError)) {
    RemoveTree(strScratch);
    std::fprintf(stderr, "nimbo demo: cannot copy the project: %s\n", strError.c_str());
    return nimbo::kExitError;
  }
  CReplayOptions replay;
  replay.strScriptPath = strDemoScript;
  replay.strProjectDir = strScratch;
  replay.strProgramsDir = options.strProgramsDir;
  replay.bEvents = false;
  std::printf("Nimbo demo: an editing session in the terminal editor (nimbo edit), replayed.\n"
              "The tip's current parameter is shown in [brackets], the caret as |.\n");
  const int nStatus = RunReplay(script, replay, stdout);
  std::fflush(stdout);
  RemoveTree(strScratch);
  return nStatus == 0 ? nimbo::kExitOk : nimbo::kExitError;
}

void DefineDemo(CLI::App& command, int& nStatus) {
  nimbo::DefineHostCommand(command, "nimbo demo [--project DIR] [--programs DIR]", nStatus, RunDemo);
  nimbo::SetExamples(command, {"nimbo demo | less"});
}

}  // namespace

namespace nimbo {
namespace replay {

CCommand DemoCommand() { return {"demo", "replay the bundled editing session and print the screens as text", DefineDemo}; }

}  // namespace replay
}  // namespace nimbo
