// A module's entry point, and loading modules as a host does: what both
// sides of the platform layer promise. Each side's DllEntrySide.h supplies
// the DLL_ENTRY_POINT macro and the loader calls.
#pragma once

#include "Win32Def.h"

// The signature of a module's entry point.
typedef BOOL(WINAPI* PDLL_ENTRY_POINT)(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

// DLL_ENTRY_POINT(DllMain) names the module's entry point. Use it once per
// module, in the source file that the module links last. On both sides:
// - process attach reaches the entry point after every static object of
//   the module is constructed, and process detach before any is destroyed;
// - the instance handle given to it is the module's loader handle (the
//   value LoadLibrary returns for the module);
// - when it returns FALSE for process attach, the module's static objects
//   are destroyed again and LoadLibrary returns null.
//
// LoadLibrary(path) loads a module (null when it cannot be loaded or its
// entry point refused process attach), FreeLibrary drops one reference (the
// last one unloads the module, with process detach), GetProcAddress gives
// an exported symbol or null: the Win32 calls, on posix over the dynamic
// loader.
#include "DllEntrySide.h"
