// Win32 file-management calls that replace and delete files, on a platform
// without Win32.
#pragma once

#include "WinDef.h"

#define MOVEFILE_REPLACE_EXISTING 0x00000001

// Deletes a file. Nonzero on success.
BOOL DeleteFile(LPCTSTR lpFileName);

// Moves (renames) a file within one file system. With
// MOVEFILE_REPLACE_EXISTING an existing file of the new name is replaced in
// one step (a reader sees either the old or the new file, never a mix);
// without it the move fails when the new name exists. Nonzero on success.
BOOL MoveFileEx(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, DWORD dwFlags);
