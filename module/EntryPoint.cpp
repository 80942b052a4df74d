// Runs DllMain when the loader loads and unloads the module. The build
// (the top-level CMakeLists.txt) links this file last, so the entry point
// runs after every static object of the module is constructed and before
// any is destroyed.
#include "DllEntry.h"
#include "module/DllMain.h"

DLL_ENTRY_POINT(DllMain);
