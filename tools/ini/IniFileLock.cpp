// CIniFileLock: the waiting and the reasons given are the same on every
// side; IniLockSystem.h holds the system's calls.
#include "tools/ini/IniFileLock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "tools/ini/IniLockSystem.h"

namespace nimbo {
namespace ini {
namespace {

// How long a taken lock is waited for: enough for a queue of changes to
// one file to pass, short enough that a change that hangs is reported soon.
const std::chrono::seconds kWait(10);

// A pause of 1 to 20 ms, different in each process, so that waiters do not
// retry in step.
void Pause(std::minstd_rand& random) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 20));
}

}  // namespace

CIniFileLock::~CIniFileLock() {
  if (m_nFd >= 0) CloseLock(m_nFd);  // closing gives up the lock
}

bool CIniFileLock::Acquire(const std::string& strPath, std::string& strWhy) {
  std::minstd_rand random(ProcessSeed());
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  for (;;) {
    bool bMissing = false;
    int fd = OpenToLock(strPath);
    if (fd < 0 && errno == ENOENT) {
      bMissing = true;
      fd = OpenToLockMissing(strPath);
      if (fd < 0 && errno == ENOENT) return true;  // no folder, so no file: reading it says so
    }
    if (fd < 0 && errno == EBUSY && std::chrono::steady_clock::now() < deadline) {
      Pause(random);  // the lock of a missing file is going away with its last holder
      continue;
    }
    if (fd < 0) {
      strWhy = "cannot lock " + strPath + ": " + std::strerror(errno);
      return false;
    }
    int nError;
    while ((nError = TryLock(fd, false)) == EBUSY || nError == EINTR) {
      if (std::chrono::steady_clock::now() >= deadline) {
        CloseLock(fd);
        strWhy = "another change of it has been under way for " + std::to_string(kWait.count()) + " s";
        return false;
      }
      Pause(random);
    }
    if (nError != 0) {
      CloseLock(fd);
      strWhy = "cannot lock " + strPath + ": " + std::strerror(nError);
      return false;
    }
    // The change that held the lock may have replaced the file, or made
    // it: the lock of the file the name leads to now is the one that counts.
    if (StillLeadsTo(fd, strPath, bMissing)) {
      m_nFd = fd;
      m_bMissing = bMissing;
      return true;
    }
    CloseLock(fd);
  }
}

void CIniFileLock::WaitForChanges(const std::string& strPath) {
  const int fd = OpenToLock(strPath);
  if (fd < 0) return;
  std::minstd_rand random(ProcessSeed());
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  int nError;
  while (((nError = TryLock(fd, true)) == EBUSY || nError == EINTR) && std::chrono::steady_clock::now() < deadline)
    Pause(random);
  CloseLock(fd);
}

}  // namespace ini
}  // namespace nimbo
