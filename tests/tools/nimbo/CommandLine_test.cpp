// Tests of the nimbo command line as a whole: every command and ini action
// has a help text in the tool's own words with examples, a parse error is
// one line that names the bad argument (and the nearest good one) with
// status 2, `nimbo help` and `--version` answer as documented, and output
// that cannot be written is an error.
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
    EXPECT_NE(run.strOut.find("\nexamples:\n  nimbo "), std::string::npos) << run.strOut;
    // CLI11's own words stay out of the help.
    for (const char* pszRaw : {"REQUIRED", "Excludes", "Positionals", "Subcommands"})
      EXPECT_EQ(run.strOut.find(pszRaw), std::string::npos) << pszRaw << " in\n" << run.strOut;
  }
  // Each action names only the options it takes.
  const CRun keys = RunNimbo(scratch.Dir(), "ini keys --help");
  EXPECT_EQ(keys.strOut.find("--key-only"), std::string::npos) << keys.strOut;
  EXPECT_EQ(keys.strOut.find("--int"), std::string::npos) << keys.strOut;
  EXPECT_NE(RunNimbo(scratch.Dir(), "ini cat --help").strOut.find("--key-only"), std::string::npos);
}

TEST(CommandLine, BareNimboShowsItsHelpWithStatusTwo) {
  CScratch scratch;
  const CRun run = RunNimbo(scratch.Dir(), "");
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_EQ(run.strErr, "");
  EXPECT_EQ(run.strOut, RunNimbo(scratch.Dir(), "--help").strOut);
}

TEST(CommandLine, ParseErrorsAreOneLineNamingTheArgumentWithStatusTwo) {
  struct {
    const char* pszArgs;
    const char* pszMessage;
  } const cases[] = {
      {"frob", "nimbo: unknown command 'frob'"},
      {"edt", "nimbo: unknown command 'edt', did you mean 'edit'?"},
      {"fucntions", "nimbo: unknown command 'fucntions', did you mean 'functions'?"},
      {"functions --projct x", "nimbo functions: unknown option '--projct', did you mean '--project'?"},
      {"ini rename f a b", "nimbo ini: unknown action 'rename', did you mean 'rename-section' or 'rename-key'?"},
      {"help bogus", "nimbo help: unknown command 'bogus' (usage"},
      {"help ini bogus", "nimbo help: unknown action 'bogus' (usage"},
      {"help ini gte", "nimbo help: unknown action 'gte', did you mean 'get'?"},
      {"help edit extra", "nimbo help: 'edit' has no actions"},
      {"help ini get extra", "nimbo help: unexpected argument 'extra'"},
      {"--frob", "nimbo: unknown option '--frob'"},
      {"functions extra", "nimbo functions: unexpected argument 'extra'"},
      {"functions --project", "nimbo functions: option --project needs a directory"},
      {"demo --programs a --programs b", "nimbo demo: option --programs given twice"},
      {"lsp --programs", "nimbo lsp: option --programs needs a directory"},
      {"lsp extra", "nimbo lsp: unexpected argument 'extra'"},
      {"lsp --stdio --pipe=/tmp/p", "nimbo lsp: --pipe is not supported: the server talks over standard input and output only"},
      {"lsp --socket=6009", "nimbo lsp: --socket is not supported"},
      {"lsp --node-ipc", "nimbo lsp: --node-ipc is not supported"},
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

TEST(CommandLine, OutputThatCannotBeWrittenIsAnErrorButAReaderGoneIsQuiet) {
  CScratch scratch;
  const std::string strErr = scratch.Dir() + "/err";
  for (const std::string strArgs : {"--version", "help ini"}) {
    const int nRaw = std::system(("'" + nimbotest::kNimbo + "' " + strArgs + " >/dev/full 2>'" + strErr + "'").c_str());
    EXPECT_EQ(WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, 2) << strArgs;
    EXPECT_EQ(nimbotest::ReadText(strErr), "nimbo: cannot write to standard output: No space left on device\n");
  }
  // The reader of a pipe leaves after one line: no message (the status is the shell's for SIGPIPE).
  std::system(("'" + nimbotest::kNimbo + "' functions 2>'" + strErr + "' | head -c 1 >/dev/null").c_str());
  EXPECT_EQ(nimbotest::ReadText(strErr), "");
}

TEST(CommandLine, VersionIsTheProjectVersion) {
  CScratch scratch;
  const CRun run = RunNimbo(scratch.Dir(), "--version");
  EXPECT_EQ(run.nStatus, 0);
  EXPECT_EQ(run.strOut, "nimbo " NIMBO_VERSION "\n");
}

}  // namespace
