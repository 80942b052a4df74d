// Running module entry points on load and unload, and LoadLibrary over dlopen.
#include "DllEntry.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>

#include <vector>

namespace {

// The modules whose entry point refused process attach on this thread since
// the outermost LoadLibrary began. Only LoadLibrary reads and trims it, so a
// module loaded by other means leaves a record that the next LoadLibrary on
// this thread cuts away before it starts.
std::vector<HINSTANCE>& FailedAttaches() {
  thread_local std::vector<HINSTANCE> failed;
  return failed;
}

// The loader handle of the module that contains the address: its link map,
// which is what dlopen returns for it.
HINSTANCE ModuleOfAddress(void* pAddress) {
  Dl_info info;
  struct link_map* pMap = nullptr;
  if (dladdr1(pAddress, &info, reinterpret_cast<void**>(&pMap), RTLD_DL_LINKMAP) == 0 || pMap == nullptr)
    return reinterpret_cast<HINSTANCE>(pAddress);  // still unique to the module
  return reinterpret_cast<HINSTANCE>(pMap);
}

}  // namespace

CDllEntryPoint::CDllEntryPoint(PDLL_ENTRY_POINT pfnEntry, void* pDsoHandle)
    : m_pfnEntry(pfnEntry), m_pDsoHandle(pDsoHandle), m_hInstance(ModuleOfAddress(pDsoHandle)), m_bAttached(false) {
  if ((*m_pfnEntry)(m_hInstance, DLL_PROCESS_ATTACH, nullptr)) {
    m_bAttached = true;
    return;
  }
  FailedAttaches().push_back(m_hInstance);
  // Destroy the module's static objects now, in reverse order of
  // construction, as a refused load does. Their entries are marked done, so
  // the unload that follows does not run them a second time; this object's
  // own destructor is registered only after this constructor returns.
  abi::__cxa_finalize(m_pDsoHandle);
}

CDllEntryPoint::~CDllEntryPoint() {
  if (!m_bAttached) return;
  m_bAttached = false;
  (*m_pfnEntry)(m_hInstance, DLL_PROCESS_DETACH, nullptr);
}

HMODULE WINAPI LoadLibrary(LPCTSTR lpLibFileName) {
  if (lpLibFileName == nullptr) return nullptr;
  std::vector<HINSTANCE>& failed = FailedAttaches();
  static thread_local int nDepth = 0;
  if (nDepth == 0) failed.clear();
  size_t nMark = failed.size();
  ++nDepth;
  void* pHandle = dlopen(lpLibFileName, RTLD_NOW | RTLD_LOCAL);
  --nDepth;
  bool bRefused = failed.size() > nMark;
  failed.resize(nMark);
  if (pHandle == nullptr) return nullptr;
  if (bRefused) {
    dlclose(pHandle);
    return nullptr;
  }
  return static_cast<HMODULE>(pHandle);
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (hLibModule == nullptr) return FALSE;
  return dlclose(hLibModule) == 0 ? TRUE : FALSE;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  if (hModule == nullptr || lpProcName == nullptr) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(hModule, lpProcName));
}
