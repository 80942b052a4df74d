// SaveWholeFile: gives a file new content in the way that keeps every promise
// the file system made about it (its protection, its links, its owner, what
// kind of file it is), and that leaves the previous content whole when the
// save fails wherever that can be done. Declared once and decided once
// (mfc/FileSave.cpp), over the file calls each side defines
// (FilePrimitives.h).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CFilePrimitives;

// Makes the nSize bytes at pData the whole content of the file at pszPath.
// The directory must exist.
//
// - A file that exists and that this process may not open for writing (a
//   read-only file, or on Windows the read-only attribute) is left alone:
//   false.
// - A regular file with one link, in a directory that takes a new file, is
//   replaced: the bytes go to a new file beside it under a short name,
//   created exclusively, flushed to the disk and put in the file's place.
//   Posix: the new file gets the file's owner and group (where they differ
//   from the process's), permission bits, access control lists and
//   extended attributes, and is renamed over the file. Windows: ReplaceFile
//   puts it in place, carrying over the file's attributes and security. A
//   failure on the way removes the new file and leaves the old one as it
//   was: false. New files that a save killed on the way left beside the
//   file go at its next save.
// - A symbolic link stays a link: the file it leads to is saved by the rules
//   above and below.
// - Otherwise the file is written in place: a file with several links (all
//   its names see the new content), a file whose owner, access control
//   lists or extended attributes the process cannot give to a new file
//   (posix), a file in a directory that refuses new files, a device or a
//   FIFO (which, as for any writer, waits for a reader). A regular file
//   first gets the room of its new size on the disk (a full disk refuses
//   the save there, the file unchanged), and a copy of its old content is
//   kept until the new content is complete and flushed: beside it, or,
//   where its folder takes no new file, in this user's state or runtime
//   folder. Where no copy can be kept anywhere the file is not rewritten
//   (false, the file unchanged, and the reason says why). A copy's name
//   carries the identity of the file it was made for. While the file is
//   rewritten its first byte is a zero byte, so that a save cut short
//   (killed, or a failed write) never leaves text that reads as another
//   document: the file then reads as no document, and the copy holds the
//   old one. A failed write puts the old content back where it can: false,
//   and the copy goes once the file holds the old content again. A close
//   that fails after everything was written and flushed is no failure when
//   the file, read again through a handle of its own, holds the new
//   content. Devices and FIFOs take the bytes as they come.
// - A file that does not exist yet is made through a new file moved into
//   place (on Windows with the move written through to the disk), with the
//   permissions a new file gets.
//
// True when every byte was written and the file is in place. On failure
// errno holds the system's reason, and pstrWhy (when given) receives it as
// a phrase, or a longer one where errno alone would mislead.
bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize, std::string* pstrWhy = nullptr);
// The same decisions over the given file calls (a fake, in tests).
bool SaveWholeFileWith(CFilePrimitives& files, const char* pszPath, const char* pData, size_t nSize,
                       std::string* pstrWhy = nullptr);

// The copies of old content that in-place saves of the file at pszPath (the
// file itself, whichever name leads to it) left when they were cut short,
// beside it or in the user's folders, newest first; empty when there are
// none. Such a file then begins with a zero byte.
std::vector<std::string> FindKeptCopies(const char* pszPath);
std::vector<std::string> FindKeptCopiesWith(CFilePrimitives& files, const char* pszPath);
// What the names of those copies begin with (the identity of the file);
// empty when the file cannot be told.
std::string KeptCopyPrefix(const char* pszPath);
