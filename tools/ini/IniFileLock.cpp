// CIniFileLock: a lock file made with O_EXCL, or flock where none can be made.
#include "tools/ini/IniFileLock.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

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

// The lock file of this process, for the signal handler: an interrupted
// change must not leave a lock that makes the next one wait and fail.
char g_szLockPath[PATH_MAX];
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGBUS};  // SIGBUS: a mapped file cut short

void RemoveLockAndDie(int nSignal) {
  ::unlink(g_szLockPath);
  ::signal(nSignal, SIG_DFL);
  ::raise(nSignal);
}

void OnSignalsRemove(const std::string& strLock) {
  if (strLock.size() >= sizeof g_szLockPath) return;
  std::memcpy(g_szLockPath, strLock.c_str(), strLock.size() + 1);
  for (int nSignal : kSignals) ::signal(nSignal, RemoveLockAndDie);
}

}  // namespace

CIniFileLock::~CIniFileLock() {
  if (!m_strLockPath.empty()) {
    ::unlink(m_strLockPath.c_str());
    for (int nSignal : kSignals) ::signal(nSignal, SIG_DFL);
  }
  if (m_nFd >= 0) ::close(m_nFd);  // closing gives up the advisory lock
}

bool CIniFileLock::Acquire(const std::string& strPath, std::string& strWhy) {
  const std::string strLock = strPath + ".lock";
  std::minstd_rand random(static_cast<unsigned>(::getpid()));
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  for (;;) {
    const int fd = ::open(strLock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      m_strLockPath = strLock;
      OnSignalsRemove(strLock);
      return true;
    }
    const int nError = errno;
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
  m_nFd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (m_nFd < 0) return true;  // nothing to lock; the save says why it fails
  while (::flock(m_nFd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      strWhy = "cannot lock " + strPath + ": " + std::strerror(errno == EWOULDBLOCK ? EBUSY : errno);
      return false;
    }
    Pause(random);
  }
  return true;
}

}  // namespace ini
}  // namespace nimbo
