// IniLockSystem on Windows: LockFileEx of a byte far beyond the end of the
// file, through a handle that lets the file be replaced; while the file
// does not exist yet, of a file in its folder that goes when closed. A
// change of a file takes that folder's lock too: ReplaceFile leaves the
// file's name empty for a moment, and a change that came then would take
// the file for a missing one and make it anew.
#include "tools/ini/IniLockSystem.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <map>

#include "Win32Errno.h"

namespace nimbo {
namespace ini {
namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A descriptor over a handle of CreateFile, or -1 with errno set.
int OpenNamed(const std::string& strPath, DWORD dwAccess, DWORD dwDisposition, DWORD dwFlags) {
  const HANDLE hFile = CreateFileA(strPath.c_str(), dwAccess, kShareAll, nullptr, dwDisposition, dwFlags, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    // Held for a moment by another change's ReplaceFile: it will open again.
    const DWORD dwError = GetLastError();
    errno = dwError == ERROR_SHARING_VIOLATION ? EBUSY : ErrnoOfSystemError(dwError);
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(hFile), _O_RDONLY | _O_BINARY);
  if (fd < 0) CloseHandle(hFile);
  return fd;
}

bool SameFile(HANDLE hOne, HANDLE hOther) {
  BY_HANDLE_FILE_INFORMATION one, other;
  return GetFileInformationByHandle(hOne, &one) && GetFileInformationByHandle(hOther, &other) &&
         one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
         one.nFileIndexLow == other.nFileIndexLow;
}

// The folder's lock that goes with each file's lock, by the file's
// descriptor; none where the folder takes no new file.
std::map<int, int> g_folderLocks;

int LockByte(int fd, bool bShared) {
  const HANDLE hFile = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (hFile == INVALID_HANDLE_VALUE) return EBADF;
  // Windows' locks are mandatory: a locked byte cannot be read or written
  // through any other handle, this process's own save among them. The byte
  // locked lies far beyond the end of any INI file, so the lock excludes
  // only other changes and readers, which lock the same byte, as flock would.
  OVERLAPPED place = {};
  place.Offset = 0xFFFFFFFF;
  place.OffsetHigh = 0x7FFFFFFF;
  const DWORD dwFlags = LOCKFILE_FAIL_IMMEDIATELY | (bShared ? 0 : LOCKFILE_EXCLUSIVE_LOCK);
  if (LockFileEx(hFile, dwFlags, 0, 1, 0, &place)) return 0;
  const DWORD dwError = GetLastError();
  return dwError == ERROR_LOCK_VIOLATION || dwError == ERROR_IO_PENDING ? EBUSY : ErrnoOfSystemError(dwError);
}

void UnlockByte(int fd) {
  OVERLAPPED place = {};
  place.Offset = 0xFFFFFFFF;
  place.OffsetHigh = 0x7FFFFFFF;
  UnlockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), 0, 1, 0, &place);
}

}  // namespace

int OpenToLock(const std::string& strPath) {
  const int fd = OpenNamed(strPath, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (fd < 0) return -1;
  const int fdFolder = OpenToLockMissing(strPath);
  if (fdFolder < 0 && errno == EBUSY) {
    _close(fd);
    errno = EBUSY;
    return -1;
  }
  if (fdFolder >= 0) g_folderLocks[fd] = fdFolder;
  return fd;
}

int OpenToLockMissing(const std::string& strPath) {
  const size_t nSeparator = strPath.find_last_of("\\/");
  const std::string strFolder = nSeparator == std::string::npos ? std::string() : strPath.substr(0, nSeparator + 1);
  const std::string strLock = strFolder + ".~nbnew.lock";
  const int fd = OpenNamed(strLock, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
  // Once its holder has closed it, the file refuses to open until its last
  // handle is gone.
  if (fd < 0 && errno == EACCES && GetFileAttributesA(strLock.c_str()) != INVALID_FILE_ATTRIBUTES) errno = EBUSY;
  return fd;
}

int TryLock(int fd, bool bShared) {
  const int nError = LockByte(fd, bShared);
  const auto folder = g_folderLocks.find(fd);
  if (nError != 0 || bShared || folder == g_folderLocks.end()) return nError;
  const int nFolderError = LockByte(folder->second, false);
  if (nFolderError != 0) UnlockByte(fd);
  return nFolderError;
}

bool StillLeadsTo(int fd, const std::string& strPath, bool bMissing) {
  const HANDLE hNamed = CreateFileA(strPath.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                    nullptr);
  if (hNamed == INVALID_HANDLE_VALUE) return bMissing && GetLastError() == ERROR_FILE_NOT_FOUND;
  const bool bSame = !bMissing && SameFile(hNamed, reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
  CloseHandle(hNamed);
  return bSame;
}

void CloseLock(int fd) {
  const auto folder = g_folderLocks.find(fd);
  if (folder != g_folderLocks.end()) {
    _close(folder->second);
    g_folderLocks.erase(folder);
  }
  _close(fd);
}

unsigned ProcessSeed() { return static_cast<unsigned>(GetCurrentProcessId()); }

}  // namespace ini
}  // namespace nimbo
