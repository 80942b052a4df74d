// IniLockSystem on Windows: CreateFile with CREATE_NEW makes the lock file,
// LockFileEx the advisory lock, and a console control handler removes the
// lock file when the process is interrupted (Windows has no signals for
// that; Ctrl+C, Ctrl+Break, the console closing and the session ending all
// come to the handler).
#include "tools/ini/IniLockSystem.h"

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

namespace nimbo {
namespace ini {
namespace {

// The lock file of this process, for the control handler.
char g_szLockPath[MAX_PATH];

BOOL WINAPI RemoveLockOnControl(DWORD) {
  DeleteFileA(g_szLockPath);
  return FALSE;  // the next handler, in the end the default one, ends the process
}

// The errno value of a failed file call's Windows error.
int ErrnoOf(DWORD nError) {
  switch (nError) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
      return EINVAL;
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING:
      return EBUSY;
    default:
      return EIO;
  }
}

}  // namespace

int CreateLockFile(const std::string& strPath) {
  const HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile != INVALID_HANDLE_VALUE) {
    CloseHandle(hFile);
    return 0;
  }
  const DWORD nError = GetLastError();
  // A lock file that another process is removing is refused as access
  // denied while it still exists: it is taken, not a folder without rights.
  if (nError == ERROR_ACCESS_DENIED && GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES) return EEXIST;
  return ErrnoOf(nError);
}

void RemoveLockFileOnInterrupt(const std::string& strPath) {
  if (strPath.size() >= sizeof g_szLockPath) return;
  std::memcpy(g_szLockPath, strPath.c_str(), strPath.size() + 1);
  SetConsoleCtrlHandler(RemoveLockOnControl, TRUE);
}

void RemoveLockFile(const std::string& strPath) {
  DeleteFileA(strPath.c_str());
  SetConsoleCtrlHandler(RemoveLockOnControl, FALSE);
}

int TryLockExclusive(int fd) {
  const HANDLE hFile = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (hFile == INVALID_HANDLE_VALUE) return EBADF;
  // Windows' locks are mandatory: a locked byte cannot be read or written
  // through any other handle, this process's own save among them. The byte
  // locked lies far beyond the end of any INI file, so the lock excludes
  // only other changes, which lock the same byte, as flock would.
  OVERLAPPED place = {};
  place.Offset = 0xFFFFFFFF;
  place.OffsetHigh = 0x7FFFFFFF;
  if (LockFileEx(hFile, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place)) return 0;
  return ErrnoOf(GetLastError());
}

unsigned ProcessSeed() { return static_cast<unsigned>(GetCurrentProcessId()); }

}  // namespace ini
}  // namespace nimbo
