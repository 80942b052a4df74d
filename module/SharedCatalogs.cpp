// The process-wide catalogues. This file is linked before every other source
// of the module, so these are the module's first static objects: constructed
// before the run-time classes are registered and destroyed after everything
// else, in reverse order (the user catalogue first).
#include "module/SharedCatalogs.h"

CZoFuncInfoStd g_FuncInfoStd;
CZoFuncInfoUser g_FuncInfoUser;
