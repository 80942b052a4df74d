// Registers the INI document classes with the module's class list while the
// module loads: CIniFileSection first, then CIniFile. Both registrations
// stand in this one file so that their order is fixed.
#include "ini/CIniFile.h"
#include "ini/CIniFileSection.h"

static AFX_CLASSINIT g_initCIniFileSection(RUNTIME_CLASS(CIniFileSection));
static AFX_CLASSINIT g_initCIniFile(RUNTIME_CLASS(CIniFile));
