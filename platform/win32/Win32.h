// Everything of Win32 in one include, like <windows.h>.
#pragma once

#include "WindowsHeaders.h"
