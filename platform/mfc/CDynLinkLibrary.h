// Extension-module support: the module record, its registration with the
// module state, and the chain of extension libraries through which a
// module's run-time classes are found from the host.
#pragma once

#include "CWinApp.h"

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
  CRuntimeClass* pFirstSharedClass;  // the classes the module registered while loading
};

// The extension-module entry code: marks the end of the module state's class
// list as a module's load begins, before its static initialisers run. What
// is registered after the mark is the module's own; the classes the host
// registered before stay the host's.
void AFXAPI AfxBeginExtensionModuleLoad();

struct AFX_EXTENSION_LOAD_MARK {
  AFX_EXTENSION_LOAD_MARK() { AfxBeginExtensionModuleLoad(); }
};

// Expand once in every extension module, at namespace scope in any one of
// its sources: its object is constructed before every other static object
// of the module (the earliest priority a program may use).
#define AFX_EXTENSION_MODULE_ENTRY() \
  static AFX_EXTENSION_LOAD_MARK g_afxExtensionLoadMark __attribute__((init_priority(101)))

// Takes the classes that the module registered since the mark out of the
// module state's list into the record, and returns TRUE. A module still
// refuses its load on FALSE, as MFC's own registration can fail; whatever
// answers FALSE in its place must drop the classes registered since the
// mark, since the refused module's memory goes away with them.
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);

// Unlinks and deletes the module's CDynLinkLibrary objects (all of them when
// bAll is TRUE); with them go the module's classes, and only those.
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One extension library in the module state's chain.
class CDynLinkLibrary : public CCmdTarget {
 public:
  // Links the module's classes into the chain, at its head.
  CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  ~CDynLinkLibrary() override;
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;  // owned by the chain
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

  HMODULE m_hModule;
  HMODULE m_hResource;
  CRuntimeClass* m_pClassList;  // the module's classes
  BOOL m_bSystem;
  CDynLinkLibrary* m_pNextDLL;
};
