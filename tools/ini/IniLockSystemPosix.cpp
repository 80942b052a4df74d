// IniLockSystem on POSIX systems: O_EXCL makes the lock file, flock the
// advisory lock; signal handlers remove the lock file.
#include "tools/ini/IniLockSystem.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nimbo {
namespace ini {
namespace {

// The lock file of this process, for the signal handler.
char g_szLockPath[PATH_MAX];
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGBUS};  // SIGBUS: a mapped file cut short

void RemoveLockAndDie(int nSignal) {
  ::unlink(g_szLockPath);
  ::signal(nSignal, SIG_DFL);
  ::raise(nSignal);
}

}  // namespace

int CreateLockFile(const std::string& strPath) {
  const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  ::close(fd);
  return 0;
}

void RemoveLockFileOnInterrupt(const std::string& strPath) {
  if (strPath.size() >= sizeof g_szLockPath) return;
  std::memcpy(g_szLockPath, strPath.c_str(), strPath.size() + 1);
  for (int nSignal : kSignals) ::signal(nSignal, RemoveLockAndDie);
}

void RemoveLockFile(const std::string& strPath) {
  ::unlink(strPath.c_str());
  for (int nSignal : kSignals) ::signal(nSignal, SIG_DFL);
}

int TryLockExclusive(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
  return errno == EWOULDBLOCK ? EBUSY : errno;
}

unsigned ProcessSeed() { return static_cast<unsigned>(::getpid()); }

}  // namespace ini
}  // namespace nimbo
