// Shared set-up of the controller tests: a clean simulated desktop, known
// catalogues and a harness driving one editor.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "SimDesktop.h"
#include "harness/CEditorHarness.h"
#include "module/SharedCatalogs.h"

class PromptorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimDesktop::Reset();
    g_FuncInfoStd.clear();
    g_FuncInfoUser.clear();
    // A filled standard catalogue is never read from a file again.
    g_FuncInfoStd.insert({"Foo", "Foo(a, b, c)"});
    g_FuncInfoStd.insert({"Bar", "Bar(n)"});
    g_FuncInfoStd.insert({"Max", "Max(x, y)"});
    g_FuncInfoStd.insert({"MessageBox", "MessageBox(text, caption)"});
    g_FuncInfoStd.insert({"Method", "Method()"});
    g_FuncInfoStd.insert({"Fo", "Fo(z)"});
    g_FuncInfoStd.insert({"123", "123(n)"});
    g_FuncInfoStd.insert({"Both", "Both(standard)"});
    m_pHarness = std::make_unique<CEditorHarness>(Options());
    ASSERT_TRUE(m_pHarness->IsReady());
    // The user catalogue is rebuilt (emptied, no project) by every Init.
    FillUserCatalogue();
    m_pHarness->ClearEvents();
  }

  void TearDown() override {
    m_pHarness.reset();
    CSimDesktop::Reset();
    g_FuncInfoStd.clear();
    g_FuncInfoUser.clear();
  }

  virtual CHarnessOptions Options() const { return CHarnessOptions(); }

  static void FillUserCatalogue() {
    g_FuncInfoUser.insert({"Both", "Both(user)"});
    g_FuncInfoUser.insert({"UserFn", "UserFn(p, q)"});
  }

  CEditorHarness& H() { return *m_pHarness; }

  // The events of one kind, in order.
  std::vector<CHarnessEvent> Events(CHarnessEvent::EKind kind) const {
    std::vector<CHarnessEvent> found;
    for (const CHarnessEvent& event : m_pHarness->GetEvents()) {
      if (event.kind == kind) found.push_back(event);
    }
    return found;
  }

  // The argument index the open tip shows, or -1 when no tip is open.
  int TipParam() const { return m_pHarness->IsTipOpen() ? m_pHarness->GetTip()->GetCurrentParam() : -1; }

  // Screen position of the editor's client origin (the frame's default rectangle).
  static constexpr int kEditorX = 100;
  static constexpr int kEditorY = 80;
  static constexpr int kCharWidth = 8;    // the default font, lfHeight -16
  static constexpr int kLineHeight = 16;
  static constexpr int kFontOffset = 21;  // -MulDiv(-16, 96, 72)

  std::unique_ptr<CEditorHarness> m_pHarness;
};
