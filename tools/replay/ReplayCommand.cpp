// nimbo replay: runs an editing session written as a script through the
// host harness and prints every observable step.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/replay/DemoCommand.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/WholeFile.h"
#include "tools/replay/ReplayRunner.h"
#include "tools/replay/ReplayScript.h"
#include "obrin/CProjectManagerObject.h"

namespace {

// What the command line of `nimbo replay` gave; the options tell whether a
// directory was given there or is left to the script's set-up lines.
struct CReplayArgs {
  nimbo::CHostOptions options;
  std::string strScript;
  CLI::Option* pProjectOption = nullptr;
  CLI::Option* pProgramsOption = nullptr;
};

int RunReplayCommand(const CReplayArgs& args) {
  nimbo::CHostOptions options = args.options;
  std::string strError;
  const std::string& strScript = args.strScript;
  std::string strText;
  if (!nimbo::ReadWholeFile(strScript, strText, strError)) {
    std::fprintf(stderr, "nimbo replay: %s\n", strError.c_str());
    return nimbo::kExitError;
  }
  CReplayScript script;
  if (!ParseReplayScript(strText, strScript, script, strError)) {
    std::fprintf(stderr, "%s\n", strError.c_str());
    return nimbo::kExitError;
  }
  // The script's set-up lines give the directories unless the command line does.
  if (args.pProjectOption->count() == 0 && !script.strProjectDir.empty()) options.strProjectDir = script.strProjectDir;
  if (args.pProgramsOption->count() == 0 && !script.strProgramsDir.empty())
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

void DefineReplay(CLI::App& command, int& nStatus) {
  nimbo::SetUsage(command, "nimbo replay SCRIPT [--project DIR] [--programs DIR]");
  command.footer(ReplayFormat());
  nimbo::SetExamples(command, {"nimbo replay session.replay",
                               "nimbo replay session.replay --project ~/scripts  # its scripts from your project"});
  auto pArgs = std::make_shared<CReplayArgs>();
  nimbo::AddHostOptions(command, pArgs->options);
  pArgs->pProjectOption = command.get_option("--project");
  pArgs->pProgramsOption = command.get_option("--programs");
  command.add_option("SCRIPT", pArgs->strScript, "the editing session, one action a line")->required();
  command.callback([pArgs, &nStatus] { nStatus = RunReplayCommand(*pArgs); });
}

}  // namespace

NIMBO_COMMAND_GROUP(replay)

std::vector<nimbo::CCommand> nimbo::replay::Commands() {
  return {{"replay", "run an editing session from a script and print every step (--help: the format)",
           DefineReplay},
          DemoCommand()};
}
