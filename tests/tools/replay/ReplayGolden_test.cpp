// Golden-file tests of `nimbo replay`: each case script of cases/ runs on a
// copy of the fixture project and its output must equal the checked-in
// cases/<case>.expected. NIMBO_UPDATE_GOLDEN=1 rewrites the expected files
// instead (review the diff before committing them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "RunNimbo.h"

namespace {

const std::string kHere = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/replay";

using nimbotest::CRun;
using nimbotest::CScratch;

// The first line where two texts differ, for a readable failure.
std::string FirstDifference(const std::string& strExpected, const std::string& strActual) {
  std::istringstream expected(strExpected);
  std::istringstream actual(strActual);
  std::string a;
  std::string b;
  for (int nLine = 1;; ++nLine) {
    const bool bA = static_cast<bool>(std::getline(expected, a));
    const bool bB = static_cast<bool>(std::getline(actual, b));
    if (!bA && !bB) return "no difference";
    if (!bA || !bB || a != b)
      return "line " + std::to_string(nLine) + ":\n  expected: " + (bA ? a : "<end>") + "\n  actual:   " +
             (bB ? b : "<end>");
  }
}

class ReplayGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ReplayGolden, OutputMatchesExpected) {
  const std::string strCase = GetParam();
  CScratch scratch;
  ASSERT_FALSE(scratch.Dir().empty());
  // A copy, so that the cases that save change nothing checked in.
  ASSERT_EQ(std::system(("cp -R '" + kHere + "/fixture/project' '" + kHere + "/fixture/Programs' '" + scratch.Dir() +
                         "/'").c_str()),
            0);
  const std::string strScript = kHere + "/cases/" + strCase + ".replay";
  const CRun run = nimbotest::RunNimbo(scratch.Dir(), "replay '" + strScript + "' --project '" + scratch.Dir() +
                                                     "/project' --programs '" + scratch.Dir() + "/Programs'");
  ASSERT_EQ(run.nStatus, 0) << run.strErr;
  EXPECT_EQ(run.strErr, "");
  const std::string strExpectedPath = kHere + "/cases/" + strCase + ".expected";
  const char* pszUpdate = std::getenv("NIMBO_UPDATE_GOLDEN");
  if (pszUpdate != nullptr && std::string(pszUpdate) == "1") {
    nimbotest::WriteText(strExpectedPath, run.strOut);
    GTEST_SKIP() << "rewrote " << strExpectedPath;
  }
  const std::string strExpected = nimbotest::ReadText(strExpectedPath);
  ASSERT_FALSE(strExpected.empty()) << "no expected output: " << strExpectedPath;
  EXPECT_TRUE(run.strOut == strExpected) << strCase << ": " << FirstDifference(strExpected, run.strOut);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplayGolden,
                         ::testing::Values("simple_call", "closing_paren", "comment_refused", "focus_loss",
                                           "multi_line", "list_fill", "near_bottom", "save_reinit",
                                           "name_and_mouse"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
