// SaveWholeFile: gives a file new content in the way that keeps every promise
// the file system made about it (its protection, its links, its owner, what
// kind of file it is), and that leaves the previous content whole when the
// save fails wherever that can be done.
#pragma once

#include <cstddef>

// Makes the nSize bytes at pData the whole content of the file at pszPath.
// The directory must exist.
//
// - A file that exists and that this process may not open for writing (a
//   read-only file, say) is left alone: false.
// - A regular file with one link, in a directory that takes a new file, is
//   replaced: the bytes go to a new file beside it under a short name,
//   created exclusively, which gets the file's permission bits (and owner
//   and group, where they differ from the process's), is flushed to the disk
//   and then renamed over the file. A failure on the way removes the new
//   file and leaves the old one as it was: false.
// - A symbolic link stays a link: the file it leads to is saved by the rules
//   above and below.
// - Otherwise the file is written in place: a file with several links (all
//   its names see the new content), a file whose owner the process cannot
//   give to a new file, a file in a directory that refuses new files, a
//   device or a FIFO (which, as for any writer, waits for a reader). A
//   failed write, flush or close gives false; the file may then hold part
//   of the new content.
// - A file that does not exist yet is made through a new file that is
//   renamed into place, with the permissions a new file gets.
//
// True when every byte was written and the file is in place.
bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize);
