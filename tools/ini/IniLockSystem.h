// IniLockSystem: the system calls behind CIniFileLock, one definition per
// platform side (posix/IniLockSystem.cpp; on Windows,
// win32/IniLockSystem.cpp). Failures are errno values.
//
// The lock is an advisory lock of the file itself, so that every name that
// leads to it (a symbolic link, another hard link) takes the same lock, and
// the system gives it up when its holder ends, however it ends.
#pragma once

#include <string>

namespace nimbo {
namespace ini {

// Opens the file strPath leads to (through symbolic links) to lock it,
// readable and without keeping it from being replaced: a descriptor, or -1
// with errno set (ENOENT: there is no such file; EBUSY: another change
// holds it closed for a moment).
int OpenToLock(const std::string& strPath);
// Opens what stands for the file strPath while it does not exist yet, to
// lock it: the folder it will be made in, or a file there that goes when
// it is closed. -1 with errno set (EBUSY: that file is going and cannot
// be opened until it has gone).
int OpenToLockMissing(const std::string& strPath);
// Takes the advisory lock of fd without waiting, exclusive for a change or
// shared for a reader: 0, EBUSY while another process holds it in a way
// that excludes this one, EINTR when a signal came first, or the reason it
// cannot be taken. Closing fd gives it up.
int TryLock(int fd, bool bShared);
// Whether strPath still leads to the file open as fd (a change that ended
// meanwhile may have put a new file in its place), or, for a lock of a
// missing file (bMissing), still leads to no file.
bool StillLeadsTo(int fd, const std::string& strPath, bool bMissing);
void CloseLock(int fd);

// A number that differs between processes running at once.
unsigned ProcessSeed();

}  // namespace ini
}  // namespace nimbo
