// Tests of `nimbo ini`: outputs and exit statuses of each action, and that a
// failed command leaves the file exactly as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "CArchive.h"
#include "CMemFile.h"
#include "FileSave.h"
#include "RunNimbo.h"
#include "ini/IniTestUtil.h"

namespace {

using initest::CScratchDir;
using initest::FileExists;
using initest::ReadFile;
using initest::WriteFile;

using CResult = nimbotest::CRun;

std::string Quote(const std::string& str) {
  std::string out = "'";
  for (char c : str) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

class IniCommand : public ::testing::Test {
 protected:
  CResult Run(const std::vector<std::string>& args) {
    std::string strArgs = "ini";
    for (const std::string& arg : args) strArgs += " " + Quote(arg);
    return nimbotest::RunNimbo(m_dir.Path(), strArgs);
  }
  std::string Path(const std::string& strName) const { return m_dir / strName; }

  // A failure: status 2, nothing on standard output, one line on standard
  // error that names the file.
  static void ExpectError(const CResult& result, const std::string& strFile) {
    EXPECT_EQ(result.nStatus, 2);
    EXPECT_EQ(result.strOut, "");
    EXPECT_NE(result.strErr.find(strFile), std::string::npos) << result.strErr;
    EXPECT_EQ(std::count(result.strErr.begin(), result.strErr.end(), '\n'), 1) << result.strErr;
  }

  CScratchDir m_dir;
};

const char kSample[] = "[Main]\r\nWidth=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Other]\r\nx=1\r\n\r\n";

TEST_F(IniCommand, GetValuesAndDefaults) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, kSample);
  CResult r = Run({"get", strFile, "main", "NAME"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "Bob\n");
  r = Run({"get", strFile, "Main", "Width", "--int"});
  EXPECT_EQ(r.strOut, "10\n");
  r = Run({"get", strFile, "Main", "Flag", "--bool"});
  EXPECT_EQ(r.strOut, "true\n");
  // A flag reads as the store reads it: any text but its true words is
  // false (status 0, as git config --bool has it); a number is read strictly.
  r = Run({"get", strFile, "Main", "Name", "--bool", "--default", "yes"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut + r.strErr, "false\n");
  r = Run({"get", strFile, "Main", "Flag", "--int"});
  ExpectError(r, strFile);
  EXPECT_NE(r.strErr.find("\"yes\" is not a number"), std::string::npos) << r.strErr;

  r = Run({"get", strFile, "Main", "Missing"});
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_EQ(r.strOut + r.strErr, "");
  r = Run({"get", strFile, "Nowhere", "x"});
  EXPECT_EQ(r.nStatus, 1);
  r = Run({"get", strFile, "Main", "Missing", "--default", "dflt"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "dflt\n");
  r = Run({"get", strFile, "Main", "Missing", "--int", "--default", "-4"});
  EXPECT_EQ(r.strOut, "-4\n");
  EXPECT_EQ(ReadFile(strFile), kSample);
}

TEST_F(IniCommand, UsageErrors) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, kSample);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate", strFile},
           {"get", strFile, "Main"},
           {"get", strFile, "Main", "Width", "--int", "--bool"},
           {"get", strFile, "Main", "Width", "--default"},
           {"get", strFile, "Main", "Width", "--int", "--default", "ten"},
           {"keys", strFile, "Main", "--int"},
           {"set", strFile, "Main", "Width", "1", "--default", "2"},
           {"sections", strFile, "--wat"},
           // --key-only only where INI text is written
           {"get", strFile, "Main", "Width", "--key-only"},
           {"pack", strFile, Path("a.bin"), "--key-only"}}) {
    const CResult r = Run(args);
    EXPECT_EQ(r.nStatus, 2);
    EXPECT_EQ(r.strOut, "");
    EXPECT_EQ(std::count(r.strErr.begin(), r.strErr.end(), '\n'), 1) << r.strErr;
  }
  EXPECT_EQ(ReadFile(strFile), kSample);
  EXPECT_FALSE(FileExists(Path("a.bin")));
  const CResult help = Run({"--help"});
  EXPECT_EQ(help.nStatus, 0);
  EXPECT_NE(help.strOut.find("rename-section"), std::string::npos);
}

TEST_F(IniCommand, UnreadableAndMalformedFiles) {
  ExpectError(Run({"get", Path("none.ini"), "S", "K"}), Path("none.ini"));
  const CResult dir = Run({"get", m_dir.Path(), "S", "K"});
  ExpectError(dir, m_dir.Path());
  EXPECT_NE(dir.strErr.find("Is a directory"), std::string::npos) << dir.strErr;
  const std::string strBad = Path("bad.ini");
  const std::string strText = "[Main]\r\na=1\r\n[Broken\r\nb=2\r\n";
  WriteFile(strBad, strText);
  ExpectError(Run({"get", strBad, "Main", "a"}), strBad);
  ExpectError(Run({"set", strBad, "Main", "a", "2"}), strBad);
  ExpectError(Run({"remove-key", strBad, "Main", "a"}), strBad);
  ExpectError(Run({"cat", strBad}), strBad);
  ExpectError(Run({"pack", strBad, Path("bad.bin")}), strBad);
  EXPECT_EQ(ReadFile(strBad), strText);
  EXPECT_FALSE(FileExists(Path("bad.bin")));
  EXPECT_FALSE(FileExists(Path("none.ini")));
}

// A file that an in-place save cut short begins with a zero byte; the copy
// of its earlier content that the save kept beside it is named, the newest
// first, and only where there is one.
TEST_F(IniCommand, ASaveCutShortNamesTheCopyBesideTheFile) {
  const std::string strFile = Path("cut.ini");
  WriteFile(strFile, std::string("\0Main]\r\na=2\r\n", 14));
  const CResult alone = Run({"get", strFile, "Main", "a"});
  ExpectError(alone, strFile);
  EXPECT_EQ(alone.strErr.find("cut short"), std::string::npos) << alone.strErr;
  const std::string strOlder = KeptCopyPrefix(strFile.c_str()) + "old001";
  const std::string strNewer = KeptCopyPrefix(strFile.c_str()) + "new002";
  WriteFile(Path(".~nbcffff-1-other1"), "[Main]\r\na=9\r\n");  // another file's copy is never named
  WriteFile(Path(strOlder), "[Main]\r\na=0\r\n");
  WriteFile(Path(strNewer), "[Main]\r\na=1\r\n");
  const std::filesystem::path older = Path(strOlder);
  std::filesystem::last_write_time(older, std::filesystem::last_write_time(older) - std::chrono::hours(24));
  for (const std::vector<std::string>& args : {std::vector<std::string>{"get", strFile, "Main", "a"},
                                               std::vector<std::string>{"set", strFile, "Main", "a", "3"}}) {
    const CResult r = Run(args);
    ExpectError(r, strFile);
    EXPECT_NE(r.strErr.find("cut short, and its earlier content is in"), std::string::npos) << r.strErr;
    EXPECT_NE(r.strErr.find(strNewer + " (older ones in 1 more copies"), std::string::npos) << r.strErr;
    EXPECT_EQ(r.strErr.find("other1"), std::string::npos) << r.strErr;
  }
}

TEST_F(IniCommand, SetCreatesAndChanges) {
  const std::string strFile = Path("sub/dir/new.ini");
  // No folder is made for a new file (a mistyped path is said, not built).
  ExpectError(Run({"set", strFile, "Win", "Width", "42"}), strFile);
  EXPECT_FALSE(FileExists(Path("sub")));
  std::filesystem::create_directories(Path("sub/dir"));
  CResult r = Run({"set", strFile, "Win", "Width", "42", "--int"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut + r.strErr, "");
  EXPECT_EQ(ReadFile(strFile), "[Win]\r\nWidth=42\r\n\r\n");
  ExpectError(Run({"set", strFile, "win", "Shown", "off", "--bool"}), strFile);  // "off" the store reads as false
  EXPECT_EQ(Run({"set", strFile, "win", "Shown", "no", "--bool"}).nStatus, 0);
  EXPECT_EQ(Run({"set", strFile, "WIN", "width", "a=b c"}).nStatus, 0);
  EXPECT_EQ(ReadFile(strFile), "[Win]\r\nWidth=a=b c\r\nShown=No\r\n\r\n");
}

TEST_F(IniCommand, FailedSetLeavesTheFile) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, kSample);
  ExpectError(Run({"set", strFile, "Main", "Width", "wide", "--int"}), strFile);
  ExpectError(Run({"set", strFile, "Main", "Flag", "perhaps", "--bool"}), strFile);
  ExpectError(Run({"set", strFile, "Main", "Width", "two\nlines"}), strFile);
  ExpectError(Run({"set", strFile, "Main", "a=b", "1"}), strFile);
  ExpectError(Run({"set", strFile, "Main", ";key", "1"}), strFile);
  ExpectError(Run({"set", strFile, "", "k", "1"}), strFile);
  EXPECT_EQ(ReadFile(strFile), kSample);
  // The file cannot be written: a regular file stands where a directory should.
  ExpectError(Run({"set", strFile + "/x.ini", "S", "k", "v"}), strFile + "/x.ini");
  ExpectError(Run({"set", "/proc/nimbo_no.ini", "S", "k", "v"}), "/proc/nimbo_no.ini");
  EXPECT_EQ(ReadFile(strFile), kSample);
}

TEST_F(IniCommand, KeysAndSections) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, std::string(kSample) + "[Empty]\r\n\r\n");
  CResult r = Run({"keys", strFile, "MAIN"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "Width\nName\nFlag\n");
  r = Run({"keys", strFile, "Empty"});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "");
  r = Run({"keys", strFile, "Absent"});
  EXPECT_EQ(r.nStatus, 1);
  EXPECT_EQ(r.strOut + r.strErr, "");
  r = Run({"sections", strFile});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "Main\nOther\nEmpty\n");
  EXPECT_EQ(ReadFile(strFile), std::string(kSample) + "[Empty]\r\n\r\n");
}

TEST_F(IniCommand, RenamesAndRemovals) {
  const std::string strFile = Path("a.ini");
  struct {
    std::vector<std::string> args;
    int nStatus;
    std::string strAfter;  // empty: the file is unchanged
  } cases[] = {
      {{"rename-section", "Main", "Other"}, 1, ""},
      {{"rename-section", "Nope", "New"}, 1, ""},
      // a new spelling of the same name is a line edit too
      {{"rename-section", "main", "MAIN"}, 0,
       "[MAIN]\r\nWidth=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Other]\r\nx=1\r\n\r\n"},
      {{"rename-key", "MAIN", "width", "WIDTH"}, 0,
       "[Main]\r\nWIDTH=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Other]\r\nx=1\r\n\r\n"},
      {{"rename-section", "Other", "Second"}, 0,
       "[Main]\r\nWidth=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Second]\r\nx=1\r\n\r\n"},
      {{"rename-key", "Nope", "a", "a"}, 1, ""},
      {{"rename-key", "Main", "Width", "name"}, 1, ""},
      {{"rename-key", "main", "width", "Height"}, 0,
       "[Main]\r\nHeight=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Other]\r\nx=1\r\n\r\n"},
      {{"remove-section", "Nope"}, 1, ""},
      {{"remove-section", "MAIN"}, 0, "[Other]\r\nx=1\r\n\r\n"},
      {{"remove-key", "Nope", "x"}, 1, ""},
      {{"remove-key", "Other", "y"}, 1, ""},
      {{"remove-key", "Other", "X"}, 0, "[Main]\r\nWidth=10\r\nName=Bob\r\nFlag=yes\r\n\r\n[Other]\r\n\r\n"},
      {{"clear-section", "Nope"}, 1, ""},
      {{"clear-section", "main"}, 0, "[Main]\r\n\r\n[Other]\r\nx=1\r\n\r\n"},
  };
  for (const auto& c : cases) {
    WriteFile(strFile, kSample);
    std::vector<std::string> args = c.args;
    args.insert(args.begin() + 1, strFile);
    const CResult r = Run(args);
    SCOPED_TRACE(args[0] + " " + args[2]);
    EXPECT_EQ(r.nStatus, c.nStatus);
    EXPECT_EQ(r.strOut + r.strErr, "");
    EXPECT_EQ(ReadFile(strFile), c.strAfter.empty() ? std::string(kSample) : c.strAfter);
  }
  WriteFile(strFile, kSample);
  ExpectError(Run({"rename-section", strFile, "Main", ""}), strFile);
  ExpectError(Run({"rename-key", strFile, "Main", "Width", "w=h"}), strFile);
  EXPECT_EQ(ReadFile(strFile), kSample);
}

TEST_F(IniCommand, ChangesWhoseTextWouldNotReadBackAreRefused) {
  const std::string strFile = Path("a.ini");
  // Only the lines concerned are written: "k=" renamed to the empty key
  // stays "=", which reads back, key-only lines or not.
  WriteFile(strFile, "[S]\r\nk=\r\nx=1\r\n\r\n");
  EXPECT_EQ(Run({"rename-key", strFile, "S", "k", "", "--key-only"}).nStatus, 0);
  EXPECT_EQ(ReadFile(strFile), "[S]\r\n=\r\nx=1\r\n\r\n");
  EXPECT_EQ(Run({"remove-key", strFile, "S", "x", "--key-only"}).nStatus, 0);
  EXPECT_EQ(ReadFile(strFile), "[S]\r\n=\r\n\r\n");
  // A new entry of the empty key with an empty value would be an empty line.
  ExpectError(Run({"set", strFile, "T", "", "", "--key-only"}), strFile);
  // A value ending in CR cannot stay one in a file of LF line ends.
  const std::string strLf = "[S]\nk=1\n";
  WriteFile(strFile, strLf);
  ExpectError(Run({"set", strFile, "S", "k", "v\r"}), strFile);
  EXPECT_EQ(ReadFile(strFile), strLf);
  // An archived document whose text form would lose a key is not unpacked.
  CIniFile ini;
  ini.SetString("S", "a=b", "1");
  {
    CMemFile memory;
    CArchive ar(&memory, CArchive::store);
    ar << static_cast<const CObject*>(&ini);
    ar.Close();
    const std::vector<BYTE> bytes = memory.GetBytes();
    WriteFile(Path("eq.bin"), std::string(bytes.begin(), bytes.end()));
  }
  ExpectError(Run({"unpack", Path("eq.bin"), Path("eq.ini")}), Path("eq.ini"));
  EXPECT_FALSE(FileExists(Path("eq.ini")));
}

TEST_F(IniCommand, CatWritesTheTextForm) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, "; comment\n[Main]\nk = v \nalone\n[main]\nmore=1\n");
  CResult r = Run({"cat", strFile});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut, "[Main]\r\nk = v \r\nalone=\r\nmore=1\r\n\r\n");
  r = Run({"cat", strFile, "--key-only"});
  EXPECT_EQ(r.strOut, "[Main]\r\nk = v \r\nalone\r\nmore=1\r\n\r\n");
}

TEST_F(IniCommand, PackAndUnpack) {
  const std::string strFile = Path("a.ini");
  WriteFile(strFile, kSample);
  const std::string strArchive = Path("a.bin");
  CResult r = Run({"pack", strFile, strArchive});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(r.strOut + r.strErr, "");
  const std::string strBytes = ReadFile(strArchive);
  EXPECT_EQ(strBytes.substr(0, 14), std::string("\xFF\xFF\x01\x00\x08\x00", 6) + "CIniFile");
  EXPECT_EQ(strBytes.substr(14, 6), std::string("\x01\x00\x00\x00\x02\x00", 6));
  const std::string strOut = Path("out/b.ini");
  EXPECT_EQ(Run({"unpack", strArchive, strOut, "--key-only"}).nStatus, 2);  // it would not be applied
  ExpectError(Run({"unpack", strArchive, strOut}), strOut);  // no folder is made
  EXPECT_FALSE(FileExists(Path("out")));
  std::filesystem::create_directory(Path("out"));
  r = Run({"unpack", strArchive, strOut});
  EXPECT_EQ(r.nStatus, 0);
  EXPECT_EQ(ReadFile(strOut), kSample);

  // A damaged archive: nothing is written.
  WriteFile(Path("cut.bin"), strBytes.substr(0, strBytes.size() - 3));
  WriteFile(Path("keep.ini"), "[K]\r\nk=1\r\n\r\n");
  ExpectError(Run({"unpack", Path("cut.bin"), Path("keep.ini")}), Path("cut.bin"));
  ExpectError(Run({"unpack", Path("missing.bin"), Path("keep.ini")}), Path("missing.bin"));
  WriteFile(Path("other.bin"), std::string("\xFF\xFF\x01\x00\x07\x00", 6) + "CObject");
  ExpectError(Run({"unpack", Path("other.bin"), Path("keep.ini")}), Path("other.bin"));
  EXPECT_EQ(ReadFile(Path("keep.ini")), "[K]\r\nk=1\r\n\r\n");
}

// Messages keep to one line with the command's own prefix, usage errors
// and failures alike: a name that holds a line break or a zero byte is
// written out.
TEST_F(IniCommand, MessagesAreOneLineWithOnePrefix) {
  CIniFile ini;
  ini.SetString("a\nb", "k", "1");
  {
    CMemFile memory;
    CArchive ar(&memory, CArchive::store);
    ar << static_cast<const CObject*>(&ini);
    ar.Close();
    const std::vector<BYTE> bytes = memory.GetBytes();
    WriteFile(Path("lf.bin"), std::string(bytes.begin(), bytes.end()));
  }
  CResult r = Run({"unpack", Path("lf.bin"), Path("lf.ini")});
  ExpectError(r, Path("lf.ini"));
  EXPECT_NE(r.strErr.find("section [a\\nb] holds a line break"), std::string::npos) << r.strErr;
  EXPECT_EQ(r.strErr.rfind("nimbo ini unpack: ", 0), 0u) << r.strErr;
  r = Run({"get", Path("no\nsuch\x01.ini"), "S", "K"});
  ExpectError(r, Path("no\\nsuch\\x01.ini"));
  EXPECT_EQ(r.strErr.rfind("nimbo ini get: ", 0), 0u) << r.strErr;
  WriteFile(Path("a.ini"), kSample);
  r = Run({"get", Path("a.ini"), "Main", "Width", "--int", "--default", "ten"});
  EXPECT_EQ(r.nStatus, 2);
  EXPECT_EQ(r.strErr.rfind("nimbo ini get: ", 0), 0u) << r.strErr;
}

// Every way an archive can fail to give its document whole - cut inside any
// field, a class tag, record version or count changed, bytes after it -
// ends with status 2 naming the archive, and the target as it was.
TEST_F(IniCommand, UnpackRefusesEveryArchiveItCannotReadWhole) {
  WriteFile(Path("a.ini"), "[A]\r\nk=v\r\n");
  ASSERT_EQ(Run({"pack", Path("a.ini"), Path("a.bin")}).nStatus, 0);
  const std::string strGood = ReadFile(Path("a.bin"));
  ASSERT_EQ(strGood.size(), 32u);  // a 14-byte class tag, then 18 bytes of record (the schema word, bytes 2-3, is not checked)
  std::vector<std::string> damaged;
  // Cut inside each field: the tag, the versions, the counts, a name, a key, the value.
  for (size_t n : {0, 3, 8, 14, 16, 19, 21, 24, 27, 29, 31}) damaged.push_back(strGood.substr(0, n));
  for (size_t nAt : {0, 1, 4, 6, 13, 14, 17, 18, 20, 22, 25, 26, 28}) {
    std::string str = strGood;
    str[nAt] = static_cast<char>(str[nAt] ^ 0x02);  // a version of 3, a class named otherwise, a count too high...
    damaged.push_back(str);
  }
  damaged.push_back(strGood.substr(0, 14) + std::string("\x02\x00\x00\x00", 4));  // a record that is its version alone
  damaged.push_back(strGood + "x");
  const std::string strTarget = Path("keep.ini");
  int nCase = 0;
  for (const std::string& strArchive : damaged) {
    SCOPED_TRACE("case " + std::to_string(nCase++));
    WriteFile(Path("d.bin"), strArchive);
    WriteFile(strTarget, "[K]\r\nk=1\r\n");
    const CResult r = Run({"unpack", Path("d.bin"), strTarget});
    ExpectError(r, Path("d.bin"));
    EXPECT_EQ(ReadFile(strTarget), "[K]\r\nk=1\r\n");
  }
}

}  // namespace
