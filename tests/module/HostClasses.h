// The host's own run-time classes stay the host's while the module loads, is
// linked by NimboInit, unloads and has a load refused. Shared by the module
// suites of both sides, which load the module each in their own way.
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

}  // namespace moduletest
