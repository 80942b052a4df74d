// SaveWholeFile: gives a file new content in the way that keeps every promise
// the file system made about it, over the Windows API.
#pragma once

#include <cstddef>

// Makes the nSize bytes at pData the whole content of the file at pszPath
// (the directory must exist); true when every byte was written and the file
// is in place.
//
// - A file that this process may not open for writing (the read-only
//   attribute, say) is left alone: false.
// - A disk file with one link, in a directory that takes a new file, is
//   replaced: the bytes go to a new file beside it (the final path of a
//   link's target), created exclusively under a short name, flushed to the
//   disk and put in the file's place by ReplaceFile, which carries over the
//   file's attributes and security. A failure on the way deletes the new
//   file and leaves the old one as it was: false.
// - Otherwise the file is written in place: a file with several links, a
//   file in a directory that refuses new files, a device. A failed write,
//   flush or close gives false.
// - A file that does not exist yet is made through a new file moved into
//   place with the move written through to the disk.
bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize);
