// Tests of the function tip window: creation, size, parameter marking,
// drawing in runs, Escape and destruction with the object.
#include "tamsin/CZoToolTipStaticFunc.h"

#include <gtest/gtest.h>

#include <cstring>

#include "SimDesktop.h"
#include "WindowGeometry.h"
#include "codemax/CCodeMaxEditor.h"

namespace {

class TipWindow : public ::testing::Test {
 protected:
  void SetUp() override { CSimDesktop::Reset(); }
  void TearDown() override { CSimDesktop::Reset(); }
};

CString Marked(const CZoToolTipStaticFunc& tip) {
  int nFirst = 0;
  int nCount = 0;
  if (!tip.GetMarkedRange(nFirst, nCount)) {
    EXPECT_EQ(nFirst, -1);
    EXPECT_EQ(nCount, 0);
    return "<none>";
  }
  return tip.GetText().Mid(nFirst, nCount);
}

TEST_F(TipWindow, DefaultConstructionHasNoWindowAndDestructionClosesIt) {
  HWND hWnd = nullptr;
  {
    CZoToolTipStaticFunc tip;
    EXPECT_EQ(tip.GetSafeHwnd(), nullptr);
    EXPECT_EQ(tip.GetCurrentParam(), -1);
    ASSERT_TRUE(tip.CreateTip(" Foo(a)", POINT{10, 20}, nullptr, 0));
    hWnd = tip.GetSafeHwnd();
    EXPECT_TRUE(IsWindow(hWnd));
  }
  EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(TipWindow, SizedToTextInTheOwnersFontCell) {
  LOGFONT lf;
  std::memset(&lf, 0, sizeof(lf));
  lf.lfHeight = -20;
  HFONT hFont = CreateFontIndirect(&lf);
  const SIZE cell = FontCell(hFont);
  ASSERT_NE(cell.cy, FontCell(nullptr).cy);  // the owner's font, not the screen's, decides
  // The owner is an editor window, which answers WM_GETFONT.
  ASSERT_TRUE(RegisterCodeMaxClass());
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, "CodeMax", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  owner.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), 0);
  CZoToolTipStaticFunc tip;
  ASSERT_TRUE(tip.CreateTip(" Max(x, y)", POINT{50, 60}, &owner, 0));
  RECT rc;
  tip.GetWindowRect(&rc);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.top, 60);
  EXPECT_EQ(rc.right - rc.left, 10 * cell.cx + 2 * CZoToolTipStaticFunc::kPadding);
  EXPECT_EQ(rc.bottom - rc.top, cell.cy + 2 * CZoToolTipStaticFunc::kPadding);
  EXPECT_EQ(GetParent(tip.GetSafeHwnd()), owner.GetSafeHwnd());
  // Shown activated: it has the focus.
  EXPECT_EQ(GetFocus(), tip.GetSafeHwnd());
  tip.DestroyWindow();
  owner.DestroyWindow();
  DeleteObject(hFont);
}

TEST_F(TipWindow, MarksTheParameterOfTheGivenIndex) {
  CZoToolTipStaticFunc tip;
  ASSERT_TRUE(tip.CreateTip(" Fn( first , Inner(1, 2), \"a,b\" ,last)", POINT{0, 0}, nullptr, 0));
  EXPECT_EQ(Marked(tip), "<none>");
  tip.SetCurrentParam(0);
  EXPECT_EQ(Marked(tip), "first");
  tip.SetCurrentParam(1);
  EXPECT_EQ(Marked(tip), "Inner(1, 2)");
  tip.SetCurrentParam(2);
  EXPECT_EQ(Marked(tip), "\"a,b\"");
  tip.SetCurrentParam(3);
  EXPECT_EQ(Marked(tip), "last");
  tip.SetCurrentParam(4);
  EXPECT_EQ(Marked(tip), "<none>");
  EXPECT_EQ(tip.GetCurrentParam(), 4);
  tip.SetCurrentParam(-1);
  EXPECT_EQ(Marked(tip), "<none>");

  ASSERT_TRUE(tip.CreateTip(" NoArgs()", POINT{0, 0}, nullptr, 0));  // replaces the open tip
  EXPECT_EQ(tip.GetCurrentParam(), -1);
  tip.SetCurrentParam(0);
  EXPECT_EQ(Marked(tip), "<none>");
  ASSERT_TRUE(tip.CreateTip(" Open(a, b", POINT{0, 0}, nullptr, 0));  // no ")"
  tip.SetCurrentParam(1);
  EXPECT_EQ(Marked(tip), "b");
  ASSERT_TRUE(tip.CreateTip(" plain text", POINT{0, 0}, nullptr, 0));
  tip.SetCurrentParam(0);
  EXPECT_EQ(Marked(tip), "<none>");
}

TEST_F(TipWindow, PaintsTheMarkAsItsOwnRun) {
  CZoToolTipStaticFunc tip;
  ASSERT_TRUE(tip.CreateTip(" Foo(a, bb, c)", POINT{0, 0}, nullptr, 0));
  tip.SetCurrentParam(1);
  CSimDesktop::ClearLogs();
  tip.Invalidate();
  tip.UpdateWindow();
  auto drawn = CSimDesktop::GetDrawnText(tip.GetSafeHwnd());
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].strText, " Foo(a, ");
  EXPECT_EQ(drawn[1].strText, "bb");
  EXPECT_EQ(drawn[2].strText, ", c)");
  // Each run starts where the text before it ends: 8 cells, then 2 more.
  EXPECT_EQ((drawn[1].x - drawn[0].x) * 2, (drawn[2].x - drawn[1].x) * 8);
}

TEST_F(TipWindow, EscapeKeyDownClosesOtherMessagesDoNot) {
  CZoToolTipStaticFunc tip;
  tip.RelayEvent(nullptr);
  MSG msg = {nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  tip.RelayEvent(&msg);  // no window: nothing to close
  ASSERT_TRUE(tip.CreateTip(" Foo()", POINT{0, 0}, nullptr, 0));
  const UINT others[][2] = {{WM_KEYUP, VK_ESCAPE}, {WM_CHAR, 27}, {WM_KEYDOWN, VK_RETURN}, {WM_LBUTTONDOWN, 0}};
  for (const auto& other : others) {
    msg.message = other[0];
    msg.wParam = other[1];
    tip.RelayEvent(&msg);
    EXPECT_TRUE(IsWindow(tip.GetSafeHwnd()));
  }
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_ESCAPE;
  tip.RelayEvent(&msg);
  EXPECT_EQ(tip.GetSafeHwnd(), nullptr);
  EXPECT_EQ(tip.GetText(), " Foo()");  // the text stays readable
}

}  // namespace
