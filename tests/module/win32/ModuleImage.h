// Reading a loaded module's image: the names it exports, and its static
// objects found by their class's virtual table.
#pragma once

#include <string>
#include <vector>

#include "Win32Def.h"

// Every name in the module's export table.
std::vector<std::string> ExportedNames(HMODULE hModule);

// Whether the module imports anything from the DLL named pszDll.
bool ImportsFrom(HMODULE hModule, const char* pszDll);

// The first object in the module's writable sections whose virtual-table
// pointer points into the virtual table exported as pszVtable (a class's
// "_ZTV..." symbol), or null. For a class with one static object in the
// module, that object, whether the module exports it or not.
void* StaticObjectByVtable(HMODULE hModule, const char* pszVtable);
