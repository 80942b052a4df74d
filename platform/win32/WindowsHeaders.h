// The real Windows headers, included the one way the whole program sees
// them: ANSI names (no UNICODE), no min/max macros, strict handle types.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>

#include <commctrl.h>
