// Win32 base types and constants, from the Windows headers themselves.
#pragma once

#include "WindowsHeaders.h"
