// The errno value that stands for a Windows error code, for code that
// reports failures the way the C runtime does (strerror).
#pragma once

#include "WindowsHeaders.h"

int ErrnoOfSystemError(DWORD dwError);
