// Tests of the controller's life with its host: focus changes, a second Init,
// destruction, and the relay rules seen through a derived controller.
#include "assist/CZoPromptorCtrl.h"

#include <gtest/gtest.h>

#include "PromptorFixture.h"
#include "codemax/CCodeMaxEditor.h"
#include "codemax/CodeMaxMessages.h"

namespace {

using PromptorLife = PromptorTest;

TEST_F(PromptorLife, FocusLossDuringCreationKeepsTheNewTip) {
  H().TypeText("Foo(");
  ASSERT_TRUE(H().IsTipOpen());
  // Opening the tip took the focus from the editor; the window system told
  // the host, which told the controller, which was still creating the tip.
  auto kills = Events(CHarnessEvent::killFocusParent);
  ASSERT_FALSE(kills.empty());
  for (const CHarnessEvent& e : kills) EXPECT_TRUE(e.bDuringCreation);
  EXPECT_FALSE(H().Controller()->IsCreatingTip());
  // The focus is back in the editor, whose caret is live again.
  EXPECT_EQ(GetFocus(), H().GetEditorHwnd());
  POINT pt = {-1, -1};
  EXPECT_TRUE(GetCaretPos(&pt));
  EXPECT_EQ(pt.x, 4 * m_nCharWidth);
}

TEST_F(PromptorLife, FocusLossAfterCreationClosesTheTip) {
  H().TypeText("Foo(a");
  ASSERT_TRUE(H().IsTipOpen());
  H().ClearEvents();
  H().FocusOtherWindow();
  EXPECT_FALSE(H().IsTipOpen());
  auto kills = Events(CHarnessEvent::killFocusParent);
  ASSERT_EQ(kills.size(), 1u);
  EXPECT_FALSE(kills[0].bDuringCreation);
  EXPECT_EQ(Events(CHarnessEvent::tipClosed).size(), 1u);
  // Keys now go to the other window and reach neither the editor nor the controller.
  H().TypeText("x");
  EXPECT_EQ(H().GetText(), "Foo(a");
  H().FocusEditor();
  H().TypeText(", b");
  EXPECT_EQ(H().GetText(), "Foo(a, b");
  EXPECT_FALSE(H().IsTipOpen());  // no "(" typed, no tip
  // Losing the focus with no tip open is harmless.
  H().FocusOtherWindow();
  EXPECT_FALSE(H().IsTipOpen());
}

TEST_F(PromptorLife, SecondInitSendsQueriesToTheNewEditor) {
  CWnd* pSecond = H().CreateEditor(RECT{0, 200, 300, 300});
  ASSERT_NE(pSecond, nullptr);
  H().SetText("Max");
  H().SetCaret(0, 3);
  H().AttachController(pSecond);
  FillUserCatalogue();
  EXPECT_EQ(H().Controller()->GetEditorHandle(), pSecond->GetSafeHwnd());
  EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), "");  // the second editor is empty

  pSecond->SetFocus();
  H().TypeText("Foo(");
  ASSERT_TRUE(H().IsTipOpen());
  auto created = Events(CHarnessEvent::tipCreated);
  ASSERT_EQ(created.size(), 1u);
  const POINT ptSecond = ClientOrigin(pSecond->GetSafeHwnd());
  ASSERT_EQ(ptSecond.y, m_ptEditor.y + 200);  // not where the first editor's tip would go
  EXPECT_EQ(created[0].rcTip.left, ptSecond.x + 3 * m_nCharWidth);
  EXPECT_EQ(created[0].rcTip.top, ptSecond.y + 17);
  EXPECT_EQ(H().GetTipRect().top, ptSecond.y + m_nFontOffset);
  EXPECT_EQ(H().GetText(), "Max");  // the first editor got nothing
}

TEST_F(PromptorLife, DestroyingTheControllerLeavesTheEditorAlive) {
  H().TypeText("Foo(a");
  ASSERT_TRUE(H().IsTipOpen());
  HWND hTip = H().GetTip()->GetSafeHwnd();
  H().DestroyController();
  EXPECT_FALSE(IsWindow(hTip));
  ASSERT_TRUE(IsWindow(H().GetEditorHwnd()));
  H().TypeText(", b)");
  EXPECT_EQ(H().GetText(), "Foo(a, b)");
  EXPECT_EQ(Events(CHarnessEvent::tipClosed).size(), 1u);
}

TEST_F(PromptorLife, DestroyingTheControllerAfterItsEditorIsHarmless) {
  CWnd* pSecond = H().CreateEditor(RECT{0, 200, 300, 300});
  ASSERT_NE(pSecond, nullptr);
  {
    CZoPromptorCtrl ctrl;
    ctrl.Init(pSecond, &H().GetProjectManager(), &H().GetImages());
    pSecond->DestroyWindow();
  }
  EXPECT_TRUE(IsWindow(H().GetEditorHwnd()));
}

TEST_F(PromptorLife, DetachKeepsTheTipAndStopsQueries) {
  H().TypeText("Foo(");
  ASSERT_TRUE(H().IsTipOpen());
  struct CDetaching : CHarnessPromptor {
    using CHarnessPromptor::CHarnessPromptor;
    void CallDetach() { Detach(); }
  };
  // Detach through a controller of our own, attached to the same editor.
  CDetaching other(nullptr);
  other.Init(H().GetEditor(), &H().GetProjectManager(), &H().GetImages());
  other.CallDetach();
  EXPECT_EQ(other.GetEditor(), nullptr);
  EXPECT_EQ(other.GetEditorHandle(), nullptr);
  EXPECT_EQ(other.GetProjectManager(), nullptr);
  EXPECT_TRUE(IsWindow(H().GetEditorHwnd()));
  EXPECT_TRUE(H().IsTipOpen());
}

// A host's controller that replaces steps; the base calls them through the
// virtual table.
class CCountingPromptor : public CZoPromptorCtrl {
 public:
  int m_nCreate = 0;
  int m_nUpdate = 0;
  int m_nDestroy = 0;
  int m_nLookups = 0;

  CString GetCurrentFunctionName(CString* pstrPrototype) override {
    ++m_nLookups;
    if (pstrPrototype != nullptr) *pstrPrototype = "Replaced(x)";
    return "Replaced";
  }
  bool IsTipOpen() const { return IsWindow(m_funcTip.GetSafeHwnd()) != FALSE; }
  CString TipText() const { return m_funcTip.GetText(); }

 protected:
  void CreateFuncTip() override {
    ++m_nCreate;
    CZoPromptorCtrl::CreateFuncTip();
  }
  void UpdateFuncTip() override {
    ++m_nUpdate;
    CZoPromptorCtrl::UpdateFuncTip();
  }
  void DestroyFuncTip() override {
    ++m_nDestroy;
    CZoPromptorCtrl::DestroyFuncTip();
  }
};

MSG MakeMsg(HWND hWnd, UINT message, WPARAM wParam) {
  MSG msg = {};
  msg.hwnd = hWnd;
  msg.message = message;
  msg.wParam = wParam;
  return msg;
}

TEST_F(PromptorLife, RelayRulesAndVirtualDispatchInADerivedController) {
  H().DestroyController();
  HWND hEditor = H().GetEditorHwnd();
  H().SetText("not a known name at all");
  H().SetCaret(0, 3);
  CCountingPromptor ctrl;
  // Unattached: a "(" reaches CreateFuncTip, which asks the null editor and stops.
  MSG msg = MakeMsg(hEditor, WM_CHAR, '(');
  ctrl.RelayEvent(&msg);
  EXPECT_EQ(ctrl.m_nCreate, 1);
  EXPECT_EQ(ctrl.m_nLookups, 0);

  ctrl.Init(H().GetEditor(), &H().GetProjectManager(), &H().GetImages());
  const UINT ignored[] = {WM_KEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE};
  for (UINT message : ignored) {
    msg = MakeMsg(hEditor, message, '(');
    ctrl.RelayEvent(&msg);
  }
  msg = MakeMsg(hEditor, WM_CHAR, 'x');
  ctrl.RelayEvent(&msg);
  EXPECT_EQ(ctrl.m_nCreate, 1);
  EXPECT_EQ(ctrl.m_nUpdate, 0);

  // The replaced lookup decides the tip's text.
  msg = MakeMsg(hEditor, WM_CHAR, '(');
  ctrl.RelayEvent(&msg);
  EXPECT_EQ(ctrl.m_nCreate, 2);
  EXPECT_EQ(ctrl.m_nLookups, 1);
  ASSERT_TRUE(ctrl.IsTipOpen());
  EXPECT_EQ(ctrl.TipText(), " Replaced(x)");

  // Any key's release updates; the replaced lookup set no anchor, so the
  // initial (0, 0) holds and the caret (column 3) stays inside.
  msg = MakeMsg(hEditor, WM_KEYUP, 'A');
  ctrl.RelayEvent(&msg);
  EXPECT_EQ(ctrl.m_nUpdate, 1);
  EXPECT_TRUE(ctrl.IsTipOpen());
  ctrl.OnKillFocusParent();
  EXPECT_EQ(ctrl.m_nDestroy, 1);
  EXPECT_FALSE(ctrl.IsTipOpen());
  // With no tip, a key release stops before touching the editor.
  msg = MakeMsg(hEditor, WM_KEYUP, 'A');
  ctrl.RelayEvent(&msg);
  EXPECT_EQ(ctrl.m_nDestroy, 1);
}

}  // namespace
