// Tests of the INI text form: the reader against fixture files, the writer's
// exact bytes, the flags and path after loads and saves, and failed saves.
#include "ini/CIniFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "IniTestUtil.h"
#include "tamsin/CPathEx.h"

namespace {

using initest::CScratchDir;
using initest::Dump;
using initest::Entries;
using initest::FileExists;
using initest::ReadFile;
using initest::WriteFile;

const std::string kDataDir = std::string(NIMBO_SOURCE_DIR) + "/tests/ini/data";

std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  for (const std::string& strName : Entries(kDataDir))
    if (strName.size() > 4 && strName.compare(strName.size() - 4, 4, ".ini") == 0)
      names.push_back(strName.substr(0, strName.size() - 4));
  std::sort(names.begin(), names.end());
  return names;
}

// Each fixture NAME.ini is loaded and compared with NAME.expected: the
// result of Load, then the dump of what the document holds.
TEST(IniText, FixturesLoadAsExpected) {
  const std::vector<std::string> names = FixtureNames();
  ASSERT_GE(names.size(), 10u);
  for (const std::string& strName : names) {
    SCOPED_TRACE(strName);
    CIniFile ini;
    const bool bResult = ini.Load((kDataDir + "/" + strName + ".ini").c_str(), false);
    const std::string strActual = std::string("result: ") + (bResult ? "true" : "false") + "\n" + Dump(ini);
    EXPECT_EQ(strActual, ReadFile(kDataDir + "/" + strName + ".expected"));
  }
}

TEST(IniText, CrLfAndLfLoadAlike) {
  CScratchDir dir;
  WriteFile(dir / "lf.ini", "[A]\nx=1\n\n[B]\ny\n");
  WriteFile(dir / "crlf.ini", "[A]\r\nx=1\r\n\r\n[B]\r\ny\r\n");
  CIniFile lf, crlf;
  ASSERT_TRUE(lf.Load((dir / "lf.ini").c_str(), false));
  ASSERT_TRUE(crlf.Load((dir / "crlf.ini").c_str(), false));
  EXPECT_EQ(Dump(lf), Dump(crlf));
  EXPECT_EQ(Dump(lf), "[\"A\"]\n  \"x\" = \"1\"\n[\"B\"]\n  \"y\" = \"\"\n");
}

TEST(IniText, CrLfSplitAcrossTheReadBuffer) {
  // The reader's buffer is filled in large blocks; a CR at the end of one
  // block and its LF at the start of the next must still make one LF.
  CScratchDir dir;
  for (size_t nPad : {65536u - 9u, 65536u - 8u, 65536u - 7u}) {
    std::string strText = "[S]\r\nk=" + std::string(nPad, 'v') + "\r\nnext=1\r\n";
    WriteFile(dir / "big.ini", strText);
    CIniFile ini;
    ASSERT_TRUE(ini.Load((dir / "big.ini").c_str(), false));
    EXPECT_EQ(ini.GetString("S", "k", "?").GetLength(), static_cast<int>(nPad));
    EXPECT_STREQ(ini.GetString("S", "next", "?"), "1");
  }
}

TEST(IniText, LoadSetsPathAndFlags) {
  CScratchDir dir;
  const std::string strPath = dir / "a.ini";
  WriteFile(strPath, "[A]\nk=\n");
  CIniFile ini;
  ini.SetModified(true);
  ASSERT_TRUE(ini.Load(strPath.c_str(), true));
  EXPECT_FALSE(ini.IsModified());
  EXPECT_STREQ(ini.GetFilePath(), strPath.c_str());

  // A failed open empties the document, sets the path, keeps the flag.
  ini.SetModified(true);
  EXPECT_FALSE(ini.Load((dir / "missing.ini").c_str(), false));
  EXPECT_EQ(ini.GetCount(), 0);
  EXPECT_TRUE(ini.IsModified());
  EXPECT_STREQ(ini.GetFilePath(), (dir / "missing.ini").c_str());

  // A malformed line keeps what came before it and the flag.
  WriteFile(dir / "bad.ini", "[A]\nk=1\n[B\n");
  EXPECT_FALSE(ini.Load((dir / "bad.ini").c_str(), false));
  EXPECT_EQ(Dump(ini), "[\"A\"]\n  \"k\" = \"1\"\n");
  EXPECT_TRUE(ini.IsModified());
}

TEST(IniText, ReadErrorReportsFalseAndClearsTheFlag) {
  CScratchDir dir;
  CIniFile ini;
  ini.SetModified(true);
  // A directory opens for reading here but cannot be read.
  EXPECT_FALSE(ini.Load(dir.Path().c_str(), false));
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniText, WriterBytesAreExact) {
  CScratchDir dir;
  CIniFile ini;
  ini.SetString("Main", "Width", "10");
  ini.SetString("Main", "Empty", "");
  ini.SetString(" sp ", " k ", " v=w ");
  CStringList keys;
  ini.GetKeys("Bare", keys);
  const std::string strPath = dir / "out.ini";
  ASSERT_TRUE(ini.SaveAs(strPath.c_str()));
  EXPECT_EQ(ReadFile(strPath),
            "[Main]\r\nWidth=10\r\nEmpty=\r\n\r\n[ sp ]\r\n k = v=w \r\n\r\n[Bare]\r\n\r\n");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.ini"});
}

TEST(IniText, KeyOnlyLinesDecideHowEmptyValuesAreWritten) {
  CScratchDir dir;
  const std::string strIn = dir / "in.ini";
  WriteFile(strIn, "[S]\nalone\nwith=\nfull=x\n");
  CIniFile ini;
  ASSERT_TRUE(ini.Load(strIn.c_str(), true));
  ASSERT_TRUE(ini.SaveAs((dir / "keyonly.ini").c_str()));
  EXPECT_EQ(ReadFile(dir / "keyonly.ini"), "[S]\r\nalone\r\nwith\r\nfull=x\r\n\r\n");
  ASSERT_TRUE(ini.Load(strIn.c_str(), false));
  ASSERT_TRUE(ini.SaveAs((dir / "equals.ini").c_str()));
  EXPECT_EQ(ReadFile(dir / "equals.ini"), "[S]\r\nalone=\r\nwith=\r\nfull=x\r\n\r\n");
  CIniFile a, b;
  ASSERT_TRUE(a.Load((dir / "keyonly.ini").c_str(), false));
  ASSERT_TRUE(b.Load((dir / "equals.ini").c_str(), false));
  EXPECT_EQ(Dump(a), Dump(b));
}

TEST(IniText, EmptyDocumentGivesEmptyFile) {
  CScratchDir dir;
  CIniFile ini;
  ASSERT_TRUE(ini.SaveAs((dir / "empty.ini").c_str()));
  EXPECT_TRUE(FileExists(dir / "empty.ini"));
  EXPECT_EQ(ReadFile(dir / "empty.ini"), "");
}

TEST(IniText, SaveAsRemembersPathAndClearsFlag) {
  CScratchDir dir;
  CIniFile ini;
  ini.SetString("A", "b", "c");
  EXPECT_TRUE(ini.IsModified());
  EXPECT_FALSE(ini.Save());  // no path yet
  EXPECT_TRUE(ini.IsModified());
  const std::string strPath = dir / "deep/er/x.ini";
  ASSERT_TRUE(ini.SaveAs(strPath.c_str()));
  EXPECT_STREQ(ini.GetFilePath(), strPath.c_str());
  EXPECT_FALSE(ini.IsModified());
  ini.SetInt("A", "n", 3);
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(ReadFile(strPath), "[A]\r\nb=c\r\nn=3\r\n\r\n");
  ini.SetFilePath((dir / "other.ini").c_str());
  ASSERT_TRUE(ini.Save());
  EXPECT_TRUE(FileExists(dir / "other.ini"));
}

TEST(IniText, SaveAsFailuresChangeNothing) {
  CScratchDir dir;
  const std::string strBlocker = dir / "file";
  WriteFile(strBlocker, "not a directory");
  CIniFile ini;
  ini.SetString("A", "b", "c");
  ini.SetFilePath("/kept");
  EXPECT_FALSE(ini.SaveAs(""));
  EXPECT_FALSE(ini.SaveAs(nullptr));
  // A directory of the path cannot be made: a file is in the way.
  EXPECT_FALSE(ini.SaveAs((strBlocker + "/sub/x.ini").c_str()));
  // The directories exist, but the file cannot be created there.
  EXPECT_FALSE(ini.SaveAs("/proc/nimbo_cannot_write.ini"));
  // The target is a directory: it cannot be replaced by a file.
  EXPECT_FALSE(ini.SaveAs(dir.Path().c_str()));
  EXPECT_STREQ(ini.GetFilePath(), "/kept");
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(ReadFile(strBlocker), "not a directory");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"file"});
}

// Where a read-only mode binds this process: the read-only attribute on
// Windows, any user but root on POSIX (tests/robustness covers that case as
// an unprivileged user).
TEST(IniText, ReadOnlyFileIsLeftAlone) {
  CScratchDir dir;
  const std::string strPath = dir / "ro.ini";
  WriteFile(strPath, "[Old]\r\n\r\n");
  ASSERT_EQ(::chmod(strPath.c_str(), 0444), 0);
  if (::access(strPath.c_str(), W_OK) == 0) GTEST_SKIP() << "this process writes read-only files";
  CIniFile ini;
  ini.SetString("New", "k", "v");
  EXPECT_FALSE(ini.SaveAs(strPath.c_str()));
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(ReadFile(strPath), "[Old]\r\n\r\n");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"ro.ini"});
  ::chmod(strPath.c_str(), 0666);  // so that the scratch directory can go
}

TEST(IniText, SavesIntoNewFoldersJoinedByThePathClass) {
  CScratchDir dir;
  CIniFile ini;
  ini.SetString("A", "b", "c");
  const CPathEx path = CPathEx(dir.Path().c_str()) ^ "new" ^ "nested" ^ "x.ini";
  ASSERT_TRUE(ini.SaveAs(path));
  EXPECT_EQ(ReadFile(static_cast<LPCTSTR>(path)), "[A]\r\nb=c\r\n\r\n");
}

TEST(IniText, DirectoriesMadeBeforeAFailureRemain) {
  CScratchDir dir;
  CIniFile ini;
  // "made" is created, then "x.ini" cannot be created inside a directory
  // named like the target.
  ASSERT_EQ(::mkdir((dir / "made").c_str(), 0777), 0);
  ASSERT_EQ(::mkdir((dir / "made/x.ini").c_str(), 0777), 0);
  EXPECT_FALSE(ini.SaveAs((dir / "made/x.ini").c_str()));
  EXPECT_FALSE(ini.SaveAs((dir / "new/also/x.ini/").c_str()));
  EXPECT_TRUE(FileExists(dir / "new/also/x.ini"));
}

// A write that fails part way (the file-size limit stands in for a full disk)
// makes SaveAs return false and leaves the previous file untouched.
TEST(IniText, FailedWriteKeepsThePreviousFile) {
  CScratchDir dir;
  const std::string strPath = dir / "keep.ini";
  WriteFile(strPath, "[Old]\r\nkept=1\r\n\r\n");
  CIniFile ini;
  ini.SetFilePath(strPath.c_str());
  for (int i = 0; i < 20000; ++i) ini.SetInt("Big", CString(std::to_string(i)), i);

  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  void (*previous)(int) = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool bSaved = ini.Save();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);

  EXPECT_FALSE(bSaved);
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(ReadFile(strPath), "[Old]\r\nkept=1\r\n\r\n");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"keep.ini"});
  ASSERT_TRUE(ini.Save());  // the same document saves once there is room
  CIniFile back;
  ASSERT_TRUE(back.Load(strPath.c_str(), false));
  EXPECT_EQ(back.GetInt("big", "19999", -1), 19999);
}

TEST(IniText, SavingOverAFileKeepsItsPermissions) {
  CScratchDir dir;
  const std::string strPath = dir / "private.ini";
  WriteFile(strPath, "[Old]\r\n\r\n");
  ASSERT_EQ(::chmod(strPath.c_str(), 0600), 0);
  CIniFile ini;
  ini.SetString("New", "k", "v");
  ASSERT_TRUE(ini.SaveAs(strPath.c_str()));
  struct stat info;
  ASSERT_EQ(::stat(strPath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFile(strPath), "[New]\r\nk=v\r\n\r\n");
}

TEST(IniText, LoadAndSaveWithTheDocumentsOwnPath) {
  CScratchDir dir;
  CIniFile ini;
  ini.SetString("A", "b", "c");
  ini.SetFilePath((dir / "self.ini").c_str());
  ASSERT_TRUE(ini.Save());
  ASSERT_TRUE(ini.Load(ini.GetFilePath(), false));
  EXPECT_STREQ(ini.GetFilePath(), (dir / "self.ini").c_str());
  EXPECT_STREQ(ini.GetString("A", "b", ""), "c");
  // Saved over itself, shorter: the new text alone, and nothing left beside it.
  ASSERT_TRUE(ini.RemoveKey("A", "b"));
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(ReadFile(dir / "self.ini"), "[A]\r\n\r\n");
  EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"self.ini"});
}

}  // namespace
