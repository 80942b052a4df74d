// The counters and the failing registration behind the watched calls.
#include "ExtensionModuleWatch.h"

#include "AfxModuleState.h"

namespace moduletest {

namespace {
// Constant-initialised: a module may register before any dynamic
// initialiser of the test program has run.
bool g_bFailInit = false;
int g_nInitCalls = 0;
int g_nTermCalls = 0;
}  // namespace

void SetExtensionModuleFailure(bool bFail) { g_bFailInit = bFail; }
int InitExtensionModuleCalls() { return g_nInitCalls; }
int TermExtensionModuleCalls() { return g_nTermCalls; }

BOOL WatchedInitExtensionModule(PInitExtensionModule pfnReal, AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  ++g_nInitCalls;
  if (!g_bFailInit) return pfnReal(state, hModule);
  // The load is refused and the module's memory goes away with it: drop
  // its classes so that no record of the unloaded module stays linked.
  AFX_MODULE_STATE* pState = AfxGetModuleState();
  pState->m_pClassList = pState->m_pClassInit;
  return FALSE;
}

void WatchedTermExtensionModule(PTermExtensionModule pfnReal, AFX_EXTENSION_MODULE& state, BOOL bAll) {
  ++g_nTermCalls;
  pfnReal(state, bAll);
}

}  // namespace moduletest
