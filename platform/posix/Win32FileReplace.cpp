// DeleteFile, ReplaceFile and MoveFileEx over unlink, chmod and rename.
#include "Win32FileReplace.h"

#include <sys/stat.h>
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

BOOL ReplaceFile(LPCTSTR lpReplacedFileName, LPCTSTR lpReplacementFileName, LPCTSTR lpBackupFileName,
                 DWORD dwReplaceFlags, LPVOID lpExclude, LPVOID lpReserved) {
  (void)lpExclude;
  (void)lpReserved;
  if (lpReplacedFileName == nullptr || lpReplacementFileName == nullptr || lpBackupFileName != nullptr ||
      dwReplaceFlags != 0)
    return FALSE;
  struct stat replaced;
  if (::stat(lpReplacedFileName, &replaced) != 0 || !S_ISREG(replaced.st_mode)) return FALSE;
  if (::chmod(lpReplacementFileName, replaced.st_mode & 07777) != 0) return FALSE;
  // Best effort: only a privileged process may give a file away; otherwise
  // the new file stays the caller's, as a file the caller creates would.
  const int nOwned = ::chown(lpReplacementFileName, replaced.st_uid, replaced.st_gid);
  (void)nOwned;
  return std::rename(lpReplacementFileName, lpReplacedFileName) == 0 ? TRUE : FALSE;
}
