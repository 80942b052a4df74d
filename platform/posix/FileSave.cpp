// SaveWholeFile over POSIX: open, fstat, exclusive creation beside the
// target, fchown and fchmod, fsync and rename; in place, fallocate, a copy
// beside the file and a rewrite whose first byte comes last.
#include "FileSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// How a replacement through a new file ended.
enum class EReplaced { yes, failed, refused };  // refused: write in place instead

int OpenRetry(const char* pszPath, int nFlags, mode_t nMode = 0) {
  int fd;
  do {
    fd = ::open(pszPath, nFlags | O_CLOEXEC | O_NOCTTY, nMode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool WriteAll(int fd, const char* pData, size_t nSize) {
  while (nSize > 0) {
    const ssize_t n = ::write(fd, pData, nSize);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    pData += n;
    nSize -= static_cast<size_t>(n);
  }
  return true;
}

// The directory part of a path: where a file that replaces it is made.
std::string DirectoryOf(const std::string& strPath) {
  const size_t nSlash = strPath.rfind('/');
  if (nSlash == std::string::npos) return ".";
  return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
}

// The names of the files made beside a file: this prefix and six of
// [a-z0-9].
const char kBesidePrefix[] = ".~nb";
const size_t kBesideRandom = 6;

// The directory of the file that pszPath leads to (through links): where
// the copy of its old content is kept.
std::string RealDirectoryOf(const char* pszPath) {
  char* pszReal = ::realpath(pszPath, nullptr);
  if (pszReal == nullptr) return DirectoryOf(pszPath);
  const std::string strDir = DirectoryOf(pszReal);
  std::free(pszReal);
  return strDir;
}

// Creates a file of a short, unused name in strDir, exclusively (never one
// that exists, never through a link). Its descriptor with strPath set to its
// path, or -1 with errno set.
int CreateBeside(const std::string& strDir, mode_t nMode, std::string& strPath) {
  static std::atomic<unsigned> s_nCalls{0};
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  unsigned long long nState = static_cast<unsigned long long>(now.tv_nsec) ^
                              (static_cast<unsigned long long>(now.tv_sec) << 30) ^
                              (static_cast<unsigned long long>(::getpid()) << 40) ^ (++s_nCalls * 0x9E3779B97F4A7C15ull);
  const std::string strPrefix = (strDir == "/" ? std::string() : strDir) + "/" + kBesidePrefix;
  for (int nTry = 0; nTry < 100; ++nTry) {
    strPath = strPrefix;
    for (size_t i = 0; i < kBesideRandom; ++i) {
      nState = nState * 6364136223846793005ull + 1442695040888963407ull;
      strPath += kChars[(nState >> 33) % 36];
    }
    const int fd = OpenRetry(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, nMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Makes the rename itself durable; the save has happened either way.
void FlushDirectory(const std::string& strDir) {
  const int fd = OpenRetry(strDir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  const int nFlushed = ::fsync(fd);
  (void)nFlushed;
  ::close(fd);
}

// Writes the bytes into the new file fd, flushes it to the disk, closes it
// and renames it to strTarget. On any failure the new file is removed.
bool FinishAndRename(int fd, const std::string& strNew, const std::string& strTarget, const char* pData,
                     size_t nSize) {
  bool bDone = WriteAll(fd, pData, nSize) && ::fsync(fd) == 0;
  bDone = ::close(fd) == 0 && bDone;
  if (bDone && ::rename(strNew.c_str(), strTarget.c_str()) == 0) {
    FlushDirectory(DirectoryOf(strTarget));
    return true;
  }
  ::unlink(strNew.c_str());
  return false;
}

// Replaces the regular file strTarget (described by target) with a new file
// of the same directory, permissions, owner and group.
EReplaced ReplaceThroughNewFile(const std::string& strTarget, const struct stat& target, const char* pData,
                                size_t nSize) {
  std::string strNew;
  const int fd = CreateBeside(DirectoryOf(strTarget), 0600, strNew);
  if (fd < 0) return errno == EACCES || errno == EPERM ? EReplaced::refused : EReplaced::failed;
  auto fnRefuse = [&]() {
    ::close(fd);
    ::unlink(strNew.c_str());
    return EReplaced::refused;
  };
  // A process that may not give the new file the old one's owner and group
  // does not change them: it writes in place. The mode comes after, since a
  // change of owner clears the set-id bits.
  struct stat made;
  if (::fstat(fd, &made) != 0) return fnRefuse();
  if ((made.st_uid != target.st_uid || made.st_gid != target.st_gid) &&
      ::fchown(fd, target.st_uid, target.st_gid) != 0)
    return fnRefuse();
  if (::fchmod(fd, target.st_mode & 07777) != 0) return fnRefuse();
  return FinishAndRename(fd, strNew, strTarget, pData, nSize) ? EReplaced::yes : EReplaced::failed;
}

// The path of the file that pszPath names, through a symbolic link, checked
// to be the file open as opened. False when it cannot be told for sure.
bool FindFileBehind(const char* pszPath, const struct stat& opened, std::string& strTarget) {
  struct stat named;
  if (::lstat(pszPath, &named) != 0) return false;
  if (S_ISLNK(named.st_mode)) {
    char* pszReal = ::realpath(pszPath, nullptr);
    if (pszReal == nullptr) return false;
    strTarget = pszReal;
    std::free(pszReal);
    if (::stat(strTarget.c_str(), &named) != 0) return false;
  } else {
    strTarget = pszPath;
  }
  return named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// Devices and FIFOs take the bytes as they come: nothing to reserve, cut or
// flush.
bool WriteStream(int fd, const char* pData, size_t nSize) {
  const bool bDone = WriteAll(fd, pData, nSize);
  return ::close(fd) == 0 && bDone;
}

bool PwriteAll(int fd, const char* pData, size_t nSize, off_t nOffset) {
  while (nSize > 0) {
    const ssize_t n = ::pwrite(fd, pData, nSize, nOffset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    pData += n;
    nSize -= static_cast<size_t>(n);
    nOffset += n;
  }
  return true;
}

// The whole content of the file open as fd, read through a descriptor of
// its own (fd may be open for writing only). False when it cannot be read.
bool ReadWhole(const char* pszPath, const struct stat& opened, std::string& strContent) {
  const int fd = OpenRetry(pszPath, O_RDONLY);
  if (fd < 0) return false;
  struct stat info;
  bool bDone = ::fstat(fd, &info) == 0 && info.st_dev == opened.st_dev && info.st_ino == opened.st_ino;
  strContent.clear();
  char achBuffer[64 * 1024];
  while (bDone) {
    const ssize_t n = ::read(fd, achBuffer, sizeof achBuffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      bDone = n == 0;
      break;
    }
    strContent.append(achBuffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bDone;
}

// Room on the disk for nSize bytes of the file, taken before a byte of it
// changes, so that a full disk refuses the save instead of cutting it
// short. False only when the file system says there is no room (or cannot
// give it); one that cannot reserve room ahead is written without.
bool ReserveRoom(int fd, off_t nOldSize, size_t nSize) {
  if (static_cast<off_t>(nSize) <= nOldSize) return true;
  int nError;
#ifdef __linux__
  // The file keeps its size while the room is taken, so that a reader in
  // the meantime still sees the old content whole.
  nError = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(nSize)) == 0 ? 0 : errno;
#else
  nError = ::posix_fallocate(fd, 0, static_cast<off_t>(nSize));
#endif
  if (nError == 0) return true;
  if (nError == EOPNOTSUPP || nError == ENOSYS || nError == EINVAL) return true;
  const int nCut = ::ftruncate(fd, nOldSize);  // gives back room taken in part
  (void)nCut;
  return false;
}

// Rewrites a regular file in place, so that at no moment does it read as a
// document other than the old or the new one. Until the last step its first
// byte is a zero byte, which no reader takes for the start of a document
// (an INI reader finds a line outside every section); the first byte of the
// new text is written last, once everything after it is in place and on
// the disk.
bool RewriteInPlace(int fd, const char* pData, size_t nSize) {
  if (nSize == 0) return ::ftruncate(fd, 0) == 0 && ::fsync(fd) == 0;
  return PwriteAll(fd, "", 1, 0) && ::fdatasync(fd) == 0 && PwriteAll(fd, pData + 1, nSize - 1, 1) &&
         ::ftruncate(fd, static_cast<off_t>(nSize)) == 0 && ::fsync(fd) == 0 && PwriteAll(fd, pData, 1, 0) &&
         ::fsync(fd) == 0;
}

// A copy of the old content beside the file, flushed to the disk, for the
// time the file is rewritten in place: a save cut short by a crash leaves
// the old document there (as an editor's backup file). Its path, or empty
// when none could be made (a directory that refuses new files, a full
// disk): the rewrite then goes on without.
std::string KeepCopy(const std::string& strDir, const std::string& strOld) {
  std::string strCopy;
  const int fd = CreateBeside(strDir, 0600, strCopy);
  if (fd < 0) return std::string();
  bool bDone = WriteAll(fd, strOld.data(), strOld.size()) && ::fsync(fd) == 0;
  bDone = ::close(fd) == 0 && bDone;
  if (bDone) {
    FlushDirectory(strDir);
    return strCopy;
  }
  ::unlink(strCopy.c_str());
  return std::string();
}

// Writes the file open as fd (pszPath names it) in place: devices and FIFOs
// as a stream; a regular file by reserving its new size, keeping a copy of
// its old content beside it and rewriting it (RewriteInPlace). A rewrite
// that fails puts the old content back when it can; the copy stays only
// when the file does not hold the old content after all.
bool WriteInPlace(int fd, const char* pszPath, const char* pData, size_t nSize) {
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return false;
  }
  if (!S_ISREG(info.st_mode)) return WriteStream(fd, pData, nSize);
  if (!ReserveRoom(fd, info.st_size, nSize)) {
    ::close(fd);
    return false;
  }
  std::string strOld;
  const bool bHaveOld = ReadWhole(pszPath, info, strOld);
  const std::string strDir = RealDirectoryOf(pszPath);
  const std::string strCopy = bHaveOld ? KeepCopy(strDir, strOld) : std::string();
  bool bDone = RewriteInPlace(fd, pData, nSize);
  bool bOldKept = !bDone && bHaveOld && RewriteInPlace(fd, strOld.data(), strOld.size());
  // A write refused before it changed anything leaves the old content.
  std::string strNow;
  if (!bDone && !bOldKept && bHaveOld) bOldKept = ReadWhole(pszPath, info, strNow) && strNow == strOld;
  bDone = ::close(fd) == 0 && bDone;
  if (!strCopy.empty() && (bDone || bOldKept)) ::unlink(strCopy.c_str());
  return bDone;
}

bool CreateNew(const char* pszPath, const char* pData, size_t nSize) {
  // A symbolic link that leads to no file yet: the file is made where it
  // leads, and the link stays.
  struct stat named;
  if (::lstat(pszPath, &named) == 0 && S_ISLNK(named.st_mode)) {
    const int fd = OpenRetry(pszPath, O_WRONLY | O_CREAT, 0666);
    return fd >= 0 && WriteInPlace(fd, pszPath, pData, nSize);
  }
  std::string strNew;
  const int fd = CreateBeside(DirectoryOf(pszPath), 0666, strNew);
  return fd >= 0 && FinishAndRename(fd, strNew, pszPath, pData, nSize);
}

}  // namespace

bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize) {
  if (pszPath == nullptr || *pszPath == '\0') return false;
  // Opening for writing, without creating or truncating, is the test that
  // this process may write the file at all.
  const int fd = OpenRetry(pszPath, O_WRONLY);
  if (fd < 0) return errno == ENOENT && CreateNew(pszPath, pData, nSize);
  struct stat opened;
  if (::fstat(fd, &opened) != 0) {
    ::close(fd);
    return false;
  }
  std::string strTarget;
  if (S_ISREG(opened.st_mode) && opened.st_nlink == 1 && FindFileBehind(pszPath, opened, strTarget)) {
    const EReplaced replaced = ReplaceThroughNewFile(strTarget, opened, pData, nSize);
    if (replaced != EReplaced::refused) {
      ::close(fd);
      return replaced == EReplaced::yes;
    }
  }
  return WriteInPlace(fd, pszPath, pData, nSize);
}

std::vector<std::string> FindKeptCopies(const char* pszPath) {
  std::vector<std::string> copies;
  if (pszPath == nullptr || *pszPath == '\0') return copies;
  const std::string strDir = RealDirectoryOf(pszPath);
  DIR* pDir = ::opendir(strDir.c_str());
  if (pDir == nullptr) return copies;
  const size_t nPrefix = sizeof kBesidePrefix - 1;
  std::vector<std::pair<time_t, std::string>> found;
  while (const dirent* pEntry = ::readdir(pDir)) {
    const std::string strName = pEntry->d_name;
    if (strName.size() != nPrefix + kBesideRandom || strName.compare(0, nPrefix, kBesidePrefix) != 0 ||
        strName.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789", nPrefix) != std::string::npos)
      continue;
    const std::string strPath = (strDir == "/" ? std::string() : strDir) + "/" + strName;
    struct stat info;
    if (::lstat(strPath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) found.emplace_back(info.st_mtime, strPath);
  }
  ::closedir(pDir);
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : found) copies.push_back(std::move(entry.second));
  return copies;
}
