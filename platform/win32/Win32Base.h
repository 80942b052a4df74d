// Win32 base services (MulDiv, GetTickCount, GetCurrentThreadId), from the
// Windows headers themselves.
#pragma once

#include "WindowsHeaders.h"
