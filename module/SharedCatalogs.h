// The two function catalogues that every editor controller of the process shares.
#pragma once

#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"

// Both are constructed empty when the module is loaded, the standard one
// first, and destroyed when it is unloaded, the user one first. They are
// filled only by their own Init, which the editor controller calls.
extern CZoFuncInfoStd g_FuncInfoStd;
extern CZoFuncInfoUser g_FuncInfoUser;
