// A file saved in place (here: one with two links) and cut short - the
// tool killed at each step of the save, a full disk, no room to reserve -
// never reads as a document other than the old or the new one, and the old
// content survives, in the file or in a copy beside it.
#include "ChildProcess.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "../RunNimbo.h"
#include "ini/CIniFile.h"

namespace {

using nimbotest::CScratch;
using nimbotest::ReadText;
using nimbotest::RunNimbo;
using nimbotest::WriteText;

// A document of nSections sections [sN] of nKeys keys kM=value M.
std::string DocumentText(int nSections, int nKeys) {
  std::string strText;
  for (int s = 0; s < nSections; ++s) {
    strText += "[s" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < nKeys; ++k) strText += "k" + std::to_string(k) + "=value " + std::to_string(k) + "\r\n";
  }
  return strText;
}

// The sections and entries a file reads as, or "unreadable".
std::string ReadsAs(const std::string& strPath) {
  CIniFile ini;
  if (!ini.Load(strPath.c_str(), false)) return "unreadable";
  std::string strOut;
  for (const CIniFile::CItem& section : ini) {
    strOut += "[" + section.first.Str() + "]";
    for (const CIniFileSection::CItem& entry : section.second) strOut += entry.first.Str() + "=" + entry.second.Str() + ";";
  }
  return strOut;
}

// The names in strDir other than the files the tests make themselves.
std::vector<std::string> OtherFiles(const std::string& strDir) {
  static const std::set<std::string> kOwn = {".", "..", "doc.ini", "link.ini", "old.ini", "stdout", "stderr"};
  std::vector<std::string> names;
  if (DIR* pDir = opendir(strDir.c_str())) {
    while (dirent* pEntry = readdir(pDir))
      if (kOwn.count(pEntry->d_name) == 0) names.push_back(pEntry->d_name);
    closedir(pDir);
  }
  return names;
}

class SaveInPlace : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(m_scratch.Dir().empty());
    if (std::system("strace -f -qq -o /dev/null true >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "strace is missing or may not trace here; FullFileSystemRefusesBeforeWriting covers a full disk";
    m_strDoc = m_scratch.Dir() + "/doc.ini";
    m_strOldText = DocumentText(3, 40);
    WriteText(m_strDoc, m_strOldText);
    ASSERT_EQ(link(m_strDoc.c_str(), (m_scratch.Dir() + "/link.ini").c_str()), 0);
    // What the document reads as before and after a whole save.
    WriteText(m_scratch.Dir() + "/old.ini", m_strOldText);
    m_strOld = ReadsAs(m_scratch.Dir() + "/old.ini");
  }
  // Runs "nimbo ini ACTION doc.ini ARGS" under strace with the given fault.
  int RunWithFault(const std::string& strAction, const std::string& strArgs, const std::string& strInject) {
    return RunNimbo(m_scratch.Dir(), "ini " + strAction + " '" + m_strDoc + "' " + strArgs,
                    "strace -f -qq -o /dev/null -e inject=" + strInject)
        .nStatus;
  }
  CScratch m_scratch;
  std::string m_strDoc, m_strOldText, m_strOld, m_strNew;
};

// Removing a key shortens the text, so that a rewrite cut short would leave
// the old text's tail behind the new text. Killed at each system call of
// the save in turn, the file reads as the old document, the new one or none,
// and the old text is whole in the file or in the copy beside it.
TEST_F(SaveInPlace, KilledAtAnyStepLeavesNoOtherDocument) {
  {
    CScratch expected;
    WriteText(expected.Dir() + "/doc.ini", m_strOldText);
    ASSERT_EQ(RunNimbo(expected.Dir(), "ini remove-key '" + expected.Dir() + "/doc.ini' s0 k1").nStatus, 0);
    m_strNew = ReadsAs(expected.Dir() + "/doc.ini");
    ASSERT_NE(m_strNew, m_strOld);
  }
  const char* apszFaults[] = {"fallocate:signal=KILL",    "pwrite64:signal=KILL:when=1", "pwrite64:signal=KILL:when=2",
                              "fdatasync:signal=KILL",    "ftruncate:signal=KILL",       "fsync:signal=KILL:when=2",
                              "pwrite64:signal=KILL:when=3", "fsync:signal=KILL:when=3", "unlink:signal=KILL"};
  for (const char* pszFault : apszFaults) {
    SCOPED_TRACE(pszFault);
    WriteText(m_strDoc, m_strOldText);
    RunWithFault("remove-key", "s0 k1", pszFault);
    const std::string strNow = ReadsAs(m_strDoc);
    EXPECT_TRUE(strNow == m_strOld || strNow == m_strNew || strNow == "unreadable") << strNow;
    EXPECT_EQ(ReadText(m_scratch.Dir() + "/link.ini"), ReadText(m_strDoc)) << "the links part";
    bool bOldKept = ReadText(m_strDoc) == m_strOldText || strNow == m_strNew;
    for (const std::string& strName : OtherFiles(m_scratch.Dir())) {
      bOldKept = bOldKept || ReadText(m_scratch.Dir() + "/" + strName) == m_strOldText;
      std::remove((m_scratch.Dir() + "/" + strName).c_str());
    }
    EXPECT_TRUE(bOldKept) << "the old text is lost";
  }
}

// No room for the longer text: the save is refused before the file changes.
TEST_F(SaveInPlace, NoRoomToReserveLeavesTheFileAsItWas) {
  EXPECT_NE(RunWithFault("set", "s1 added " + std::string(5000, 'x'), "fallocate:error=ENOSPC"), 0);
  EXPECT_EQ(ReadText(m_strDoc), m_strOldText);
  EXPECT_EQ(OtherFiles(m_scratch.Dir()), std::vector<std::string>());
}

// A write that fails midway (the disk reports an error) puts the old text
// back and removes the copy.
TEST_F(SaveInPlace, FailedWritePutsTheOldTextBack) {
  EXPECT_NE(RunWithFault("remove-key", "s0 k1", "pwrite64:error=EIO:when=2"), 0);
  EXPECT_EQ(ReadText(m_strDoc), m_strOldText);
  EXPECT_EQ(OtherFiles(m_scratch.Dir()), std::vector<std::string>());
}

// On a full file system of its own (a small tmpfs), a linked 30-section file
// that would grow beyond the room left keeps its text; where there is room,
// the same save succeeds and leaves nothing beside the file.
TEST(SaveInPlaceFull, FullFileSystemRefusesBeforeWriting) {
  CScratch scratch;
  const std::string strDir = scratch.Dir();
  const CChildResult result = RunInChild([&](long&) {
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", strDir.c_str(), "tmpfs", 0, "size=64k") != 0)
      return 77;
    const std::string strDoc = strDir + "/doc.ini", strText = DocumentText(30, 20);
    WriteText(strDoc, strText);
    if (ReadText(strDoc) != strText || link(strDoc.c_str(), (strDir + "/link.ini").c_str()) != 0) return 10;
    CIniFile ini;
    if (!ini.Load(strDoc.c_str(), false)) return 11;
    ini.SetString("s0", "k0", "a little longer");
    if (!ini.SaveAs(strDoc.c_str()) || OtherFiles(strDir) != std::vector<std::string>()) return 12;
    const std::string strSaved = ReadText(strDoc);
    ini.SetString("s0", "big", std::string(60 * 1024, 'x').c_str());
    if (ini.SaveAs(strDoc.c_str())) return 13;
    if (ReadText(strDoc) != strSaved) return 14;
    if (OtherFiles(strDir) != std::vector<std::string>()) return 15;
    return 0;
  });
  ASSERT_TRUE(result.bExited) << "signal " << result.nStatus;
  if (result.nStatus == 77) GTEST_SKIP() << "cannot mount a tmpfs here; NoRoomToReserve covers the refusal";
  EXPECT_EQ(result.nStatus, 0);
}

}  // namespace
