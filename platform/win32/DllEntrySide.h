// The Windows side of DllEntry.h (include that header): the loader itself
// calls the module's DllMain (through the C runtime's DLL start-up, which
// constructs the module's static objects before process attach and destroys
// them after process detach), and LoadLibrary, FreeLibrary and
// GetProcAddress are the real ones.
#pragma once

#include "WindowsHeaders.h"

// The C runtime's start-up code calls the function named DllMain; nothing
// has to be registered. The macro only checks that the entry point is that
// function, so that a module written for the other side builds unchanged.
#define DLL_ENTRY_POINT(pfnEntry)                                                 \
  static_assert(__builtin_strcmp(#pfnEntry, "DllMain") == 0,                      \
                "the C runtime's DLL start-up calls the function named DllMain")
