// The image-help library's directory helper, on a platform without it.
#pragma once

#include "Win32Def.h"

// Creates every missing directory on the way to the last separator of
// DirPath ("/" on this platform); the part after it (a file name) is left
// alone, so "a/b/c.ini" creates a and a/b. Nonzero when every directory
// exists afterwards; FALSE when one cannot be created (for instance because
// a file of that name is in the way). Directories created before a failure
// remain.
BOOL MakeSureDirectoryPathExists(LPCSTR DirPath);
