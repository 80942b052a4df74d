// The module's extension-module record and its two users: the entry point,
// which registers the module with MFC, and NimboInit, which links it into
// the chain of extension libraries.
#include "module/DllMain.h"

#include "CDynLinkLibrary.h"
#include "module/NimboInit.h"

// Runs first as the module loads, so that the classes the module registers
// are told apart from those the host registered before.
AFX_EXTENSION_MODULE_ENTRY();

// Zero until process attach fills it.
static AFX_EXTENSION_MODULE NimboDLL = {FALSE, nullptr, nullptr, nullptr};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  (void)lpReserved;
  if (dwReason == DLL_PROCESS_ATTACH) {
    if (!AfxInitExtensionModule(NimboDLL, hInstance)) return 0;
  } else if (dwReason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(NimboDLL, FALSE);
  }
  return 1;
}

void NimboInit() {
  // The chain owns the object; AfxTermExtensionModule deletes it at unload.
  new CDynLinkLibrary(NimboDLL, FALSE);
}
