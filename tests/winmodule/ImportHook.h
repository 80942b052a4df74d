// Redirects one imported function of a loaded module to another function by
// rewriting the module's import address table, so that a test can watch the
// module's calls into a DLL without changing the module.
#pragma once

#include "Win32Def.h"

// The slot of pszName, imported by hModule from pszDll, or null.
void** FindImportSlot(HMODULE hModule, const char* pszDll, const char* pszName);

// Puts pNew into the slot and returns what it held (null for a null slot).
void* ReplaceImport(void** ppSlot, void* pNew);
