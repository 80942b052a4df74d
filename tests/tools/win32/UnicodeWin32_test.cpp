// nimbo.exe's text is UTF-8 whatever the script of its characters: an
// argument, a value written to a file and printed back, and the names of the
// folder and the file it works in. The names on the disk are checked in
// UTF-16 (std::filesystem::u8path), so that a name written in another code
// page does not pass for the right one.
#include <gtest/gtest.h>

#include <direct.h>

#include <filesystem>

#include "RunNimbo.h"

namespace {

TEST(UnicodeWin32, IniKeepsTextAndFileNamesOfEveryScript) {
  nimbotest::CScratch scratch;
  ASSERT_FALSE(scratch.Dir().empty());
  // Latin-1, Polish (outside Latin-1), CJK, and an emoji outside UTF-16's
  // first plane: no single ANSI code page holds them all.
  for (const std::string strText :
       {"Projet \u00e9t\u00e9 \u00fc", "\u0141\u00f3d\u017a", "\u65e5\u672c", "\U0001F600"}) {
    const std::string strDir = scratch.Dir() + "/" + strText + " 1";
    ASSERT_EQ(_mkdir(strDir.c_str()), 0) << strText;
    const std::string strFile = strDir + "/" + strText + ".ini";
    const std::string strQuoted = "'" + strText + "'";

    nimbotest::CRun run =
        nimbotest::RunNimbo(scratch.Dir(), "ini set '" + strFile + "' " + strQuoted + " Key " + strQuoted);
    EXPECT_EQ(run.nStatus, 0) << strText << ": " << run.strErr;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(strFile))) << strText;
    EXPECT_EQ(nimbotest::ReadText(strFile), "[" + strText + "]\r\nKey=" + strText + "\r\n\r\n") << strText;

    run = nimbotest::RunNimbo(scratch.Dir(), "ini get '" + strFile + "' " + strQuoted + " Key");
    EXPECT_EQ(run.nStatus, 0) << strText << ": " << run.strErr;
    EXPECT_EQ(run.strOut, strText + "\n");

    // A failure names the file as it was given.
    run = nimbotest::RunNimbo(scratch.Dir(), "ini get '" + strDir + "/no " + strText + ".ini' S K");
    EXPECT_NE(run.nStatus, 0) << strText;
    EXPECT_NE(run.strErr.find("no " + strText + ".ini"), std::string::npos) << run.strErr;
  }
}

}  // namespace
