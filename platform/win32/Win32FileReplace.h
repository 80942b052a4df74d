// Win32 file-management calls that replace and delete files (DeleteFile,
// ReplaceFile, MoveFileEx), from the Windows headers themselves.
#pragma once

#include "WindowsHeaders.h"
