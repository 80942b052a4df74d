// `nimbo replay` and `nimbo demo` on bad input: a bad script line is named
// with its file and line before anything runs, a failing action stops the
// replay, missing directories are one-line errors, and a broken function
// wizard is shown as the library takes it (no built-in functions).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunNimbo.h"

namespace {

const std::string kHere = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/replay";

using nimbotest::CRun;
using nimbotest::CScratch;

const std::string kFixtureOptions =
    " --project '" + kHere + "/fixture/project' --programs '" + kHere + "/fixture/Programs'";

size_t CountLines(const std::string& strText) {
  size_t n = 0;
  for (char ch : strText) n += ch == '\n' ? 1 : 0;
  return n;
}

struct CBadScript {
  const char* pszScript;
  int nLine;
  const char* pszMessage;
};

TEST(ReplayErrors, BadScriptLinesAreNamedWithFileAndLineAndNothingRuns) {
  const CBadScript cases[] = {
      {"jump 3\n", 1, "unknown action 'jump'"},
      {"# a comment\n\ntype\n", 3, "type needs a text"},
      {"type \"abc\n", 1, "missing closing quote"},
      {"type \"a\\qb\"\n", 1, "unknown escape \\q"},
      {"type \"a\" b\n", 1, "text after the closing quote"},
      {"key Banana\n", 1, "unknown key 'Banana'"},
      {"key Left 0\n", 1, "bad count '0'"},
      {"key Left 2 3\n", 1, "key needs a key name and an optional count"},
      {"keydown Ctrl+Space\n", 1, "keydown takes a key of the editor"},
      {"click 3\n", 1, "click needs LINE COLUMN"},
      {"caret 0 1\n", 1, "caret needs LINE COLUMN"},
      {"screen 80 x\n", 1, "screen needs COLUMNS ROWS"},
      {"screen 80 999999\n", 1, "screen takes at most 1000 columns and 500 rows"},
      {"name now\n", 1, "name takes no argument"},
      {"open\n", 1, "open needs a file"},
      {"where\nproject .\n", 2, "project must come before the first action"},
  };
  for (const CBadScript& bad : cases) {
    CScratch scratch;
    const std::string strScript = scratch.Dir() + "/bad.replay";
    nimbotest::WriteText(strScript, bad.pszScript);
    const CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "'" + kFixtureOptions);
    EXPECT_EQ(run.nStatus, 2) << bad.pszScript;
    EXPECT_EQ(run.strOut, "") << bad.pszScript;
    const std::string strWhere = strScript + ":" + std::to_string(bad.nLine) + ": ";
    EXPECT_EQ(run.strErr.compare(0, strWhere.size(), strWhere), 0) << run.strErr;
    EXPECT_NE(run.strErr.find(bad.pszMessage), std::string::npos) << run.strErr;
    EXPECT_EQ(CountLines(run.strErr), 1u) << run.strErr;
  }
}

TEST(ReplayErrors, AFailingActionStopsTheReplayAfterTheStepsBeforeIt) {
  CScratch scratch;
  const std::string strScript = scratch.Dir() + "/open.replay";
  nimbotest::WriteText(strScript, "text \"Print(\"\nopen nope.nsc\nwhere\n");
  const CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "'" + kFixtureOptions);
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_EQ(run.strOut, "1: text \"Print(\"\n2: open nope.nsc\n");
  EXPECT_EQ(run.strErr, strScript + ":2: file not found: nope.nsc\n");
}

TEST(ReplayErrors, MissingScriptOrDirectoriesAreOneLineErrors) {
  CScratch scratch;
  CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + scratch.Dir() + "/none.replay'" + kFixtureOptions);
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_EQ(run.strErr, "nimbo replay: cannot read " + scratch.Dir() + "/none.replay: No such file or directory\n");
  run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + scratch.Dir() + "'" + kFixtureOptions);
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_EQ(run.strErr, "nimbo replay: cannot read " + scratch.Dir() + ": Is a directory\n");

  const std::string strScript = scratch.Dir() + "/ok.replay";
  nimbotest::WriteText(strScript, "where\n");
  run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "' --project '" + scratch.Dir() + "/none'");
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_NE(run.strErr.find("project directory not found or not readable"), std::string::npos) << run.strErr;
  EXPECT_EQ(CountLines(run.strErr), 1u);
  EXPECT_EQ(run.strOut, "");

  // A file where a directory belongs.
  run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "' --programs '" + strScript + "'");
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_NE(run.strErr.find("programs directory not found or not readable"), std::string::npos) << run.strErr;

  run = nimbotest::RunNimbo(scratch.Dir(), "replay");
  EXPECT_EQ(run.nStatus, 2);
  EXPECT_NE(run.strErr.find("usage: nimbo replay SCRIPT"), std::string::npos);
}

TEST(ReplayErrors, ABrokenFunctionWizardLeavesOnlyTheProjectsFunctions) {
  const std::vector<std::string> wizards = {
      std::string("\x01\x02\xff\xfe[[[\0\0garbage]\n=\n", 20),
      "[FuncWiz - Category - All]\n1=Ghost\n2=\n=x\n[Ghost\nSampleLine\n",
      "",
  };
  for (const std::string& strWizard : wizards) {
    CScratch scratch;
    ASSERT_EQ(std::system(("mkdir '" + scratch.Dir() + "/Programs'").c_str()), 0);
    nimbotest::WriteText(scratch.Dir() + "/Programs/funcwiz.ini", strWizard);
    const std::string strScript = scratch.Dir() + "/list.replay";
    nimbotest::WriteText(strScript, "text \"Print(\"\nlist\n");
    const CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "' --project '" + kHere +
                                                       "/fixture/project' --programs '" + scratch.Dir() + "/Programs'");
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strOut,
              "1: text \"Print(\"\n2: list\n  list-filled count=3\n  item=0 icon=project name=\"Main\"\n"
              "  item=1 icon=project name=\"Greet\"\n  item=2 icon=project name=\"Clamp\"\n");
  }
}

TEST(ReplayErrors, HelpDescribesTheFormat) {
  CScratch scratch;
  const CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay --help");
  EXPECT_EQ(run.nStatus, 0);
  for (const char* pszPart : {"type TEXT", "key NAME", "tip-created at=(X,Y)", "tip-moved param=N", "kill-focus-parent",
                              "list-filled count=N", "FILE:LINE: message"})
    EXPECT_NE(run.strOut.find(pszPart), std::string::npos) << pszPart;
}

TEST(Demo, PrintsTheScreensAndLeavesTheSamplesAlone) {
  CScratch scratch;
  const std::string strMoney = std::string(NIMBO_SOURCE_DIR) + "/samples/project/money.nsc";
  const std::string strBefore = nimbotest::ReadText(strMoney);
  const CRun run = nimbotest::RunNimbo(scratch.Dir(), "demo");
  EXPECT_EQ(run.nStatus, 0) << run.strErr;
  EXPECT_EQ(run.strErr, "");
  // The marked parameter moves with the comma; the list and a saved function show.
  EXPECT_NE(run.strOut.find("StrLeft([szText], nCount)"), std::string::npos);
  EXPECT_NE(run.strOut.find("StrLeft(szText, [nCount])"), std::string::npos);
  EXPECT_NE(run.strOut.find(">P FormatMoney"), std::string::npos);
  EXPECT_NE(run.strOut.find("Twice([nValue])"), std::string::npos);
  EXPECT_NE(run.strOut.find("== "), std::string::npos);
  EXPECT_EQ(nimbotest::ReadText(strMoney), strBefore);
}

}  // namespace
