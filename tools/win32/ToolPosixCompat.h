// The few POSIX calls of the nimbo tool's shared sources, over the C runtime
// of Windows. Included ahead of every tool source on the Windows side only
// (tools/win32/WindowsTool.cmake); the library never sees it.
#pragma once

#include <errno.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

// The absolute form of an existing path, in a buffer of malloc's when
// pszResolved is null, as realpath gives it; null with errno set otherwise.
// (Windows resolves no symbolic links here: _fullpath only makes the path
// absolute and removes "." and "..".)
inline char* realpath(const char* pszPath, char* pszResolved) {
  if (_access(pszPath, 0) != 0) return nullptr;
  return _fullpath(pszResolved, pszPath, pszResolved == nullptr ? 0 : _MAX_PATH);
}

// There are no symbolic links to read, and no /proc.
inline long readlink(const char*, char*, size_t) {
  errno = ENOSYS;
  return -1;
}
