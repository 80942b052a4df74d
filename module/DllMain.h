// The module's entry point, called by the loader on load and unload.
#pragma once

#include "AfxDeclare.h"
#include "Win32Def.h"

// Process attach: registers the module with MFC (AfxInitExtensionModule);
// returns FALSE when that fails, which makes the load fail. Process detach:
// unregisters it (AfxTermExtensionModule), removing what NimboInit linked.
// Thread attach and detach: nothing. Every other case returns TRUE.
extern "C" AFX_EXT_API BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);
