// CFileStamp::Of from stat.
#include <sys/stat.h>

#include "tools/edit/FileStamp.h"

CFileStamp CFileStamp::Of(const std::string& strPath) {
  CFileStamp stamp;
  struct stat info;
  if (stat(strPath.c_str(), &info) != 0) return stamp;
  stamp.bExists = true;
  stamp.nDevice = static_cast<unsigned long long>(info.st_dev);
  stamp.nInode = static_cast<unsigned long long>(info.st_ino);
  stamp.nSize = static_cast<long long>(info.st_size);
  stamp.nModifiedSeconds = static_cast<long long>(info.st_mtim.tv_sec);
  stamp.nModifiedNanoseconds = info.st_mtim.tv_nsec;
  return stamp;
}
