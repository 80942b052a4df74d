// nimbo replay: runs an editing session written as a script through the
// host harness and prints every observable step.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/DemoCommand.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/replay/ReplayRunner.h"
#include "tools/replay/ReplayScript.h"
#include "obrin/CProjectManagerObject.h"

namespace {

bool GivesOption(const std::vector<std::string>& args, const std::string& strName) {
  for (const std::string& strArg : args)
    if (strArg == strName || strArg.compare(0, strName.size() + 1, strName + "=") == 0) return true;
  return false;
}

int RunReplayCommand(const std::vector<std::string>& args) {
  for (const std::string& strArg : args) {
    if (strArg == "--help" || strArg == "-h") {
      std::fputs(ReplayUsage(), stdout);
      return nimbo::kExitOk;
    }
  }
  nimbo::CHostOptions options;
  if (!nimbo::ParseHostArgs("replay", args, options)) return nimbo::kExitError;
  std::string strError;
  if (options.rest.size() != 1 || (!options.rest[0].empty() && options.rest[0][0] == '-')) {
    std::fprintf(stderr, "usage: nimbo replay SCRIPT [--project DIR] [--programs DIR] (nimbo replay --help)\n");
    return nimbo::kExitError;
  }
  const std::string strScript = options.rest[0];
  std::ifstream in(strScript, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad()) {
    std::fprintf(stderr, "nimbo replay: cannot read script: %s\n", strScript.c_str());
    return nimbo::kExitError;
  }
  CReplayScript script;
  if (!ParseReplayScript(text.str(), strScript, script, strError)) {
    std::fprintf(stderr, "%s\n", strError.c_str());
    return nimbo::kExitError;
  }
  // The script's set-up lines give the directories unless the command line does.
  if (!GivesOption(args, "--project") && !script.strProjectDir.empty()) options.strProjectDir = script.strProjectDir;
  if (!GivesOption(args, "--programs") && !script.strProgramsDir.empty())
    options.strProgramsDir = script.strProgramsDir;
  {
    CProjectManagerObject manager;
    if (!nimbo::OpenHost("replay", options, manager)) return nimbo::kExitError;
  }
  CReplayOptions replay;
  replay.strScriptPath = strScript;
  replay.strProjectDir = options.strProjectDir;
  replay.strProgramsDir = options.strProgramsDir;
  const int nStatus = RunReplay(script, replay, stdout);
  std::fflush(stdout);
  return nStatus == 0 ? nimbo::kExitOk : nimbo::kExitError;
}

}  // namespace

NIMBO_COMMAND_GROUP(replay)

std::vector<nimbo::CCommand> nimbo::replay::Commands() {
  return {{"replay", "run an editing session from a script and print every step (--help: the format)",
           RunReplayCommand},
          DemoCommand()};
}
