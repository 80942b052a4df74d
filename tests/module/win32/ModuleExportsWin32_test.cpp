// What Nimbo.dll's export table offers a host: the exported classes,
// NimboInit and the entry point, and nothing of the module's own insides
// (the shared catalogues above all).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ModuleImage.h"
#include "Win32Base.h"
#include "module/ExtensionModuleWatch.h"

namespace {

// The five exported classes (their members, virtual tables and type
// information carry the class's name), NimboInit and DllMain.
bool IsPublished(const std::string& strName) {
  static const char* const kClasses[] = {"15CZoPromptorCtrl", "28CZoListCtrlToolTipStaticFunc", "11CZoFuncInfo",
                                         "14CZoFuncInfoStd", "15CZoFuncInfoUser"};
  if (strName == "_Z9NimboInitv" || strName.compare(0, 7, "DllMain") == 0) return true;
  for (const char* pszClass : kClasses)
    if (strName.find(pszClass) != std::string::npos) return true;
  return false;
}

TEST(WinModuleExports, OnlyThePublishedInterfaceLeavesTheModule) {
  HMODULE hModule = LoadLibraryA(NIMBO_MODULE_NAME);
  ASSERT_NE(hModule, nullptr) << GetLastError();
  const std::vector<std::string> names = ExportedNames(hModule);
  EXPECT_NE(std::find(names.begin(), names.end(), "_Z9NimboInitv"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "_ZTV14CZoFuncInfoStd"), names.end());
  for (const std::string& strName : names) {
    EXPECT_EQ(strName.find("g_FuncInfo"), std::string::npos) << strName;
    EXPECT_TRUE(IsPublished(strName)) << strName;
  }
  EXPECT_TRUE(FreeLibrary(hModule));
}

TEST(WinModuleExports, APlainLoadBringsNoTestControls) {
  // Loading the module brings in the platform layer and the host's
  // libraries. The desktop's test controls, whose Windows side installs a
  // window-creation hook as it loads, are a library of their own that none
  // of them uses, so a host's load installs no such hook.
  HMODULE hModule = LoadLibraryA(NIMBO_MODULE_NAME);
  ASSERT_NE(hModule, nullptr) << GetLastError();
  for (const char* pszModule : {NIMBO_MODULE_NAME, "nimbo_platform.dll", "nimbo_host.dll"}) {
    HMODULE hLoaded = GetModuleHandleA(pszModule);
    ASSERT_NE(hLoaded, nullptr) << pszModule;
    EXPECT_FALSE(ImportsFrom(hLoaded, "nimbo_testctl.dll")) << pszModule;
    EXPECT_EQ(GetProcAddress(hLoaded, "_ZN11CSimDesktop5ResetEv"), nullptr) << pszModule;
  }
  // The check sees the module's own imports.
  EXPECT_TRUE(ImportsFrom(hModule, "nimbo_platform.dll"));
  EXPECT_TRUE(FreeLibrary(hModule));
}

TEST(WinModuleExports, ThePlatformDllCarriesNoTestHooks) {
  // Of the extension-module support, the platform DLL exports MFC's three
  // calls and no switch or counter around them: this program watches the
  // module's calls by redirecting the two exports, not through the DLL.
  std::vector<std::string> family;
  for (const std::string& strName : ExportedNames(GetModuleHandleA("nimbo_platform.dll")))
    if (strName.find("ExtensionModule") != std::string::npos) family.push_back(strName);
  std::sort(family.begin(), family.end());
  EXPECT_EQ(family, (std::vector<std::string>{moduletest::kInitExtensionModule, moduletest::kTermExtensionModule,
                                              "_Z27AfxBeginExtensionModuleLoadv"}));
}

}  // namespace
