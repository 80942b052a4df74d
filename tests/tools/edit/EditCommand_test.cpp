// `nimbo edit` on bad input, before any terminal is taken over: one line on
// stderr and status 2, never a crash.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "RunNimbo.h"

namespace {

const std::string kFixture = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/replay/fixture";

using nimbotest::CRun;

// Runs nimbo edit with stdin and stdout that are no terminal.
CRun RunEdit(const std::string& strArgs) {
  nimbotest::CScratch scratch;
  return nimbotest::RunNimbo(scratch.Dir(), "edit " + strArgs);
}

const std::string kOptions = " --project '" + kFixture + "/project' --programs '" + kFixture + "/Programs'";

TEST(EditCommand, BadInputIsOneLineAndStatusTwo) {
  struct {
    std::string strArgs;
    const char* pszMessage;
  } const cases[] = {
      {"main.nsc" + kOptions, "nimbo edit: needs a terminal"},
      {"nope.nsc" + kOptions, "nimbo edit: file not found: nope.nsc"},
      {"'" + kFixture + "/project'" + kOptions, "nimbo edit: not a regular file: "},
      {"--project /nonexistent/dir", "nimbo edit: project directory not found or not readable: /nonexistent/dir"},
      {"--programs '" + kFixture + "/project/main.nsc'", "nimbo edit: programs directory not found or not readable"},
      {"--project", "nimbo edit: option --project needs a directory"},
      {"--bogus" + kOptions, "nimbo edit: unknown option '--bogus'"},
  };
  for (const auto& bad : cases) {
    const CRun run = RunEdit(bad.strArgs);
    EXPECT_EQ(run.nStatus, 2) << bad.strArgs;
    EXPECT_EQ(run.strErr.compare(0, std::string(bad.pszMessage).size(), bad.pszMessage), 0) << run.strErr;
    EXPECT_EQ(run.strErr.find('\n'), run.strErr.size() - 1) << "not one line: " << run.strErr;
    EXPECT_EQ(run.strOut, "");
  }
}

TEST(EditCommand, HelpListsTheKeys) {
  const CRun run = RunEdit("--help");
  EXPECT_EQ(run.nStatus, 0);
  for (const char* pszKey : {"Ctrl+Space", "F2", "Ctrl+S", "Ctrl+Q", "Esc"})
    EXPECT_NE(run.strOut.find(pszKey), std::string::npos) << pszKey;
}

}  // namespace
