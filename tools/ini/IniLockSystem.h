// IniLockSystem: the system calls behind CIniFileLock, one definition per
// platform side (IniLockSystemPosix.cpp; on Windows,
// tools/win32/IniLockSystemWin32.cpp). Failures are errno values.
#pragma once

#include <string>

namespace nimbo {
namespace ini {

// Creates the empty file strPath, which must not exist yet: 0, EEXIST when
// it exists, or the reason it cannot be made (ENOENT: no such directory;
// EACCES, EPERM or EROFS: the directory takes no new file).
int CreateLockFile(const std::string& strPath);
// Removes it. Until then an interrupt of the process (Ctrl+C, a request to
// end it, its terminal or console going away) removes it too, before the
// process ends as it would have: an interrupted change must not leave a
// lock that makes the next one wait and fail.
void RemoveLockFileOnInterrupt(const std::string& strPath);
void RemoveLockFile(const std::string& strPath);

// Takes the exclusive advisory lock of the file open as fd, without
// waiting: 0, EBUSY while another process holds it, EINTR when a signal
// came first, or the reason it cannot be taken. Closing fd gives it up.
int TryLockExclusive(int fd);

// A number that differs between processes running at once.
unsigned ProcessSeed();

}  // namespace ini
}  // namespace nimbo
