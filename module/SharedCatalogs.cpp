// The process-wide catalogues. The build lists this file first among the
// module's sources (the top-level CMakeLists.txt), so these are the module's
// first static objects: constructed before the run-time classes are
// registered and destroyed after everything else, in reverse order (the user
// catalogue first).
#include "module/SharedCatalogs.h"

CZoFuncInfoStd g_FuncInfoStd;
CZoFuncInfoUser g_FuncInfoUser;

const CString* FindSharedPrototype(const CString& strName) {
  CZoFuncInfo::const_iterator it = g_FuncInfoStd.find(strName);
  if (it != g_FuncInfoStd.end()) return &it->second;
  it = g_FuncInfoUser.find(strName);
  return it != g_FuncInfoUser.end() ? &it->second : nullptr;
}
