// The module reaches AfxInitExtensionModule and AfxTermExtensionModule in the
// platform library through the dynamic linker, which looks in the program
// first: these definitions take the module's calls, and pass them on to the
// platform library's through dlsym(RTLD_NEXT). The module is not changed.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "ExtensionModuleWatch.h"

namespace {

// The platform library's definition of the mangled name; the suite cannot
// watch anything without it.
template <class TFunction>
TFunction Next(const char* pszName) {
  void* pSymbol = dlsym(RTLD_NEXT, pszName);
  if (pSymbol == nullptr) {
    std::fprintf(stderr, "module tests: %s not found after the test program: %s\n", pszName, dlerror());
    std::abort();
  }
  return reinterpret_cast<TFunction>(pSymbol);
}

}  // namespace

__attribute__((visibility("default"))) BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state,
                                                                          HMODULE hModule) {
  static const auto s_pfnNext = Next<moduletest::PInitExtensionModule>(moduletest::kInitExtensionModule);
  return moduletest::WatchedInitExtensionModule(s_pfnNext, state, hModule);
}

__attribute__((visibility("default"))) void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  static const auto s_pfnNext = Next<moduletest::PTermExtensionModule>(moduletest::kTermExtensionModule);
  moduletest::WatchedTermExtensionModule(s_pfnNext, state, bAll);
}
