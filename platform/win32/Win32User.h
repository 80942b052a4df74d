// Win32 user services (windows, messages, focus, caret, coordinates, the
// message queue), from the Windows headers themselves.
#pragma once

#include "WindowsHeaders.h"
