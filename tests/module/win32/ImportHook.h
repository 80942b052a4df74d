// Redirects a module's calls into a DLL to another function without changing
// the module: once it is loaded, by rewriting its import address table; before
// it is loaded, by rewriting the DLL's export table, from which the loader
// fills the import tables of the modules it loads next.
#pragma once

#include "Win32Def.h"

// The slot of pszName, imported by hModule from pszDll, or null.
void** FindImportSlot(HMODULE hModule, const char* pszDll, const char* pszName);

// Puts pNew into the slot and returns what it held (null for a null slot).
void* ReplaceImport(void** ppSlot, void* pNew);

// The export-table slot of the function that hModule exports as pszName, or
// null.
DWORD* FindExportSlot(HMODULE hModule, const char* pszName);

// Makes the slot name pNew (from then on, the loader resolves the export to
// it) and returns the function it named before (null for a null slot).
void* ReplaceExport(HMODULE hModule, DWORD* pSlot, void* pNew);
