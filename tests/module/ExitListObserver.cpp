// The exit-list observer: this program's own __cxa_atexit comes before the C
// runtime's in symbol lookup, so every module loaded into the process
// registers its static destructors through it. Registrations for the watched
// objects are wrapped so that their destruction is logged too; all others
// are passed on unchanged. The loaded module itself is not changed at all.
#include "ExitListObserver.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "AfxModuleState.h"
#include "CDynLinkLibrary.h"
#include "ExtensionModuleWatch.h"

namespace {

// Plain arrays with constant initialisation: registrations start before any
// dynamic initialiser of this program has run.
struct CWatchedExit {
  void (*pfnDestroy)(void*);
  void* pObject;
  const char* pszName;
};
constexpr int kMaxWatched = 64;
CWatchedExit g_watched[kMaxWatched];
int g_nWatched = 0;

constexpr int kMaxEvents = 64;
char g_events[kMaxEvents][96];
int g_nEvents = 0;

// The module keeps its catalogues to itself (they are not exported), but the
// classes are exported and there is one object of each: a registration
// whose destructor is a catalogue class's is that catalogue's.
struct CWatchedClass {
  const char* pszDestructorPrefix;  // the mangled destructor without its D1/D2 variant
  const char* pszName;
};
const CWatchedClass kWatchedClasses[] = {{"_ZN14CZoFuncInfoStdD", "g_FuncInfoStd"},
                                         {"_ZN15CZoFuncInfoUserD", "g_FuncInfoUser"}};

// The run-time classes registered since the loading module's mark.
int ClassesOfTheLoadingModule() {
  int nCount = 0;
  const AFX_MODULE_STATE* pState = AfxGetModuleState();
  for (const CRuntimeClass* p = pState->m_pClassList; p != nullptr && p != pState->m_pClassInit; p = p->m_pNextClass)
    ++nCount;
  return nCount;
}

void Log(const char* pszWhat, const char* pszName) {
  if (g_nEvents == kMaxEvents) return;
  std::snprintf(g_events[g_nEvents++], sizeof g_events[0], "%s %s init=%d term=%d classes=%d", pszWhat, pszName,
                moduletest::InitExtensionModuleCalls(), moduletest::TermExtensionModuleCalls(),
                ClassesOfTheLoadingModule());
}

// The watched name of the object that pfnDestroy destroys, or null.
const char* WatchedName(void (*pfnDestroy)(void*)) {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(pfnDestroy), &info) == 0 || info.dli_sname == nullptr) return nullptr;
  for (const CWatchedClass& watched : kWatchedClasses)
    if (std::strncmp(info.dli_sname, watched.pszDestructorPrefix, std::strlen(watched.pszDestructorPrefix)) == 0)
      return watched.pszName;
  return nullptr;
}

void DestroyWatched(void* pRecord) {
  CWatchedExit* pExit = static_cast<CWatchedExit*>(pRecord);
  Log("destroy", pExit->pszName);
  pExit->pfnDestroy(pExit->pObject);
}

}  // namespace

extern "C" int __cxa_atexit(void (*pfnDestroy)(void*), void* pObject, void* pDsoHandle) noexcept {
  typedef int (*CxaAtExit)(void (*)(void*), void*, void*);
  static CxaAtExit s_pfnNext = nullptr;
  if (s_pfnNext == nullptr) s_pfnNext = reinterpret_cast<CxaAtExit>(dlsym(RTLD_NEXT, "__cxa_atexit"));
  const char* pszName = WatchedName(pfnDestroy);
  if (pszName == nullptr || g_nWatched == kMaxWatched) return s_pfnNext(pfnDestroy, pObject, pDsoHandle);
  Log("construct", pszName);
  CWatchedExit* pExit = &g_watched[g_nWatched++];
  *pExit = {pfnDestroy, pObject, pszName};
  return s_pfnNext(&DestroyWatched, pExit, pDsoHandle);
}

namespace moduletest {

void* WatchedObject(const char* pszName) {
  for (int i = g_nWatched - 1; i >= 0; --i)
    if (std::strcmp(g_watched[i].pszName, pszName) == 0) return g_watched[i].pObject;
  return nullptr;
}

std::vector<std::string> LifetimeEvents() { return std::vector<std::string>(g_events, g_events + g_nEvents); }

void ClearLifetimeEvents() { g_nEvents = 0; }

}  // namespace moduletest
