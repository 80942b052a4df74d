// Saving an INI document where the save cannot complete - a full file
// system, a read-only one, a directory without write permission, a file
// size limit - returns false and leaves the previous file as it was.
#include "ChildProcess.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ini/CIniFile.h"

namespace {

const char kPrevious[] = "[Old]\r\nKey=previous value\r\n\r\n";

// Child exit statuses.
const int kPassed = 0;
const int kSaveSucceeded = 1;
const int kPreviousChanged = 2;
const int kLeftovers = 3;
const int kSetupFailed = 4;
const int kNoMount = 5;

std::string ReadAll(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteAll(const std::string& strPath, const std::string& strText) {
  std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
  out << strText;
  return static_cast<bool>(out.flush());
}

std::vector<std::string> Entries(const std::string& strDir) {
  std::vector<std::string> names;
  if (DIR* pDir = opendir(strDir.c_str())) {
    while (dirent* pEntry = readdir(pDir)) {
      const std::string strName = pEntry->d_name;
      if (strName != "." && strName != "..") names.push_back(strName);
    }
    closedir(pDir);
  }
  return names;
}

// A document whose text is about nKiB KiB.
void FillDocument(CIniFile& ini, int nKiB) {
  const std::string strValue(90, 'v');
  for (int i = 0; i < nKiB * 10; ++i)
    ini.SetString("Section" + CString(std::to_string(i / 100)), "Key" + CString(std::to_string(i)), strValue);
}

// Saves a large document over strDir/doc.ini, which holds kPrevious, and
// checks the outcome. The child's exit status.
int SaveOverPrevious(const std::string& strDir) {
  const std::string strPath = strDir + "/doc.ini";
  CIniFile ini;
  FillDocument(ini, 256);
  if (ini.SaveAs(strPath.c_str())) return kSaveSucceeded;
  if (ReadAll(strPath) != kPrevious) return kPreviousChanged;
  if (Entries(strDir) != std::vector<std::string>{"doc.ini"}) return kLeftovers;
  if (ini.GetFilePath() == CString(strPath.c_str())) return kSaveSucceeded;  // the path is kept only on success
  return kPassed;
}

std::string MakeTempDir() {
  char szTemplate[] = "/tmp/nimbo-savefault-XXXXXX";
  return mkdtemp(szTemplate) != nullptr ? szTemplate : "";
}

// In a mount namespace of its own, mounts a small tmpfs on strDir, so that
// nothing outside the child ever sees it. False when mounting is not allowed.
bool MountSmallTmpfs(const std::string& strDir, const char* pszOptions) {
  if (unshare(CLONE_NEWNS) != 0) return false;
  if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  return mount("tmpfs", strDir.c_str(), "tmpfs", 0, pszOptions) == 0;
}

std::string Explain(int nStatus) {
  switch (nStatus) {
    case kSaveSucceeded: return "SaveAs reported success";
    case kPreviousChanged: return "the previous file changed";
    case kLeftovers: return "files were left beside the target";
    case kSetupFailed: return "the test could not set up the fault";
    default: return "status " + std::to_string(nStatus);
  }
}

class SaveFault : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strDir = MakeTempDir();
    ASSERT_FALSE(m_strDir.empty());
  }
  void TearDown() override {
    chmod(m_strDir.c_str(), 0700);
    for (const std::string& strName : Entries(m_strDir)) unlink((m_strDir + "/" + strName).c_str());
    rmdir(m_strDir.c_str());
  }
  // The end of a case whose child mounts a tmpfs: skipped where none can be
  // mounted (pszCoveredBy names the case that covers the fault then), else
  // the save must have kept its promises.
  void ExpectSavedOnTmpfs(const CChildResult& result, const char* pszCoveredBy) {
    ASSERT_TRUE(result.bExited) << "signal " << result.nStatus;
    if (result.nStatus == kNoMount)
      GTEST_SKIP() << "cannot mount a tmpfs here (needs root or CAP_SYS_ADMIN); " << pszCoveredBy;
    EXPECT_EQ(result.nStatus, kPassed) << Explain(result.nStatus);
  }
  std::string m_strDir;
};

TEST_F(SaveFault, FullFileSystem) {
  const CChildResult result = RunInChild([&](long&) {
    if (!MountSmallTmpfs(m_strDir, "size=64k")) return kNoMount;
    if (!WriteAll(m_strDir + "/doc.ini", kPrevious)) return kSetupFailed;
    return SaveOverPrevious(m_strDir);
  });
  ExpectSavedOnTmpfs(result, "SaveFault.FileSizeLimit covers a write that runs out of room");
}

TEST_F(SaveFault, ReadOnlyFileSystem) {
  const CChildResult result = RunInChild([&](long&) {
    if (!MountSmallTmpfs(m_strDir, "size=1m")) return kNoMount;
    if (!WriteAll(m_strDir + "/doc.ini", kPrevious)) return kSetupFailed;
    if (mount("tmpfs", m_strDir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m") != 0) return kSetupFailed;
    return SaveOverPrevious(m_strDir);
  });
  ExpectSavedOnTmpfs(result, "SaveFault.DirectoryWithoutWritePermission covers a place that refuses the file");
}

// Root writes through missing permissions, so the child gives up root first.
TEST_F(SaveFault, DirectoryWithoutWritePermission) {
  ASSERT_TRUE(WriteAll(m_strDir + "/doc.ini", kPrevious));
  ASSERT_EQ(chmod((m_strDir + "/doc.ini").c_str(), 0644), 0);
  ASSERT_EQ(chmod(m_strDir.c_str(), 0555), 0);
  const CChildResult result = RunInChild([&](long&) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return kSetupFailed;
    return SaveOverPrevious(m_strDir);
  });
  ASSERT_TRUE(result.bExited) << "signal " << result.nStatus;
  EXPECT_EQ(result.nStatus, kPassed) << Explain(result.nStatus);
}

// A file size limit makes writes fail part-way, as a full disk does,
// anywhere and for any user.
TEST_F(SaveFault, FileSizeLimit) {
  ASSERT_TRUE(WriteAll(m_strDir + "/doc.ini", kPrevious));
  const CChildResult result = RunInChild([&](long&) {
    signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
    struct rlimit limit = {64 * 1024, 64 * 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return kSetupFailed;
    return SaveOverPrevious(m_strDir);
  });
  ASSERT_TRUE(result.bExited) << "signal " << result.nStatus;
  EXPECT_EQ(result.nStatus, kPassed) << Explain(result.nStatus);
}

// The same document saves fine where there is room: the faults above are
// what made the saves fail.
TEST_F(SaveFault, WithoutAFaultTheSameSaveSucceeds) {
  ASSERT_TRUE(WriteAll(m_strDir + "/doc.ini", kPrevious));
  const std::string strPath = m_strDir + "/doc.ini";
  CIniFile ini;
  FillDocument(ini, 256);
  ASSERT_TRUE(ini.SaveAs(strPath.c_str()));
  CIniFile again;
  ASSERT_TRUE(again.Load(strPath.c_str(), false));
  EXPECT_EQ(again.GetCount(), ini.GetCount());
  EXPECT_EQ(Entries(m_strDir), std::vector<std::string>{"doc.ini"});
}

}  // namespace
