// Win32 file-management calls that replace and delete files, on a platform
// without Win32.
#pragma once

#include "Win32Def.h"

#define MOVEFILE_REPLACE_EXISTING 0x00000001

// Deletes a file. Nonzero on success.
BOOL DeleteFile(LPCTSTR lpFileName);

// Puts lpReplacementFileName in the place of the existing file
// lpReplacedFileName, which it replaces in one step; the file keeps the
// replaced file's identity (here: its permission bits and, where allowed,
// its owner). Fails when the replaced file does not exist or is not a
// regular file, and then changes nothing. Backups (lpBackupFileName) and
// flags are not supported: pass null and 0. Nonzero on success.
BOOL ReplaceFile(LPCTSTR lpReplacedFileName, LPCTSTR lpReplacementFileName, LPCTSTR lpBackupFileName,
                 DWORD dwReplaceFlags, LPVOID lpExclude, LPVOID lpReserved);

// Moves (renames) a file within one file system. With
// MOVEFILE_REPLACE_EXISTING an existing file of the new name is replaced in
// one step (a reader sees either the old or the new file, never a mix);
// without it the move fails when the new name exists. Nonzero on success.
BOOL MoveFileEx(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, DWORD dwFlags);
