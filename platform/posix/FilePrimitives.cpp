// The file calls of a save over POSIX: open, fstat, realpath, exclusive
// creation held under flock, fallocate, pwrite, ftruncate, fsync, rename;
// owner, permissions, access control lists (libacl) and extended
// attributes (libattr) carried over to a new file.
#include "FilePrimitives.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

thread_local int t_nError = 0;

// Records errno as the reason of the call that failed; false.
bool Fail() {
  t_nError = errno;
  return false;
}

FileRef OpenRetry(const char* pszPath, int nFlags, mode_t nMode = 0) {
  int fd;
  do {
    fd = ::open(pszPath, nFlags | O_CLOEXEC | O_NOCTTY, nMode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) Fail();
  return fd;
}

void FactsOf(const struct stat& info, CFileFacts& facts) {
  facts.nVolume = static_cast<uint64_t>(info.st_dev);
  facts.nIndex = static_cast<uint64_t>(info.st_ino);
  facts.nLinks = static_cast<uint32_t>(info.st_nlink);
  facts.bRegular = S_ISREG(info.st_mode);
  facts.nSize = static_cast<uint64_t>(info.st_size);
  facts.nModified = static_cast<int64_t>(info.st_mtime);
}

bool MakeFolder(const std::string& strFolder) {
  if (::mkdir(strFolder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  if (errno != ENOENT) return false;
  const size_t nSlash = strFolder.rfind('/');
  return nSlash != std::string::npos && nSlash > 0 && MakeFolder(strFolder.substr(0, nSlash)) &&
         (::mkdir(strFolder.c_str(), 0700) == 0 || errno == EEXIST);
}

bool IsFolder(const std::string& strFolder) {
  struct stat info;
  return ::stat(strFolder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class CPosixFilePrimitives : public CFilePrimitives {
 public:
  FileRef OpenForWriting(const std::string& strPath) override { return OpenRetry(strPath.c_str(), O_WRONLY); }

  bool Identify(FileRef file, CFileFacts& facts) override {
    struct stat info;
    if (::fstat(static_cast<int>(file), &info) != 0) return Fail();
    FactsOf(info, facts);
    return true;
  }

  bool IdentifyPath(const std::string& strPath, CFileFacts& facts) override {
    struct stat info;
    if (::stat(strPath.c_str(), &info) != 0) return Fail();
    FactsOf(info, facts);
    return true;
  }

  // realpath, or for a symbolic link to no file yet the path it leads to.
  std::string ResolvePath(const std::string& strPath) override {
    std::string strNow = strPath;
    for (int nHops = 0; nHops < 40; ++nHops) {
      if (char* pszReal = ::realpath(strNow.c_str(), nullptr)) {
        strNow = pszReal;
        std::free(pszReal);
        return strNow;
      }
      struct stat info;
      if (::lstat(strNow.c_str(), &info) != 0) return errno == ENOENT && nHops > 0 ? strNow : std::string();
      if (!S_ISLNK(info.st_mode)) return std::string();
      char szLink[PATH_MAX];
      const ssize_t n = ::readlink(strNow.c_str(), szLink, sizeof szLink - 1);
      if (n <= 0) return std::string();
      const std::string strLink(szLink, static_cast<size_t>(n));
      strNow = strLink[0] == '/' ? strLink : InFolder(FolderOf(strNow), strLink);
    }
    return std::string();
  }

  FileRef CreateBeside(const std::string& strPath, bool bPrivate) override {
    const FileRef fd = OpenRetry(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, bPrivate ? 0600 : 0666);
    // Held while it is written, so that no one takes it for abandoned.
    if (fd >= 0) ::flock(static_cast<int>(fd), LOCK_EX | LOCK_NB);
    return fd;
  }

  bool ReserveRoom(FileRef file, uint64_t nOldSize, uint64_t nNewSize) override {
    if (nNewSize <= nOldSize) return true;
    const int fd = static_cast<int>(file);
    int nError;
#ifdef __linux__
    // The file keeps its size while the room is taken, so that a reader in
    // the meantime still sees the old content whole.
    nError = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(nNewSize)) == 0 ? 0 : errno;
#else
    nError = ::posix_fallocate(fd, 0, static_cast<off_t>(nNewSize));
#endif
    if (nError == 0 || nError == EOPNOTSUPP || nError == ENOSYS || nError == EINVAL) return true;
    const int nCut = ::ftruncate(fd, static_cast<off_t>(nOldSize));  // gives back room taken in part
    (void)nCut;
    errno = nError;
    return Fail();
  }

  bool WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) override {
    const int fd = static_cast<int>(file);
    struct stat info;
    const bool bPositioned = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    while (nSize > 0) {
      const ssize_t n = bPositioned ? ::pwrite(fd, pData, nSize, static_cast<off_t>(nOffset)) : ::write(fd, pData, nSize);
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) errno = ENOSPC;
      if (n <= 0) return Fail();
      pData += n;
      nSize -= static_cast<size_t>(n);
      nOffset += static_cast<uint64_t>(n);
    }
    return true;
  }

  bool Truncate(FileRef file, uint64_t nSize) override {
    return ::ftruncate(static_cast<int>(file), static_cast<off_t>(nSize)) == 0 || Fail();
  }

  bool Flush(FileRef file) override { return ::fsync(static_cast<int>(file)) == 0 || Fail(); }

  // The descriptor is gone whatever close answers (EINTR included).
  bool Close(FileRef file) override { return ::close(static_cast<int>(file)) == 0 || Fail(); }

  bool ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) override {
    const FileRef fd = OpenRetry(strPath.c_str(), O_RDONLY);
    if (fd < 0) return false;
    CFileFacts opened;
    bool bDone = Identify(fd, opened) && opened.SameFile(facts);
    strContent.clear();
    char achBuffer[64 * 1024];
    while (bDone) {
      const ssize_t n = ::read(static_cast<int>(fd), achBuffer, sizeof achBuffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) bDone = Fail();
      if (n <= 0) break;
      strContent.append(achBuffer, static_cast<size_t>(n));
    }
    ::close(static_cast<int>(fd));
    return bDone;
  }

  // Owner and group first (a change of owner clears the set-id bits), then
  // the permissions with the access control list, then the extended
  // attributes other than those lists.
  bool CopyAttributes(FileRef from, FileRef to) override {
    const int fdFrom = static_cast<int>(from), fdTo = static_cast<int>(to);
    struct stat source, made;
    if (::fstat(fdFrom, &source) != 0 || ::fstat(fdTo, &made) != 0) return Fail();
    if ((made.st_uid != source.st_uid || made.st_gid != source.st_gid) &&
        ::fchown(fdTo, source.st_uid, source.st_gid) != 0)
      return Fail();
    if (::perm_copy_fd("", fdFrom, "", fdTo, nullptr) != 0) return Fail();
    return ::attr_copy_fd("", fdFrom, "", fdTo, nullptr, nullptr) == 0 || Fail();
  }

  bool Replace(const std::string& strNew, const std::string& strTarget) override {
    return ::rename(strNew.c_str(), strTarget.c_str()) == 0 || Fail();
  }

  bool MoveInto(const std::string& strNew, const std::string& strTarget) override { return Replace(strNew, strTarget); }

  bool Remove(const std::string& strPath) override { return ::unlink(strPath.c_str()) == 0 || Fail(); }

  bool FlushFolder(const std::string& strFolder) override {
    const FileRef fd = OpenRetry(strFolder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool bDone = ::fsync(static_cast<int>(fd)) == 0 || Fail();
    ::close(static_cast<int>(fd));
    return bDone;
  }

  bool RemoveIfAbandoned(const std::string& strPath) override {
    const FileRef fd = OpenRetry(strPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    const bool bAbandoned = ::fstat(static_cast<int>(fd), &info) == 0 && S_ISREG(info.st_mode) &&
                            ::flock(static_cast<int>(fd), LOCK_EX | LOCK_NB) == 0;
    const bool bRemoved = bAbandoned && Remove(strPath);
    ::close(static_cast<int>(fd));
    return bRemoved;
  }

  std::vector<CFolderEntry> List(const std::string& strFolder, const std::string& strPrefix) override {
    std::vector<CFolderEntry> entries;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (pDir == nullptr) return entries;
    while (const dirent* pEntry = ::readdir(pDir)) {
      const std::string strName = pEntry->d_name;
      struct stat info;
      if (strName.compare(0, strPrefix.size(), strPrefix) != 0 ||
          ::lstat(InFolder(strFolder, strName).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        continue;
      entries.push_back({strName, static_cast<int64_t>(info.st_mtime)});
    }
    ::closedir(pDir);
    return entries;
  }

  std::vector<std::string> CopyFolders(bool bMake) override {
    std::vector<std::string> folders;
    const char* pszState = std::getenv("XDG_STATE_HOME");
    const char* pszHome = std::getenv("HOME");
    std::string strState;
    if (pszState != nullptr && *pszState == '/') strState = pszState;
    else if (pszHome != nullptr && *pszHome == '/') strState = std::string(pszHome) + "/.local/state";
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    for (std::string strBase : {strState, std::string(pszRuntime != nullptr && *pszRuntime == '/' ? pszRuntime : "")}) {
      if (strBase.empty()) continue;
      const std::string strFolder = strBase + "/nimbo";
      if (bMake ? MakeFolder(strFolder) : IsFolder(strFolder)) folders.push_back(strFolder);
    }
    return folders;
  }

  std::string FolderOf(const std::string& strPath) override {
    const size_t nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos) return ".";
    return nSlash == 0 ? "/" : strPath.substr(0, nSlash);
  }

  std::string InFolder(const std::string& strFolder, const std::string& strName) override {
    return (strFolder == "/" ? std::string() : strFolder) + "/" + strName;
  }

  int Error() override { return t_nError; }
};

}  // namespace

CFilePrimitives& SystemFilePrimitives() {
  static CPosixFilePrimitives s_files;
  return s_files;
}
