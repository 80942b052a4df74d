// SaveWholeFile: gives a file new content in the way that keeps every promise
// the file system made about it (its protection, its links, its owner, what
// kind of file it is), and that leaves the previous content whole when the
// save fails wherever that can be done. Declared once; each side defines it
// with its own file system's calls.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Makes the nSize bytes at pData the whole content of the file at pszPath.
// The directory must exist.
//
// - A file that exists and that this process may not open for writing (a
//   read-only file, or on Windows the read-only attribute) is left alone:
//   false.
// - A regular file with one link, in a directory that takes a new file, is
//   replaced: the bytes go to a new file beside it under a short name,
//   created exclusively, flushed to the disk and put in the file's place.
//   Posix: the new file gets the file's permission bits (and owner and
//   group, where they differ from the process's) and is renamed over the
//   file. Windows: ReplaceFile puts it in place, carrying over the file's
//   attributes and security. A failure on the way removes the new file and
//   leaves the old one as it was: false.
// - A symbolic link stays a link: the file it leads to is saved by the rules
//   above and below.
// - Otherwise the file is written in place: a file with several links (all
//   its names see the new content), a file whose owner the process cannot
//   give to a new file (posix), a file in a directory that refuses new
//   files, a device or a FIFO (which, as for any writer, waits for a
//   reader). A regular file first gets the room of its new size on the
//   disk (a full disk refuses the save there, the file unchanged), and a
//   copy of its old content is kept beside it, under a short name, until
//   the new content is complete and flushed. While it is rewritten its
//   first byte is a zero byte, so that a save cut short (killed, or a
//   failed write) never leaves text that reads as another document: the
//   file then reads as no document, and the copy holds the old one. A
//   failed write puts the old content back where it can: false, and the
//   copy goes once the file holds the old content again. Devices and FIFOs
//   take the bytes as they come.
// - A file that does not exist yet is made through a new file moved into
//   place (on Windows with the move written through to the disk), with the
//   permissions a new file gets.
//
// True when every byte was written and the file is in place.
bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize);

// The copies of old content that in-place saves cut short may have left
// beside the file at pszPath (in the directory of the file a link leads
// to), by the form of their names, newest first; empty when there are none.
// Such a file then begins with a zero byte. The names cannot tell which
// file a copy was made for, nor a copy from a new file that a replacement
// cut short left: they are for a person to look at.
std::vector<std::string> FindKeptCopies(const char* pszPath);
