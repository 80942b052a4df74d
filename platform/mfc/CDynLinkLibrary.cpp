// Extension-module registration and the chain of extension libraries.
#include "CDynLinkLibrary.h"

#include "AfxModuleState.h"

void AFXAPI AfxBeginExtensionModuleLoad() {
  AFX_MODULE_STATE* moduleState = AfxGetModuleState();
  moduleState->m_pClassInit = moduleState->m_pClassList;
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (state.bInitialized) return TRUE;
  state.bInitialized = TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  AFX_MODULE_STATE* moduleState = AfxGetModuleState();

  // The classes above the mark were registered by this module's static
  // initialisation; cut them out of the module state's list.
  CRuntimeClass* head = moduleState->m_pClassList;
  CRuntimeClass* boundary = moduleState->m_pClassInit;
  if (head == boundary) {
    state.pFirstSharedClass = nullptr;
  } else {
    state.pFirstSharedClass = head;
    CRuntimeClass* last = head;
    while (last->m_pNextClass != boundary && last->m_pNextClass != nullptr) last = last->m_pNextClass;
    last->m_pNextClass = nullptr;
    moduleState->m_pClassList = boundary;
  }
  moduleState->m_pClassInit = moduleState->m_pClassList;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  if (!state.bInitialized) return;
  AFX_MODULE_STATE* moduleState = AfxGetModuleState();
  CDynLinkLibrary* dll = moduleState->m_pLibraryList;
  while (dll != nullptr) {
    CDynLinkLibrary* next = dll->m_pNextDLL;
    if (bAll || dll->m_hModule == state.hModule) delete dll;  // unlinks itself
    dll = next;
  }
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule),
      m_hResource(state.hResource),
      m_pClassList(state.pFirstSharedClass),
      m_bSystem(bSystem) {
  AFX_MODULE_STATE* moduleState = AfxGetModuleState();
  m_pNextDLL = moduleState->m_pLibraryList;
  moduleState->m_pLibraryList = this;
}

CDynLinkLibrary::~CDynLinkLibrary() {
  AFX_MODULE_STATE* moduleState = AfxGetModuleState();
  for (CDynLinkLibrary** link = &moduleState->m_pLibraryList; *link != nullptr; link = &(*link)->m_pNextDLL) {
    if (*link == this) {
      *link = m_pNextDLL;
      break;
    }
  }
}
