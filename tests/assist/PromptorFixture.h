// Shared set-up of the controller tests: a clean simulated desktop, known
// catalogues and a harness driving one editor.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "SimDesktop.h"
#include "WindowGeometry.h"
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
    MeasureEditor();
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

  // The tip's distance below the caret's top for a font of nHeight in the
  // editor, at the pixels per inch of the editor's device context.
  int FontOffset(LONG nHeight) const { return PointsToPixels(nHeight, LogPixelsY(m_pHarness->GetEditorHwnd())); }

  // Read from the window system once the harness stands: a real frame has a
  // caption and borders, and a real font its own cell.
  void MeasureEditor() {
    m_ptEditor = ClientOrigin(m_pHarness->GetEditorHwnd());
    const SIZE cell = FontCell(reinterpret_cast<HFONT>(::SendMessage(m_pHarness->GetEditorHwnd(), WM_GETFONT, 0, 0)));
    m_nCharWidth = cell.cx;
    m_nLineHeight = cell.cy;
    m_nFontOffset = FontOffset(Options().nFontHeight);
  }

  POINT m_ptEditor = {0, 0};  // the screen point of the editor's client origin
  int m_nCharWidth = 0;       // the editor's font cell
  int m_nLineHeight = 0;
  int m_nFontOffset = 0;      // the tip's distance below the caret's top for that font

  std::unique_ptr<CEditorHarness> m_pHarness;
};
