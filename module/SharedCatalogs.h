// The two function catalogues that every editor controller of the process shares.
#pragma once

#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"

// Both are constructed empty when the module is loaded, the standard one
// first, and destroyed when it is unloaded, the user one first. They are
// filled only by their own Init, which the editor controller calls.
extern CZoFuncInfoStd g_FuncInfoStd;
extern CZoFuncInfoUser g_FuncInfoUser;

// The prototype of a function as the editor controller finds it: strName is
// matched exactly (case-sensitively) in the standard catalogue, and in the
// user catalogue only when the standard one lacks it, so a name in both
// gives the standard text. Null when neither holds the name. The pointer
// stays valid until the catalogue holding the entry is changed or emptied
// (the user catalogue: the next controller Init). Every caller that answers
// "what is this function's prototype" (the controller, the tools, the
// language server) goes through here, so they cannot disagree.
const CString* FindSharedPrototype(const CString& strName);
