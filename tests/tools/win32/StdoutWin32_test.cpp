// nimbo.exe's standard output byte for byte: the lines it prints end in
// CR LF (the C runtime's text mode, Windows' own), and the text of a file
// that `nimbo ini cat` prints keeps the file's own CR LF, not CR CR LF.
#include <gtest/gtest.h>

#include "RunNimbo.h"

namespace {

TEST(StdoutWin32, LinesEndInCrLfAndCatGivesTheFilesBytes) {
  nimbotest::CScratch scratch;
  ASSERT_FALSE(scratch.Dir().empty());
  const std::string strFile = scratch.Dir() + "/a.ini";
  const std::string strOut = scratch.Dir() + "/stdout";
  nimbotest::WriteText(strFile, "[Main]\r\nName=Bob\r\n\r\n");

  EXPECT_EQ(nimbotest::RunNimbo(scratch.Dir(), "ini cat '" + strFile + "'").nStatus, 0);
  EXPECT_EQ(nimbotest::ReadText(strOut), "[Main]\r\nName=Bob\r\n\r\n");
  EXPECT_EQ(nimbotest::RunNimbo(scratch.Dir(), "ini get '" + strFile + "' Main Name").nStatus, 0);
  EXPECT_EQ(nimbotest::ReadText(strOut), "Bob\r\n");
  EXPECT_EQ(nimbotest::RunNimbo(scratch.Dir(), "--version").nStatus, 0);
  EXPECT_EQ(nimbotest::ReadText(strOut), "nimbo " NIMBO_VERSION "\r\n");
}

}  // namespace
