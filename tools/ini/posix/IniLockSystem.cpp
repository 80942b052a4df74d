// IniLockSystem on POSIX systems: flock of the file, or of its folder while
// the file does not exist yet.
#include "tools/ini/IniLockSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace nimbo {
namespace ini {
namespace {

int OpenRetry(const std::string& strPath, int nFlags) {
  int fd;
  do fd = ::open(strPath.c_str(), nFlags | O_CLOEXEC | O_NOCTTY);
  while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

// Opened without waiting for a FIFO's writer; read as any file after.
int OpenToLock(const std::string& strPath) {
  const int fd = OpenRetry(strPath, O_RDONLY | O_NONBLOCK);
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

int OpenToLockMissing(const std::string& strPath) {
  const size_t nSlash = strPath.rfind('/');
  const std::string strFolder = nSlash == std::string::npos ? "." : nSlash == 0 ? "/" : strPath.substr(0, nSlash);
  return OpenRetry(strFolder, O_RDONLY | O_DIRECTORY);
}

int TryLock(int fd, bool bShared) {
  if (::flock(fd, (bShared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) return 0;
  return errno == EWOULDBLOCK ? EBUSY : errno;
}

bool StillLeadsTo(int fd, const std::string& strPath, bool bMissing) {
  struct stat named, opened;
  if (::stat(strPath.c_str(), &named) != 0) return bMissing && errno == ENOENT;
  return !bMissing && ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

void CloseLock(int fd) { ::close(fd); }

unsigned ProcessSeed() { return static_cast<unsigned>(::getpid()); }

}  // namespace ini
}  // namespace nimbo
