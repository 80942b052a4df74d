// CFileStamp: what tells whether a file was changed on disk since it was
// last read or written (its identity, size and modification time).
#pragma once

#include <string>

struct CFileStamp {
  bool bExists = false;
  unsigned long long nDevice = 0;
  unsigned long long nInode = 0;
  long long nSize = 0;
  long long nModifiedSeconds = 0;
  long nModifiedNanoseconds = 0;

  // The stamp of the file at strPath now (bExists false when it is gone).
  static CFileStamp Of(const std::string& strPath);
  bool operator==(const CFileStamp& other) const;
  bool operator!=(const CFileStamp& other) const { return !(*this == other); }
};
