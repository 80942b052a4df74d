// A change killed, or refused space (ENOSPC) or failed by the disk (EIO),
// at every system call it makes once it holds the lock, one after another
// (strace's fault injection), for an ordinary file, a symbolic link, a hard
// link and a folder that refuses new files. After each: the file reads as
// the old or the new document, or as none while the next command names a
// copy that holds the old text; and the next change leaves no new file of
// the one that failed behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
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

TEST(SaveFaultMatrix, EveryCallKilledOrFailedLeavesTheOldOrNewDocumentOrANamedCopy) {
#ifdef __SANITIZE_ADDRESS__
  // The sanitizer's runtime makes system calls of its own (it probes memory
  // by writing it to a pipe), so the N-th write would be its, not the tool's:
  // the matrix runs in the optimised build.
  GTEST_SKIP() << "the sanitizer's own system calls would be counted";
#endif
  if (std::system("strace -f -qq -o /dev/null true >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace may not trace here";
  // Where root runs the tests, the changes run as an unprivileged user, who
  // owns the file but not the folder that refuses new files.
  const bool bRoot = geteuid() == 0;
  const struct {
    const char* pszName;
    const char* pszPrepare;  // run in the scratch folder once files/doc.ini is there
    const char* pszNamed;    // the name the changes are given
  } setups[] = {{"ordinary file", "true", "doc.ini"},
                {"symbolic link", "ln -s doc.ini files/link.ini", "link.ini"},
                {"hard link", "ln files/doc.ini files/other.ini", "doc.ini"},
                {"folder refusing new files", "chmod 555 files", "doc.ini"}};
  const char* apszFaults[] = {"signal=KILL", "error=ENOSPC", "error=EIO"};
  for (const auto& setup : setups) {
    if (std::string(setup.pszPrepare) == "chmod 555 files" && !bRoot) continue;  // root passes any folder's refusal
    CScratch scratch;
    const std::string strDir = scratch.Dir() + "/files", strState = scratch.Dir() + "/state";
    const std::string strDoc = strDir + "/doc.ini", strNamed = strDir + "/" + setup.pszNamed;
    WriteText(scratch.Dir() + "/old.ini", kOldText);
    ASSERT_EQ(std::system(("cd '" + scratch.Dir() + "' && chmod 755 . && mkdir -m 777 files state && cp old.ini " +
                           "files/doc.ini && chmod 666 files/doc.ini && " +
                           (bRoot ? "chown 65534:65534 files/doc.ini && " : "") + setup.pszPrepare)
                              .c_str()),
              0);
    const std::string strUser = "XDG_STATE_HOME='" + strState + "' XDG_RUNTIME_DIR= " +
                                (bRoot ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "");
    auto fnRun = [&](const std::string& strArgs, const std::string& strStrace) {
      return RunNimbo(scratch.Dir(), "ini " + strArgs, strUser + strStrace);
    };
    const std::string strChange = "remove-key '" + strNamed + "' s0 k1";
    const std::string strTrace = strState + "/trace";
    ASSERT_EQ(fnRun(strChange, "strace -f -qq -o '" + strTrace + "' ").nStatus, 0) << setup.pszName;
    const std::string strNew = ReadsAs(strDoc), strOld = ReadsAs(scratch.Dir() + "/old.ini");
    ASSERT_NE(strNew, strOld);
    const std::vector<std::string> calls = CallsAfterTheLock(strTrace);
    ASSERT_GT(calls.size(), 5u) << setup.pszName;
    for (const std::string& strCall : calls) {
      for (const char* pszFault : apszFaults) {
        SCOPED_TRACE(std::string(setup.pszName) + ", " + strCall + ":" + pszFault);
        WriteText(strDoc, kOldText);
        const int nStatus = fnRun(strChange, "strace -f -qq -o /dev/null -e inject=" + strCall + ":" + pszFault + " ").nStatus;
        const std::string strNow = ReadsAs(strDoc);
        // A change that lives to report says whether the file holds it.
        if (std::string(pszFault) != "signal=KILL") {
          EXPECT_EQ(nStatus == 0, strNow == strNew) << "status " << nStatus;
        }
        if (std::string(setup.pszPrepare).compare(0, 9, "ln files/") == 0) {
          EXPECT_EQ(ReadText(strDir + "/other.ini"), ReadText(strDoc)) << "the names part";
        }
        if (strNow == "none") {
          // The next command names the copy, which holds the old text.
          const nimbotest::CRun next = fnRun("get '" + strNamed + "' s0 k0", "");
          const size_t nAt = next.strErr.find("its earlier content is in ");
          ASSERT_NE(nAt, std::string::npos) << next.strErr;
          const std::string strCopy = next.strErr.substr(nAt + 26, next.strErr.find_first_of(" \n", nAt + 26) - nAt - 26);
          EXPECT_EQ(ReadText(strCopy), kOldText) << strCopy;
        } else {
          EXPECT_TRUE(strNow == strOld || strNow == strNew) << strNow;
          // The next change leaves no new file of this one behind.
          EXPECT_EQ(fnRun("set '" + strNamed + "' s1 k9 v", "").nStatus, 0);
          EXPECT_EQ(std::system(("ls -A '" + strDir + "' | grep -q '^\\.~nbn'").c_str()), 256) << "a new file left";
        }
        std::system(("rm -f '" + strDir + "'/.~nb* '" + strState + "'/nimbo/.~nb*").c_str());
      }
    }
    std::system(("chmod 777 '" + strDir + "'").c_str());
  }
}

}  // namespace
