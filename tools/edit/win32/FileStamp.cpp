// CFileStamp::Of on Windows: the volume's serial number and the file index
// are the device and the inode; the last write time counts 100-nanosecond
// steps since 1601.
#include <windows.h>

#include "tools/edit/FileStamp.h"

CFileStamp CFileStamp::Of(const std::string& strPath) {
  CFileStamp stamp;
  // Opened for no access at all: the attributes can be read even while
  // another program holds the file open without sharing it.
  const HANDLE hFile = CreateFileA(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return stamp;
  BY_HANDLE_FILE_INFORMATION info;
  const bool bRead = GetFileInformationByHandle(hFile, &info) != 0;
  CloseHandle(hFile);
  if (!bRead) return stamp;
  const unsigned long long nSteps =
      (static_cast<unsigned long long>(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
  stamp.bExists = true;
  stamp.nDevice = info.dwVolumeSerialNumber;
  stamp.nInode = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  stamp.nSize = static_cast<long long>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
  stamp.nModifiedSeconds = static_cast<long long>(nSteps / 10000000);
  stamp.nModifiedNanoseconds = static_cast<long>(nSteps % 10000000) * 100;
  return stamp;
}
