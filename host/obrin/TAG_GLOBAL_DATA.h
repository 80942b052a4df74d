// TAG_GLOBAL_DATA: the host's record of application-wide data that the
// project manager hands out to the modules it loads.
#pragma once

#include "CString.h"

class CDirLoc;

struct TAG_GLOBAL_DATA {
  CString strAppName;  // the host application's name
  CDirLoc* pDirLoc;    // the host's directory locator; stays the second member
};
