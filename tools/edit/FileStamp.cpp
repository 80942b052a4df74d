// CFileStamp's comparison; CFileStamp::Of is the platform side's
// (posix/FileStamp.cpp; win32/FileStamp.cpp on Windows).
#include "tools/edit/FileStamp.h"

bool CFileStamp::operator==(const CFileStamp& other) const {
  return bExists == other.bExists && nDevice == other.nDevice && nInode == other.nInode && nSize == other.nSize &&
         nModifiedSeconds == other.nModifiedSeconds && nModifiedNanoseconds == other.nModifiedNanoseconds;
}
