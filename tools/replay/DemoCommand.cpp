// nimbo demo: replays the bundled editing session and prints the screens
// as text, for a person without a terminal.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FileSystemPath.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/SamplesDir.h"
#include "tools/nimbo/WholeFile.h"
#include "tools/replay/DemoCommand.h"
#include "tools/replay/ReplayRunner.h"
#include "tools/replay/ReplayScript.h"
#include "obrin/CProjectManagerObject.h"

namespace {

namespace fs = std::filesystem;

// Makes a new directory in the system's scratch folder ($TMPDIR, /tmp; on
// Windows %TEMP%). Empty, with the reason in strError, when none can be made.
std::string MakeScratchDir(std::string& strError) {
  fs::path base;
  try {
    base = fs::temp_directory_path();
  } catch (const fs::filesystem_error& failure) {
    strError = "no scratch folder " + FileSystemName(failure.path1()) + ": " + failure.code().message();
    return std::string();
  }
  std::error_code error;
  std::random_device device;
  for (int nTry = 0; nTry < 100; ++nTry) {
    const fs::path dir = base / ("nimbo-demo-" + std::to_string(device() % 1000000000u));
    if (fs::create_directory(dir, error)) return FileSystemName(dir);
    if (error) {
      strError = "cannot make a scratch directory in " + FileSystemName(base) + ": " + error.message();
      return std::string();
    }
  }
  strError = "cannot make a scratch directory in " + FileSystemName(base);
  return std::string();
}

// Copies the regular files of strFrom into strTo; false with a message
// naming the file and the system's reason when one fails.
bool CopyFiles(const std::string& strFrom, const std::string& strTo, std::string& strError) {
  std::error_code error;
  for (fs::directory_iterator it(FileSystemPath(strFrom), error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error) && !fs::copy_file(it->path(), FileSystemPath(strTo) / it->path().filename(), error)) {
      strError = "cannot copy " + FileSystemName(it->path()) + ": " + error.message();
      return false;
    }
  }
  if (error) strError = "cannot read " + strFrom + ": " + error.message();
  return !error;
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
  const std::string strScratch = MakeScratchDir(strError);
  if (strScratch.empty()) {
    std::fprintf(stderr, "nimbo demo: %s\n", strError.c_str());
    return nimbo::kExitError;
  }
  std::error_code removeError;
  if (!CopyFiles(options.strProjectDir, strScratch, strError)) {
    fs::remove_all(FileSystemPath(strScratch), removeError);
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
  fs::remove_all(FileSystemPath(strScratch), removeError);
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
