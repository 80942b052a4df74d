// Watching the module's registration with MFC from the test program: the
// calls of AfxInitExtensionModule and AfxTermExtensionModule are counted and
// the registration can be made to fail. The platform layer carries no such
// hook; each side's suite routes the module's two calls through here in its
// own way (the dynamic linker's lookup order, the DLL's export table).
#pragma once

#include "CDynLinkLibrary.h"

namespace moduletest {

typedef BOOL(AFXAPI* PInitExtensionModule)(AFX_EXTENSION_MODULE&, HMODULE);
typedef void(AFXAPI* PTermExtensionModule)(AFX_EXTENSION_MODULE&, BOOL);

// The two functions' names as the platform library exports them.
constexpr char kInitExtensionModule[] = "_Z22AfxInitExtensionModuleR20AFX_EXTENSION_MODULEP11HINSTANCE__";
constexpr char kTermExtensionModule[] = "_Z22AfxTermExtensionModuleR20AFX_EXTENSION_MODULEi";

// Makes the next registrations fail (true) or pass on to MFC (false).
void SetExtensionModuleFailure(bool bFail);
int InitExtensionModuleCalls();
int TermExtensionModuleCalls();

// The watched calls: counted, then passed on to pfnReal unless failing.
BOOL WatchedInitExtensionModule(PInitExtensionModule pfnReal, AFX_EXTENSION_MODULE& state, HMODULE hModule);
void WatchedTermExtensionModule(PTermExtensionModule pfnReal, AFX_EXTENSION_MODULE& state, BOOL bAll);

}  // namespace moduletest
