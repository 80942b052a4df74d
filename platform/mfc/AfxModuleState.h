// The MFC module state: the application object, the class list and the
// chain of extension libraries, shared by the host and every module.
#pragma once

#include "CObject.h"

class CWinApp;
class CDynLinkLibrary;

struct AFX_MODULE_STATE {
  CWinApp* m_pCurrentWinApp = nullptr;     // the application object, if the host made one
  CRuntimeClass* m_pClassList = nullptr;   // registered classes, newest first
  // The head of the class list when the load of the module now loading
  // began: everything above it was registered by that module.
  CRuntimeClass* m_pClassInit = nullptr;
  CDynLinkLibrary* m_pLibraryList = nullptr;  // extension libraries, newest first
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();

// The application object of the module state. When the host has not made
// one, a process-wide default application serves, so that callers (the wait
// cursor above all) always have one.
CWinApp* AFXAPI AfxGetApp();
