// Win32 file I/O over handles (CreateFile, ReadFile, WriteFile, the file
// pointer, CloseHandle) and the thread's last error, from the Windows
// headers themselves.
#pragma once

#include "WindowsHeaders.h"
