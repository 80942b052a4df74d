// Win32 file I/O over handles (CreateFile, ReadFile, WriteFile, the file
// pointer, CloseHandle) and the thread's last error, over POSIX descriptors.
//
// The functions keep Win32's names, signatures and error codes so that the
// MFC-shaped file classes work unchanged over either side. A HANDLE here
// carries a file descriptor; INVALID_HANDLE_VALUE is the failure value.
// Sharing modes, security attributes, overlapped I/O and template files are
// accepted and ignored. (Replacing, renaming and deleting files: Win32FileReplace.h.)
#pragma once

#include "Win32Def.h"

typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef DWORD* LPDWORD;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};
typedef LARGE_INTEGER* PLARGE_INTEGER;

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_NORMAL 0x00000080

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

// Error codes reported by GetLastError.
#define ERROR_SUCCESS 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_LOCK_VIOLATION 33L
#define ERROR_HANDLE_EOF 38L
#define ERROR_HANDLE_DISK_FULL 39L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_SEEK_ON_DEVICE 132L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_DIRECTORY 267L

// The calling thread's last error code, set by the functions below when
// they fail.
DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD dwErrCode);

// Opens or creates a file. Returns the handle, or INVALID_HANDLE_VALUE with
// the reason in GetLastError (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ...).
// A directory cannot be opened (ERROR_ACCESS_DENIED).
HANDLE WINAPI CreateFile(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                         LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                         DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);

// Reads up to nNumberOfBytesToRead bytes. TRUE with *lpNumberOfBytesRead 0
// at the end of the file; FALSE on an error.
BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped);

// Writes all the bytes; FALSE (with the count actually written) when the
// device refuses some of them, e.g. ERROR_DISK_FULL.
BOOL WINAPI WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);

// Moves the file pointer; the new position goes to *lpNewFilePointer when
// that is not null. FALSE for a negative result (ERROR_NEGATIVE_SEEK) or a
// device that cannot seek (ERROR_SEEK_ON_DEVICE).
BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod);

// The size of a disk file; FALSE (ERROR_INVALID_FUNCTION) for pipes and
// devices, which have none.
BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize);

// Cuts or extends the file at the current file pointer.
BOOL WINAPI SetEndOfFile(HANDLE hFile);

// Commits written data to the device.
BOOL WINAPI FlushFileBuffers(HANDLE hFile);

BOOL WINAPI CloseHandle(HANDLE hObject);
