// Nimbo.dll calls AfxInitExtensionModule from its entry point, during
// LoadLibrary, before a test could rewrite its import table. So the platform
// DLL's export table is rewritten instead, before the first load: the loader
// then fills the module's imports of the two calls with the watched ones
// below, which pass on to the platform DLL's. The module is not changed.
#include <cstdio>
#include <cstdlib>

#include "ImportHook.h"
#include "Win32Base.h"
#include "module/ExtensionModuleWatch.h"

namespace {

const char kPlatformDll[] = "nimbo_platform.dll";

moduletest::PInitExtensionModule g_pfnInit = nullptr;
moduletest::PTermExtensionModule g_pfnTerm = nullptr;

BOOL AFXAPI WatchedInit(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  return moduletest::WatchedInitExtensionModule(g_pfnInit, state, hModule);
}

void AFXAPI WatchedTerm(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  moduletest::WatchedTermExtensionModule(g_pfnTerm, state, bAll);
}

// Redirects the two exports for the life of the test program. The platform
// DLL is loaded with the program, before any static object is constructed.
class CExtensionModuleRedirect {
 public:
  CExtensionModuleRedirect() : m_hPlatform(GetModuleHandleA(kPlatformDll)) {
    m_pInitSlot = FindExportSlot(m_hPlatform, moduletest::kInitExtensionModule);
    m_pTermSlot = FindExportSlot(m_hPlatform, moduletest::kTermExtensionModule);
    if (m_pInitSlot == nullptr || m_pTermSlot == nullptr) {
      // Without the redirection no count and no refused load could be seen.
      std::fprintf(stderr, "winmodule tests: %s does not export the extension-module calls\n", kPlatformDll);
      std::abort();
    }
    g_pfnInit = reinterpret_cast<moduletest::PInitExtensionModule>(
        ReplaceExport(m_hPlatform, m_pInitSlot, reinterpret_cast<void*>(&WatchedInit)));
    g_pfnTerm = reinterpret_cast<moduletest::PTermExtensionModule>(
        ReplaceExport(m_hPlatform, m_pTermSlot, reinterpret_cast<void*>(&WatchedTerm)));
  }
  ~CExtensionModuleRedirect() {
    ReplaceExport(m_hPlatform, m_pInitSlot, reinterpret_cast<void*>(g_pfnInit));
    ReplaceExport(m_hPlatform, m_pTermSlot, reinterpret_cast<void*>(g_pfnTerm));
  }
  CExtensionModuleRedirect(const CExtensionModuleRedirect&) = delete;  // one redirection per process
  CExtensionModuleRedirect& operator=(const CExtensionModuleRedirect&) = delete;

 private:
  HMODULE m_hPlatform;
  DWORD* m_pInitSlot = nullptr;
  DWORD* m_pTermSlot = nullptr;
};

const CExtensionModuleRedirect g_redirect;

}  // namespace
