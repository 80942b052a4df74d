// IniFileAccess: how the ini commands open a file to read its bytes, and
// map it where the system maps files; one definition per platform side
// (posix/IniFileAccess.cpp; win32/IniFileAccess.cpp on Windows).
#pragma once

#include <cstddef>
#include <string>

namespace nimbo {
namespace ini {

// A descriptor open on strPath for reading its bytes untranslated (never
// inherited by a child process), or -1 with errno set.
int OpenToRead(const std::string& strPath);

// The whole of the file open as fd, mapped read-only, when it is a regular
// file of at least one byte and the system maps it; nSize is then its size.
// Null otherwise: the caller reads the descriptor instead.
const void* MapWholeFile(int fd, size_t& nSize);
// Gives up a mapping that MapWholeFile made.
void UnmapWholeFile(const void* pMap, size_t nSize);

}  // namespace ini
}  // namespace nimbo
