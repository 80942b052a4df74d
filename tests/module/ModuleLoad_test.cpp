// Loading and unloading the module: the shared catalogues, the entry point,
// the extension-module record and NimboInit's link in the chain.
#include "DllEntry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxModuleState.h"
#include "CDynLinkLibrary.h"
#include "module/ExtensionModuleWatch.h"
#include "module/LoadCases.h"
#include "ExitListObserver.h"
#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"

namespace {

using moduletest::ClearLifetimeEvents;
using moduletest::LifetimeEvents;
using Events = std::vector<std::string>;

const char kModulePath[] = NIMBO_MODULE_PATH;

int ChainLength() {
  int nCount = 0;
  for (CDynLinkLibrary* pDll = AfxGetModuleState()->m_pLibraryList; pDll != nullptr; pDll = pDll->m_pNextDLL) ++nCount;
  return nCount;
}

bool IsModuleLoaded() {
  void* pHandle = dlopen(kModulePath, RTLD_NOW | RTLD_NOLOAD);
  if (pHandle == nullptr) return false;
  dlclose(pHandle);
  return true;
}

// Every event shows classes=0: the catalogues are built before the module's
// classes are registered, and destroyed after they were taken or dropped.
std::string Event(const char* pszWhat, const char* pszName, int nInit, int nTerm) {
  return std::string(pszWhat) + " " + pszName + " init=" + std::to_string(nInit) + " term=" + std::to_string(nTerm) +
         " classes=0";
}

typedef BOOL(WINAPI* PDllMain)(HINSTANCE, DWORD, LPVOID);
typedef void (*PNimboInit)();
const char kNimboInit[] = "_Z9NimboInitv";  // void NimboInit()

// An exported function of the module, as the type it has.
template <class TFunction>
TFunction ProcOf(HMODULE hModule, const char* pszName) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

class ModuleLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(IsModuleLoaded());
    ClearLifetimeEvents();
    m_nInit = moduletest::InitExtensionModuleCalls();
    m_nTerm = moduletest::TermExtensionModuleCalls();
    m_nChain = ChainLength();
  }
  void TearDown() override { moduletest::SetExtensionModuleFailure(false); }

  int m_nInit = 0;   // AfxInitExtensionModule calls before the test
  int m_nTerm = 0;   // AfxTermExtensionModule calls before the test
  int m_nChain = 0;  // extension libraries in the chain before the test
};

TEST_F(ModuleLoad, LoadConstructsCataloguesThenAttaches) {
  HMODULE hModule = LoadLibrary(kModulePath);
  ASSERT_NE(hModule, nullptr) << dlerror();

  // Both catalogues were constructed, the standard one first, before the
  // entry point registered the module; then it was registered once.
  EXPECT_EQ(LifetimeEvents(), (Events{Event("construct", "g_FuncInfoStd", m_nInit, m_nTerm),
                                      Event("construct", "g_FuncInfoUser", m_nInit, m_nTerm)}));
  EXPECT_EQ(moduletest::InitExtensionModuleCalls(), m_nInit + 1);

  auto* pStd = static_cast<CZoFuncInfoStd*>(moduletest::WatchedObject("g_FuncInfoStd"));
  auto* pUser = static_cast<CZoFuncInfoUser*>(moduletest::WatchedObject("g_FuncInfoUser"));
  ASSERT_NE(pStd, nullptr);
  ASSERT_NE(pUser, nullptr);
  EXPECT_TRUE(pStd->empty());
  EXPECT_TRUE(pUser->empty());

  // The run-time classes went into the module's record, not the host's list.
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFileSection"), nullptr);
  EXPECT_EQ(ChainLength(), m_nChain);

  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_FALSE(IsModuleLoaded());
}

TEST_F(ModuleLoad, NimboInitLinksTheModuleIntoTheChain) {
  HMODULE hModule = LoadLibrary(kModulePath);
  ASSERT_NE(hModule, nullptr) << dlerror();
  auto pfnNimboInit = ProcOf<PNimboInit>(hModule, kNimboInit);
  ASSERT_NE(pfnNimboInit, nullptr);

  pfnNimboInit();
  ASSERT_EQ(ChainLength(), m_nChain + 1);
  CDynLinkLibrary* pDll = AfxGetModuleState()->m_pLibraryList;
  EXPECT_EQ(pDll->m_hModule, hModule);  // the instance handle is the loader's handle
  EXPECT_FALSE(pDll->m_bSystem);
  CRuntimeClass* pIniFile = AfxFindRuntimeClass("CIniFile");
  CRuntimeClass* pSection = AfxFindRuntimeClass("CIniFileSection");
  ASSERT_NE(pIniFile, nullptr);
  ASSERT_NE(pSection, nullptr);
  EXPECT_STREQ(pIniFile->m_lpszClassName, "CIniFile");
  EXPECT_STREQ(pSection->m_lpszClassName, "CIniFileSection");

  // No guard: a second call links a second object.
  pfnNimboInit();
  EXPECT_EQ(ChainLength(), m_nChain + 2);

  ClearLifetimeEvents();
  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_FALSE(IsModuleLoaded());
  // The entry point unregistered the module (dropping both links) before
  // the catalogues were destroyed, the user catalogue first.
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm + 1);
  EXPECT_EQ(LifetimeEvents(), (Events{Event("destroy", "g_FuncInfoUser", m_nInit + 1, m_nTerm + 1),
                                      Event("destroy", "g_FuncInfoStd", m_nInit + 1, m_nTerm + 1)}));
  EXPECT_EQ(ChainLength(), m_nChain);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);
}

TEST_F(ModuleLoad, ThreadNotificationsChangeNothing) {
  HMODULE hModule = LoadLibrary(kModulePath);
  ASSERT_NE(hModule, nullptr) << dlerror();
  auto pfnDllMain = ProcOf<PDllMain>(hModule, "DllMain");
  ASSERT_NE(pfnDllMain, nullptr);
  ProcOf<PNimboInit>(hModule, kNimboInit)();
  ClearLifetimeEvents();

  EXPECT_EQ(pfnDllMain(hModule, DLL_THREAD_ATTACH, nullptr), 1);
  EXPECT_EQ(pfnDllMain(hModule, DLL_THREAD_DETACH, nullptr), 1);
  EXPECT_EQ(moduletest::InitExtensionModuleCalls(), m_nInit + 1);
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm);
  EXPECT_EQ(ChainLength(), m_nChain + 1);
  EXPECT_NE(AfxFindRuntimeClass("CIniFile"), nullptr);
  EXPECT_TRUE(LifetimeEvents().empty());

  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_EQ(ChainLength(), m_nChain);
}

TEST_F(ModuleLoad, SecondLoadSharesTheModule) {
  moduletest::ExpectASecondLoadToShareTheModule([] { return LoadLibrary(kModulePath); }, IsModuleLoaded,
                                                [] { EXPECT_EQ(LifetimeEvents().size(), 2u); }, m_nInit, m_nTerm);
}

TEST_F(ModuleLoad, RefusedAttachDestroysCataloguesAndFailsTheLoad) {
  moduletest::SetExtensionModuleFailure(true);
  HMODULE hModule = LoadLibrary(kModulePath);
  EXPECT_EQ(hModule, nullptr);
  EXPECT_FALSE(IsModuleLoaded());

  // Constructed, then destroyed again at once in reverse order; a refused
  // module is never told to detach.
  EXPECT_EQ(LifetimeEvents(), (Events{Event("construct", "g_FuncInfoStd", m_nInit, m_nTerm),
                                      Event("construct", "g_FuncInfoUser", m_nInit, m_nTerm),
                                      Event("destroy", "g_FuncInfoUser", m_nInit + 1, m_nTerm),
                                      Event("destroy", "g_FuncInfoStd", m_nInit + 1, m_nTerm)}));
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm);
  EXPECT_EQ(ChainLength(), m_nChain);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);

  // The next load succeeds once registration works again.
  moduletest::SetExtensionModuleFailure(false);
  hModule = LoadLibrary(kModulePath);
  ASSERT_NE(hModule, nullptr);
  EXPECT_TRUE(FreeLibrary(hModule));
}

TEST_F(ModuleLoad, RefusedAttachUnderPlainDlopenDestroysOnlyOnce) {
  // The dynamic loader cannot refuse the load itself: the handle stays
  // valid, but the catalogues are gone and the unload runs nothing twice.
  moduletest::SetExtensionModuleFailure(true);
  void* pHandle = dlopen(kModulePath, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(pHandle, nullptr) << dlerror();
  moduletest::SetExtensionModuleFailure(false);
  EXPECT_EQ(LifetimeEvents().size(), 4u);
  EXPECT_EQ(LifetimeEvents().back(), Event("destroy", "g_FuncInfoStd", m_nInit + 1, m_nTerm));

  ASSERT_EQ(dlclose(pHandle), 0);
  EXPECT_FALSE(IsModuleLoaded());
  EXPECT_EQ(LifetimeEvents().size(), 4u);
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm);

  // A LoadLibrary after it is not taken for a refused load.
  HMODULE hModule = LoadLibrary(kModulePath);
  ASSERT_NE(hModule, nullptr);
  EXPECT_TRUE(FreeLibrary(hModule));
}

TEST_F(ModuleLoad, TheHostsClassesStayThroughLoadLinkUnloadAndARefusedLoad) {
  moduletest::ExpectHostClassesToStay([] { return LoadLibrary(kModulePath); },
                                      [](HMODULE hModule) { ProcOf<PNimboInit>(hModule, kNimboInit)(); });
}

TEST(LoadLibrary, MissingModuleGivesNull) {
  EXPECT_EQ(LoadLibrary("/nonexistent/libNothing.so"), nullptr);
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

}  // namespace
