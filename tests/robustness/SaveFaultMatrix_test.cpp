// A change killed, or refused space (ENOSPC) or failed by the disk (EIO),
// at every system call it makes once it holds the lock, one after another
// (strace's fault injection), for an ordinary file, a symbolic link, a hard
// link and a folder that refuses new files. After each: the file reads as
// the old or the new document, or as none while the next command names a
// copy that holds the old text; and the next change leaves no new file of
// the one that failed behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <dirent.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../RunNimbo.h"
#include "ini/CIniFile.h"

namespace {

using nimbotest::CScratch;
using nimbotest::ReadText;
using nimbotest::RunNimbo;
using nimbotest::WriteText;

const char kOldText[] = "; settings\r\n[s0]\r\nk0=zero\r\nk1=one, a long value to be removed\r\n[s1]\r\nk0=x\r\n";

// The sections and entries a file reads as, or "none".
std::string ReadsAs(const std::string& strPath) {
  CIniFile ini;
  if (!ini.Load(strPath.c_str(), false)) return "none";
  std::string strOut;
  for (const CIniFile::CItem& section : ini) {
    strOut += "[" + section.first.Str() + "]";
    for (const CIniFileSection::CItem& entry : section.second) strOut += entry.first.Str() + "=" + entry.second.Str() + ";";
  }
  return strOut;
}

// The system calls that read, write, make, remove or lock files, of the
// traced run's main thread from its first flock on, as "name:when=N"
// counted from the start of the run, as strace counts. (Asking about a file
// - stat, readlink, listing a folder - is left out: a failure there makes a
// save refuse before it changes anything, and each would add a run.)
std::vector<std::string> CallsAfterTheLock(const std::string& strTrace) {
  static const std::set<std::string> kFileCalls = {
      "openat",   "read",  "write",  "pwrite64", "fsync",  "fdatasync",  "ftruncate",   "fallocate",   "rename",
      "renameat", "renameat2", "unlink", "unlinkat", "fchown", "fchmod", "flock", "close", "fsetxattr", "flistxattr",
      "fgetxattr"};
  std::istringstream lines(ReadText(strTrace));
  std::string strLine, strMainPid;
  std::map<std::string, int> counts;
  std::vector<std::string> calls;
  bool bLocked = false;
  while (std::getline(lines, strLine)) {
    std::istringstream fields(strLine);
    std::string strPid, strCall;
    fields >> strPid >> strCall;
    if (strMainPid.empty()) strMainPid = strPid;
    const size_t nParen = strCall.find('(');
    if (strPid != strMainPid || nParen == std::string::npos) continue;
    const std::string strName = strCall.substr(0, nParen);
    const int nWhen = ++counts[strName];
    bLocked = bLocked || (strName == "flock" && strLine.find("LOCK_EX") != std::string::npos);
    if (bLocked && kFileCalls.count(strName) != 0) calls.push_back(strName + ":when=" + std::to_string(nWhen));
  }
  return calls;
}

struct CSetup {
  const char* pszName;
  bool bRefusing;  // the files' folder takes no new file (run as an unprivileged user)
  const char* pszLink;  // "symbolic", "hard" or nullptr
};

TEST(SaveFaultMatrix, EveryCallKilledOrFailedLeavesTheOldOrNewDocumentOrANamedCopy) {
  if (std::system("strace -f -qq -o /dev/null true >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace may not trace here";
  const bool bRoot = geteuid() == 0;
  const CSetup setups[] = {{"ordinary file", false, nullptr},
                           {"symbolic link", false, "symbolic"},
                           {"hard link", false, "hard"},
                           {"folder refusing new files", true, nullptr}};
  const char* apszFaults[] = {"signal=KILL", "error=ENOSPC", "error=EIO"};
  for (const CSetup& setup : setups) {
    if (setup.bRefusing && !bRoot) continue;  // needs root to make a folder its user cannot write
    CScratch scratch;
    const std::string strDir = scratch.Dir() + "/files", strState = scratch.Dir() + "/state";
    const std::string strDoc = strDir + "/doc.ini", strOther = strDir + "/other.ini";
    ASSERT_EQ(::chmod(scratch.Dir().c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(strDir.c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(strState.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(strDir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(strState.c_str(), 0777), 0);
    WriteText(strDoc, kOldText);
    ASSERT_EQ(::chmod(strDoc.c_str(), 0666), 0);
    std::string strNamed = strDoc;
    const std::string strLink = setup.pszLink != nullptr ? setup.pszLink : "";
    if (strLink == "hard") {
      ASSERT_EQ(::link(strDoc.c_str(), strOther.c_str()), 0);
    }
    if (strLink == "symbolic") {
      strNamed = strDir + "/link.ini";
      ASSERT_EQ(::symlink("doc.ini", strNamed.c_str()), 0);
    }
    // The user's own file, so that nothing but the folder keeps it from
    // being replaced.
    if (bRoot) {
      ASSERT_EQ(::chown(strDoc.c_str(), 65534, 65534), 0);
    }
    if (setup.bRefusing) {
      ASSERT_EQ(::chmod(strDir.c_str(), 0555), 0);
    }
    // Runs as an unprivileged user where root runs the tests, so that the
    // folder's refusal holds.
    const std::string strUser = std::string("XDG_STATE_HOME='") + strState + "' XDG_RUNTIME_DIR= " +
                                (bRoot ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "");
    auto fnRun = [&](const std::string& strArgs, const std::string& strStrace) {
      return RunNimbo(scratch.Dir(), "ini " + strArgs, strUser + strStrace);
    };
    const std::string strChange = "remove-key '" + strNamed + "' s0 k1";
    const std::string strTrace = strState + "/trace";
    ASSERT_EQ(fnRun(strChange, "strace -f -qq -o '" + strTrace + "' ").nStatus, 0) << setup.pszName;
    const std::string strNew = ReadsAs(strDoc), strOld = [&] {
      WriteText(strDoc, kOldText);
      return ReadsAs(strDoc);
    }();
    ASSERT_NE(strNew, strOld);
    const std::vector<std::string> calls = CallsAfterTheLock(strTrace);
    ASSERT_GT(calls.size(), 5u) << setup.pszName;
    for (const std::string& strCall : calls) {
      for (const char* pszFault : apszFaults) {
        const std::string strCase = std::string(setup.pszName) + ", " + strCall + ":" + pszFault;
        SCOPED_TRACE(strCase);
        WriteText(strDoc, kOldText);
        const int nStatus = fnRun(strChange, "strace -f -qq -o /dev/null -e inject=" + strCall + ":" + pszFault + " ").nStatus;
        const std::string strNow = ReadsAs(strDoc);
        // A change that lives to report says whether the file holds it.
        if (std::string(pszFault) != "signal=KILL") {
          EXPECT_EQ(nStatus == 0, strNow == strNew) << "status " << nStatus;
        }
        if (strLink == "hard") {
          EXPECT_EQ(ReadText(strOther), ReadText(strDoc));
        }
        if (strNow == "none") {
          // The next command names the copy, which holds the old text.
          const nimbotest::CRun next = fnRun("get '" + strNamed + "' s0 k0", "");
          const size_t nAt = next.strErr.find("its earlier content is in ");
          ASSERT_NE(nAt, std::string::npos) << next.strErr;
          std::string strCopy = next.strErr.substr(nAt + 26);
          strCopy = strCopy.substr(0, strCopy.find_first_of(" \n"));
          EXPECT_EQ(ReadText(strCopy), kOldText) << strCopy;
        } else {
          EXPECT_TRUE(strNow == strOld || strNow == strNew) << strNow;
          // The next change leaves no new file of this one behind.
          EXPECT_EQ(fnRun("set '" + strNamed + "' s1 k9 v", "").nStatus, 0);
        }
        std::string strLeft;
        for (const std::string& strFolder : {strDir, strState + "/nimbo"})
          if (DIR* pDir = opendir(strFolder.c_str())) {
            while (dirent* pEntry = readdir(pDir)) {
              const std::string strName = pEntry->d_name;
              if (strName.compare(0, 5, ".~nbn") == 0 && strNow != "none") strLeft += strName + " ";
              if (strName.compare(0, 4, ".~nb") == 0) ::unlink((strFolder + "/" + strName).c_str());
            }
            closedir(pDir);
          }
        EXPECT_EQ(strLeft, "");
      }
    }
    if (setup.bRefusing) ::chmod(strDir.c_str(), 0777);
  }
}

}  // namespace
