// Tests of the nimbo command line as a whole: every command and ini action
// has a help text, a parse error is one line that names the bad argument
// with status 2, and `nimbo help` and `--version` answer as documented.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "RunNimbo.h"

namespace {

using nimbotest::CRun;
using nimbotest::CScratch;
using nimbotest::RunNimbo;

TEST(CommandLine, EveryCommandAndActionHasAHelpTextThatHelpAlsoShows) {
  CScratch scratch;
  for (const std::string strCommand :
       {"", "demo", "edit", "functions", "lsp", "replay", "ini", "ini get", "ini set", "ini keys", "ini sections",
        "ini rename-section", "ini rename-key", "ini remove-section", "ini remove-key", "ini clear-section",
        "ini cat", "ini pack", "ini unpack"}) {
    const CRun run = RunNimbo(scratch.Dir(), strCommand + " --help");
    EXPECT_EQ(run.nStatus, 0) << strCommand;
    EXPECT_EQ(run.strErr, "") << strCommand;
    const std::string strUsage = "usage: nimbo" + (strCommand.empty() ? "" : " " + strCommand) + " ";
    EXPECT_NE(run.strOut.find(strUsage), std::string::npos) << run.strOut;
    const CRun help = RunNimbo(scratch.Dir(), "help " + strCommand);
    EXPECT_EQ(help.nStatus, 0) << strCommand;
    EXPECT_EQ(help.strOut, run.strOut) << strCommand;
  }
}

TEST(CommandLine, ParseErrorsAreOneLineNamingTheArgumentWithStatusTwo) {
  struct {
    const char* pszArgs;
    const char* pszMessage;
  } const cases[] = {
      {"", "nimbo: a command is needed"},
      {"frob", "nimbo: unknown command 'frob'"},
      {"--frob", "nimbo: unknown option '--frob'"},
      {"functions extra", "nimbo functions: unexpected argument 'extra'"},
      {"functions --project", "nimbo functions: option --project needs a directory"},
      {"demo --programs a --programs b", "nimbo demo: option --programs given twice"},
      {"lsp --programs", "nimbo lsp: option --programs needs a directory"},
      {"lsp extra", "nimbo lsp: unexpected argument 'extra'"},
      {"replay", "nimbo replay: SCRIPT is required"},
      {"ini", "nimbo ini: an action is needed"},
      {"ini frob f", "nimbo ini: unknown action 'frob'"},
      {"ini get f s", "nimbo ini get: KEY is required"},
      {"ini get f s k --default", "nimbo ini get: option --default needs a value"},
      {"ini get f s k --int --bool", "nimbo ini get: --int excludes --bool"},
      {"ini keys f s --key-only", "nimbo ini keys: unknown option '--key-only'"},
  };
  CScratch scratch;
  for (const auto& bad : cases) {
    const CRun run = RunNimbo(scratch.Dir(), bad.pszArgs);
    EXPECT_EQ(run.nStatus, 2) << bad.pszArgs;
    EXPECT_EQ(run.strOut, "") << bad.pszArgs;
    EXPECT_EQ(run.strErr.compare(0, std::string(bad.pszMessage).size(), bad.pszMessage), 0) << run.strErr;
    EXPECT_NE(run.strErr.find(" (usage: nimbo"), std::string::npos) << run.strErr;
    EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;
  }
}

TEST(CommandLine, VersionIsTheProjectVersion) {
  CScratch scratch;
  const CRun run = RunNimbo(scratch.Dir(), "--version");
  EXPECT_EQ(run.nStatus, 0);
  EXPECT_EQ(run.strOut, "nimbo " NIMBO_VERSION "\n");
}

}  // namespace
