// The module's exported initialisation function.
#pragma once

#include "CObject.h"

/// Links the module into the extension-library chain of the MFC module state
/// that is current now, so that the host finds the module's run-time classes
/// (CIniFileSection, CIniFile). Each call links one more CDynLinkLibrary,
/// which the chain owns from then on (the module's unload removes it again);
/// the host calls it once, after loading the module and before creating the
/// first editor controller.
AFX_EXT_API void NimboInit();
