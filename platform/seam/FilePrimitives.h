// CFilePrimitives: the file calls a whole-file save is made of, declared
// once. Each side defines them over its own system (posix/FilePrimitives.cpp,
// win32/FilePrimitives.cpp); the policy that decides between replacing a
// file and rewriting it in place (FileSave.cpp, shared) uses nothing else,
// so a fake of these calls (the tests' CFaultyFiles)
// fails any one of them on either side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A file open through the primitives: the side's descriptor or handle.
using FileRef = intptr_t;
const FileRef kNoFile = -1;

// What a save needs to know of a file: which file it is (the same for every
// name that leads to it, symbolic or hard), how many names it has, what kind
// of file it is and its size.
struct CFileFacts {
  uint64_t nVolume = 0;
  uint64_t nIndex = 0;
  uint32_t nLinks = 0;
  bool bRegular = false;  // a file on the disk, not a device, FIFO or console
  uint64_t nSize = 0;
  int64_t nModified = 0;  // seconds since 1970

  bool SameFile(const CFileFacts& other) const { return nVolume == other.nVolume && nIndex == other.nIndex; }
};

// A name found in a folder, with when its file was last written.
struct CFolderEntry {
  std::string strName;
  int64_t nModified = 0;
};

class CFilePrimitives {
 public:
  virtual ~CFilePrimitives() = default;

  // Opens the file strPath leads to (through symbolic links) for writing,
  // neither creating nor truncating it: the test that this process may
  // write it at all.
  virtual FileRef OpenForWriting(const std::string& strPath) = 0;
  // The facts of an open file.
  virtual bool Identify(FileRef file, CFileFacts& facts) = 0;
  // The facts of the file a path leads to, through symbolic links.
  virtual bool IdentifyPath(const std::string& strPath, CFileFacts& facts) = 0;
  // The path of the file strPath leads to, with every symbolic link
  // resolved; empty when it cannot be told.
  virtual std::string ResolvePath(const std::string& strPath) = 0;
  // Creates the file strPath exclusively (never one that exists, never
  // through a link), readable and writable by its owner only when
  // bPrivate, else with the permissions a new file gets. While it stays
  // open, RemoveIfAbandoned leaves it alone.
  virtual FileRef CreateBeside(const std::string& strPath, bool bPrivate) = 0;
  // Room on the disk for nNewSize bytes, taken before a byte changes and
  // without changing the file's size; false when the disk has no room. A
  // file system that cannot reserve room ahead is written without.
  virtual bool ReserveRoom(FileRef file, uint64_t nOldSize, uint64_t nNewSize) = 0;
  // Writes all nSize bytes at nOffset (a regular file), or as they come
  // (nOffset ignored) to a device or FIFO.
  virtual bool WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) = 0;
  virtual bool Truncate(FileRef file, uint64_t nSize) = 0;
  // Puts what was written on the disk.
  virtual bool Flush(FileRef file) = 0;
  virtual bool Close(FileRef file) = 0;
  // The whole content of the file strPath leads to, read through a handle
  // of its own, when it is the file facts describe.
  virtual bool ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) = 0;
  // Gives the new file what the old one has that a new file does not get by
  // itself: owner, group, permissions, access control lists and extended
  // attributes. False when this process cannot give all of them (the file
  // is then written in place instead).
  virtual bool CopyAttributes(FileRef from, FileRef to) = 0;
  // Puts the closed new file strNew in the place of the existing strTarget
  // in one step, carrying over what the system carries over: either the
  // target holds the new content, or it holds the old one and strNew is
  // gone.
  virtual bool Replace(const std::string& strNew, const std::string& strTarget) = 0;
  // Gives the closed new file strNew the name strTarget, where no file is.
  virtual bool MoveInto(const std::string& strNew, const std::string& strTarget) = 0;
  virtual bool Remove(const std::string& strPath) = 0;
  // Makes the names made or changed in strFolder last across a crash.
  virtual bool FlushFolder(const std::string& strFolder) = 0;
  // Removes strPath when no process has it open through CreateBeside any
  // more (its maker ended without removing it); false otherwise.
  virtual bool RemoveIfAbandoned(const std::string& strPath) = 0;
  // The files in strFolder whose names begin with strPrefix.
  virtual std::vector<CFolderEntry> List(const std::string& strFolder, const std::string& strPrefix) = 0;
  // The folders of this user where a copy may be kept when the file's own
  // folder takes none (its state and runtime folders), made when bMake and
  // missing; those that do not exist then are left out.
  virtual std::vector<std::string> CopyFolders(bool bMake) = 0;
  // The folder a path names its file in ("." for a bare name), and a name
  // in a folder, by the side's rules for paths.
  virtual std::string FolderOf(const std::string& strPath) = 0;
  virtual std::string InFolder(const std::string& strFolder, const std::string& strName) = 0;
  // The reason the last call that failed failed, as an errno value.
  virtual int Error() = 0;
};

// The calls of the system this side is built for.
CFilePrimitives& SystemFilePrimitives();
