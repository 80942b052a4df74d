// DeleteFile and MoveFileEx over unlink and rename.
#include "FileApi.h"

#include <unistd.h>

#include <cstdio>

BOOL DeleteFile(LPCTSTR lpFileName) {
  if (lpFileName == nullptr) return FALSE;
  return ::unlink(lpFileName) == 0 ? TRUE : FALSE;
}

BOOL MoveFileEx(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, DWORD dwFlags) {
  if (lpExistingFileName == nullptr || lpNewFileName == nullptr) return FALSE;
  if ((dwFlags & MOVEFILE_REPLACE_EXISTING) == 0) {
    // A hard link fails when the new name exists; then drop the old name.
    if (::link(lpExistingFileName, lpNewFileName) != 0) return FALSE;
    ::unlink(lpExistingFileName);
    return TRUE;
  }
  return std::rename(lpExistingFileName, lpNewFileName) == 0 ? TRUE : FALSE;
}
