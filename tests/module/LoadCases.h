// Cases of loading the module that the module suites of both sides share,
// each side loading and freeing the module its own way.
#pragma once

#include <gtest/gtest.h>

#include "CDynLinkLibrary.h"
#include "module/ExtensionModuleWatch.h"
#include "CObject.h"

namespace moduletest {

// fnLoad loads the module (null when refused); fnLink calls its NimboInit.
template <class TLoad, class TLink>
void ExpectHostClassesToStay(TLoad fnLoad, TLink fnLink) {
  static CRuntimeClass s_before = {"CHostBefore", sizeof(CObject), 0xFFFF, nullptr, RUNTIME_CLASS(CObject), nullptr};
  static CRuntimeClass s_between = {"CHostBetween", sizeof(CObject), 0xFFFF, nullptr, RUNTIME_CLASS(CObject), nullptr};
  static AFX_CLASSINIT s_initBefore(&s_before);
  HMODULE hModule = fnLoad();
  ASSERT_NE(hModule, nullptr);
  EXPECT_EQ(AfxFindRuntimeClass("CHostBefore"), &s_before);
  fnLink(hModule);
  EXPECT_EQ(AfxFindRuntimeClass("CHostBefore"), &s_before);
  EXPECT_NE(AfxFindRuntimeClass("CIniFile"), nullptr);
  ASSERT_TRUE(FreeLibrary(hModule));
  EXPECT_EQ(AfxFindRuntimeClass("CHostBefore"), &s_before);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFile"), nullptr);

  static AFX_CLASSINIT s_initBetween(&s_between);
  moduletest::SetExtensionModuleFailure(true);
  EXPECT_EQ(fnLoad(), nullptr);
  moduletest::SetExtensionModuleFailure(false);
  EXPECT_EQ(AfxFindRuntimeClass("CHostBefore"), &s_before);
  EXPECT_EQ(AfxFindRuntimeClass("CHostBetween"), &s_between);
  EXPECT_EQ(AfxFindRuntimeClass("CIniFileSection"), nullptr);
}

// A second load of a loaded module gives the same handle and registers
// nothing again; the module stays until the second free. fnLoad loads the
// module, fnIsLoaded tells whether it is loaded; fnWhileShared runs while it
// is loaded twice. nInit and nTerm: the registration calls before the test.
template <class TLoad, class TIsLoaded, class TCheck>
void ExpectASecondLoadToShareTheModule(TLoad fnLoad, TIsLoaded fnIsLoaded, TCheck fnWhileShared, int nInit,
                                       int nTerm) {
  HMODULE hFirst = fnLoad();
  HMODULE hSecond = fnLoad();
  ASSERT_NE(hFirst, nullptr);
  EXPECT_EQ(hSecond, hFirst);
  EXPECT_EQ(InitExtensionModuleCalls(), nInit + 1);
  fnWhileShared();
  ASSERT_TRUE(FreeLibrary(hSecond));
  EXPECT_TRUE(fnIsLoaded());
  EXPECT_EQ(TermExtensionModuleCalls(), nTerm);
  ASSERT_TRUE(FreeLibrary(hFirst));
  EXPECT_FALSE(fnIsLoaded());
  EXPECT_EQ(TermExtensionModuleCalls(), nTerm + 1);
}

}  // namespace moduletest
