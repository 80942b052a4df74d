// CIniFileLock: a lock file made exclusively, or an advisory lock where none
// can be made; the waiting and the reasons given are the same on every side.
#include "tools/ini/IniFileLock.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "tools/ini/IniFileAccess.h"
#include "tools/ini/IniLockSystem.h"

namespace nimbo {
namespace ini {
namespace {

// How long a taken lock is waited for: enough for a queue of changes to
// one file to pass, short enough that a lock left by a killed process is
// reported soon.
const std::chrono::seconds kWait(10);

// A pause of 1 to 20 ms, different in each process, so that waiters do not
// retry in step.
void Pause(std::minstd_rand& random) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 20));
}

}  // namespace

CIniFileLock::~CIniFileLock() {
  if (!m_strLockPath.empty()) RemoveLockFile(m_strLockPath);
  if (m_nFd >= 0) ::close(m_nFd);  // closing gives up the advisory lock
}

bool CIniFileLock::Acquire(const std::string& strPath, std::string& strWhy) {
  const std::string strLock = strPath + ".lock";
  std::minstd_rand random(ProcessSeed());
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  for (;;) {
    const int nError = CreateLockFile(strLock);
    if (nError == 0) {
      m_strLockPath = strLock;
      RemoveLockFileOnInterrupt(strLock);
      return true;
    }
    if (nError == EEXIST && std::chrono::steady_clock::now() < deadline) {
      Pause(random);
      continue;
    }
    if (nError == EEXIST) {
      strWhy = strLock + " exists: another change is under way (remove it if no nimbo ini is running)";
      return false;
    }
    if (nError == ENOENT) return true;  // no directory, so no file: reading it says so
    if (nError != EACCES && nError != EPERM && nError != EROFS) {
      strWhy = "cannot make " + strLock + ": " + std::strerror(nError);
      return false;
    }
    break;  // the directory takes no new file: the file is changed in place
  }
  m_nFd = OpenToRead(strPath);
  if (m_nFd < 0) return true;  // nothing to lock; the save says why it fails
  for (int nError; (nError = TryLockExclusive(m_nFd)) != 0;) {
    if ((nError != EBUSY && nError != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      strWhy = "cannot lock " + strPath + ": " + std::strerror(nError);
      return false;
    }
    Pause(random);
  }
  return true;
}

}  // namespace ini
}  // namespace nimbo
