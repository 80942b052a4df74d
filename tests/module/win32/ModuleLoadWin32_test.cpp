// Loading and unloading the real Nimbo.dll with LoadLibrary and FreeLibrary:
// the entry point registers the module after its static objects exist,
// NimboInit links it into the chain, and the unload unregisters it before
// the catalogues are destroyed, the user catalogue first.
#include "DllEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "AfxModuleState.h"
#include "CDynLinkLibrary.h"
#include "module/ExtensionModuleWatch.h"
#include "module/LoadCases.h"
#include "ImportHook.h"
#include "ModuleImage.h"
#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"

namespace {

const char kModuleName[] = NIMBO_MODULE_NAME;
const char kCppRuntime[] = "libstdc++-6.dll";
const char* const kDeletes[] = {"_ZdlPvj", "_ZdlPv"};  // operator delete, sized and plain

typedef void (*PNimboInit)();

template <class TFunction>
TFunction ProcOf(HMODULE hModule, const char* pszName) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

// The module's one static object of that class (the catalogues are not
// exported; their classes are).
template <class TObject>
TObject* ObjectOf(HMODULE hModule, const char* pszVtable) {
  return static_cast<TObject*>(StaticObjectByVtable(hModule, pszVtable));
}

int ChainLength() {
  int nCount = 0;
  for (CDynLinkLibrary* pDll = AfxGetModuleState()->m_pLibraryList; pDll != nullptr; pDll = pDll->m_pNextDLL) ++nCount;
  return nCount;
}

bool IsModuleLoaded() { return GetModuleHandleA(kModuleName) != nullptr; }

// ---- Watching the module's frees -------------------------------------------------
// The module's calls of operator delete go through its import table; while
// watched, each freed block is logged with the extension-module calls made
// so far, so the log shows when each catalogue entry was released.
struct CFreed {
  void* pBlock;
  int nInit;
  int nTerm;
};
std::vector<CFreed> g_freed;
void (*g_pfnSizedDelete)(void*, unsigned) = nullptr;
void (*g_pfnDelete)(void*) = nullptr;

void LogFree(void* pBlock) {
  g_freed.push_back({pBlock, moduletest::InitExtensionModuleCalls(), moduletest::TermExtensionModuleCalls()});
}
void WatchedSizedDelete(void* pBlock, unsigned nSize) {
  LogFree(pBlock);
  g_pfnSizedDelete(pBlock, nSize);
}
void WatchedDelete(void* pBlock) {
  LogFree(pBlock);
  g_pfnDelete(pBlock);
}

// Redirects the module's operator delete imports; false when it has none.
bool WatchFrees(HMODULE hModule) {
  g_freed.clear();
  g_freed.reserve(4096);
  bool bAny = false;
  if (void** ppSlot = FindImportSlot(hModule, kCppRuntime, kDeletes[0])) {
    g_pfnSizedDelete = reinterpret_cast<void (*)(void*, unsigned)>(
        ReplaceImport(ppSlot, reinterpret_cast<void*>(&WatchedSizedDelete)));
    bAny = true;
  }
  if (void** ppSlot = FindImportSlot(hModule, kCppRuntime, kDeletes[1])) {
    g_pfnDelete = reinterpret_cast<void (*)(void*)>(ReplaceImport(ppSlot, reinterpret_cast<void*>(&WatchedDelete)));
    bAny = true;
  }
  return bAny;
}

// The position in the log of the free of the map node holding pValue (the
// node's header comes before the value), or -1.
int FreeOfNodeHolding(const void* pValue, CFreed* pFreed) {
  const BYTE* p = static_cast<const BYTE*>(pValue);
  for (size_t i = 0; i < g_freed.size(); ++i) {
    const BYTE* pBlock = static_cast<const BYTE*>(g_freed[i].pBlock);
    if (pBlock <= p && p < pBlock + 64) {
      *pFreed = g_freed[i];
      return static_cast<int>(i);
    }
  }
  return -1;
}

class WinModuleLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(IsModuleLoaded());
    m_nInit = moduletest::InitExtensionModuleCalls();
    m_nTerm = moduletest::TermExtensionModuleCalls();
    m_nChain = ChainLength();
  }
  void TearDown() override { moduletest::SetExtensionModuleFailure(false); }

  int m_nInit = 0;
  int m_nTerm = 0;
  int m_nChain = 0;
};

TEST_F(WinModuleLoad, LoadRegistersTheModuleWithEmptyCataloguesAndItsClassesInItsRecord) {
  HMODULE hModule = LoadLibraryA(kModuleName);
  ASSERT_NE(hModule, nullptr) << GetLastError();
  EXPECT_EQ(moduletest::InitExtensionModuleCalls(), m_nInit + 1);
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm);
  auto* pStd = ObjectOf<CZoFuncInfoStd>(hModule, "_ZTV14CZoFuncInfoStd");
  auto* pUser = ObjectOf<CZoFuncInfoUser>(hModule, "_ZTV15CZoFuncInfoUser");
  ASSERT_NE(pStd, nullptr);
  ASSERT_NE(pUser, nullptr);
  EXPECT_TRUE(pStd->empty());
  EXPECT_TRUE(pUser->empty());
  // The run-time classes registered while the module's static objects were
  // built went into its record, not the host's list: not found until linked.
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);
  EXPECT_EQ(ChainLength(), m_nChain);
  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_FALSE(IsModuleLoaded());
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm + 1);
}

TEST_F(WinModuleLoad, NimboInitLinksTheModuleAndTheUnloadUnlinksItBeforeDestroyingTheUserCatalogueFirst) {
  HMODULE hModule = LoadLibraryA(kModuleName);
  ASSERT_NE(hModule, nullptr) << GetLastError();
  auto pfnNimboInit = ProcOf<PNimboInit>(hModule, "_Z9NimboInitv");
  ASSERT_NE(pfnNimboInit, nullptr);
  pfnNimboInit();
  ASSERT_EQ(ChainLength(), m_nChain + 1);
  CDynLinkLibrary* pDll = AfxGetModuleState()->m_pLibraryList;
  EXPECT_EQ(pDll->m_hModule, hModule);  // the instance handle the loader gave the entry point
  EXPECT_FALSE(pDll->m_bSystem);
  CRuntimeClass* pIniFile = AfxFindRuntimeClass("CIniFile");
  ASSERT_NE(pIniFile, nullptr);
  EXPECT_STREQ(pIniFile->m_lpszClassName, "CIniFile");
  EXPECT_NE(AfxFindRuntimeClass("CIniFileSection"), nullptr);
  pfnNimboInit();  // no guard: a second link
  EXPECT_EQ(ChainLength(), m_nChain + 2);

  // One entry in each catalogue, so that their destruction frees something.
  auto* pStd = ObjectOf<CZoFuncInfoStd>(hModule, "_ZTV14CZoFuncInfoStd");
  auto* pUser = ObjectOf<CZoFuncInfoUser>(hModule, "_ZTV15CZoFuncInfoUser");
  ASSERT_NE(pStd, nullptr);
  ASSERT_NE(pUser, nullptr);
  const void* pStdEntry = &*pStd->emplace(CString("StdFunc"), CString("StdFunc(a)")).first;
  const void* pUserEntry = &*pUser->emplace(CString("UserFunc"), CString("UserFunc(b)")).first;
  ASSERT_TRUE(WatchFrees(hModule));

  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_FALSE(IsModuleLoaded());
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm + 1);
  EXPECT_EQ(ChainLength(), m_nChain);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);
  CFreed stdFree = {};
  CFreed userFree = {};
  const int nStd = FreeOfNodeHolding(pStdEntry, &stdFree);
  const int nUser = FreeOfNodeHolding(pUserEntry, &userFree);
  ASSERT_GE(nStd, 0);
  ASSERT_GE(nUser, 0);
  EXPECT_LT(nUser, nStd);                    // the user catalogue went first
  EXPECT_EQ(userFree.nTerm, m_nTerm + 1);    // after the module was unregistered
  EXPECT_EQ(stdFree.nTerm, m_nTerm + 1);
}

TEST_F(WinModuleLoad, ThreadNotificationsChangeNothing) {
  HMODULE hModule = LoadLibraryA(kModuleName);
  ASSERT_NE(hModule, nullptr);
  ProcOf<PNimboInit>(hModule, "_Z9NimboInitv")();
  // A new thread makes the loader call every entry point with thread attach
  // and, when it ends, thread detach.
  std::thread([] {}).join();
  EXPECT_EQ(moduletest::InitExtensionModuleCalls(), m_nInit + 1);
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm);
  EXPECT_EQ(ChainLength(), m_nChain + 1);
  EXPECT_NE(AfxFindRuntimeClass("CIniFile"), nullptr);
  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_EQ(ChainLength(), m_nChain);
}

TEST_F(WinModuleLoad, SecondLoadSharesTheModule) {
  moduletest::ExpectASecondLoadToShareTheModule([] { return LoadLibraryA(kModuleName); }, IsModuleLoaded, [] {},
                                                m_nInit, m_nTerm);
}

TEST_F(WinModuleLoad, RefusedAttachFailsTheLoad) {
  moduletest::SetExtensionModuleFailure(true);
  EXPECT_EQ(LoadLibraryA(kModuleName), nullptr);
  EXPECT_FALSE(IsModuleLoaded());
  EXPECT_EQ(moduletest::InitExtensionModuleCalls(), m_nInit + 1);
  // The C runtime's DLL start-up answers a refused attach by calling the
  // entry point once more with process detach before the exit list runs.
  EXPECT_EQ(moduletest::TermExtensionModuleCalls(), m_nTerm + 1);
  EXPECT_EQ(ChainLength(), m_nChain);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);

  moduletest::SetExtensionModuleFailure(false);
  HMODULE hModule = LoadLibraryA(kModuleName);
  ASSERT_NE(hModule, nullptr);
  EXPECT_TRUE(FreeLibrary(hModule));
}

TEST_F(WinModuleLoad, TheHostsClassesStayThroughLoadLinkUnloadAndARefusedLoad) {
  moduletest::ExpectHostClassesToStay([] { return LoadLibraryA(kModuleName); },
                                      [](HMODULE hModule) { ProcOf<PNimboInit>(hModule, "_Z9NimboInitv")(); });
}

TEST(WinLoadLibrary, MissingModuleGivesNull) {
  EXPECT_EQ(LoadLibraryA("NoSuchModule.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(FreeLibrary(nullptr));
}

}  // namespace
