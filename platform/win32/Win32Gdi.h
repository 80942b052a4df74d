// Win32 graphics services (fonts, device contexts, text), from the Windows
// headers themselves.
#pragma once

#include "WindowsHeaders.h"
