// Win32 file I/O over POSIX file descriptors.
#include "Win32FileHandles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local DWORD g_dwLastError = ERROR_SUCCESS;

DWORD ErrnoToWin32(int nErrno) {
  switch (nErrno) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ESPIPE: return ERROR_SEEK_ON_DEVICE;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EIO: return ERROR_WRITE_FAULT;
    default: return ERROR_INVALID_FUNCTION;
  }
}

BOOL Fail(DWORD dwError) {
  g_dwLastError = dwError;
  return FALSE;
}

BOOL FailWithErrno() { return Fail(ErrnoToWin32(errno)); }

int ToFd(HANDLE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }

// A transfer refused with EBADF on a descriptor that is open went the wrong
// way (writing a file opened for reading): Win32 calls that access denied.
BOOL FailTransfer(HANDLE h) {
  if (errno == EBADF && ::fcntl(ToFd(h), F_GETFD) != -1) return Fail(ERROR_ACCESS_DENIED);
  return errno == EIO ? Fail(ERROR_READ_FAULT) : FailWithErrno();
}

bool IsBadHandle(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE || ToFd(h) < 0) {
    g_dwLastError = ERROR_INVALID_HANDLE;
    return true;
  }
  return false;
}

}  // namespace

DWORD WINAPI GetLastError() { return g_dwLastError; }

void WINAPI SetLastError(DWORD dwErrCode) { g_dwLastError = dwErrCode; }

HANDLE WINAPI CreateFile(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                         LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                         DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
  (void)dwShareMode;
  (void)lpSecurityAttributes;
  (void)dwFlagsAndAttributes;
  (void)hTemplateFile;
  if (lpFileName == nullptr || *lpFileName == '\0') {
    Fail(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  bool bRead = (dwDesiredAccess & GENERIC_READ) != 0;
  bool bWrite = (dwDesiredAccess & GENERIC_WRITE) != 0;
  int nFlags = O_CLOEXEC | (bRead && bWrite ? O_RDWR : bWrite ? O_WRONLY : O_RDONLY);
  switch (dwCreationDisposition) {
    case CREATE_NEW: nFlags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: nFlags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: nFlags |= O_CREAT; break;
    case TRUNCATE_EXISTING: nFlags |= O_TRUNC; break;
    default:
      Fail(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  int fd;
  do {
    fd = ::open(lpFileName, nFlags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    FailWithErrno();
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    Fail(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  g_dwLastError = ERROR_SUCCESS;
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
  (void)lpOverlapped;
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
  if (IsBadHandle(hFile)) return FALSE;
  ssize_t n;
  do {
    n = ::read(ToFd(hFile), lpBuffer, nNumberOfBytesToRead);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return FailTransfer(hFile);
  if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = static_cast<DWORD>(n);
  return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  (void)lpOverlapped;
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
  if (IsBadHandle(hFile)) return FALSE;
  const char* p = static_cast<const char*>(lpBuffer);
  DWORD nDone = 0;
  while (nDone < nNumberOfBytesToWrite) {
    ssize_t n = ::write(ToFd(hFile), p + nDone, nNumberOfBytesToWrite - nDone);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = nDone;
      if (n == 0) return Fail(ERROR_DISK_FULL);
      return errno == EIO ? Fail(ERROR_WRITE_FAULT) : FailTransfer(hFile);
    }
    nDone += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = nDone;
  return TRUE;
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod) {
  if (IsBadHandle(hFile)) return FALSE;
  if (dwMoveMethod > FILE_END) return Fail(ERROR_INVALID_PARAMETER);
  int nWhence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR : SEEK_END;
  off_t nPos = ::lseek(ToFd(hFile), static_cast<off_t>(liDistanceToMove.QuadPart), nWhence);
  if (nPos < 0) return errno == EINVAL ? Fail(ERROR_NEGATIVE_SEEK) : FailWithErrno();
  if (lpNewFilePointer != nullptr) lpNewFilePointer->QuadPart = static_cast<LONGLONG>(nPos);
  return TRUE;
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  if (IsBadHandle(hFile)) return FALSE;
  struct stat st;
  if (::fstat(ToFd(hFile), &st) != 0) return FailWithErrno();
  if (!S_ISREG(st.st_mode)) return Fail(ERROR_INVALID_FUNCTION);
  lpFileSize->QuadPart = static_cast<LONGLONG>(st.st_size);
  return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
  if (IsBadHandle(hFile)) return FALSE;
  off_t nPos = ::lseek(ToFd(hFile), 0, SEEK_CUR);
  if (nPos < 0) return FailWithErrno();
  if (::ftruncate(ToFd(hFile), nPos) != 0) return FailWithErrno();
  return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
  if (IsBadHandle(hFile)) return FALSE;
  // Pipes and devices cannot be synchronised; there is nothing to commit.
  if (::fsync(ToFd(hFile)) != 0 && errno != EINVAL && errno != EROFS) return FailWithErrno();
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (IsBadHandle(hObject)) return FALSE;
  // The descriptor is released even when close reports an error; retrying
  // after EINTR could close a descriptor that another thread reused.
  if (::close(ToFd(hObject)) != 0 && errno != EINTR) return FailWithErrno();
  return TRUE;
}
