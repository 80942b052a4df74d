// The function tip on a real desktop: created 17 pixels below the caret's
// top at the "(", moved to the font-derived offset below the caret's line on
// the key release, counting arguments, above the caret near the bottom of
// the work area, and closed by the ")".
#include "harness/CEditorHarness.h"

#include <gtest/gtest.h>

#include "SimDesktop.h"
#include "WindowGeometry.h"

namespace {

const LONG kFontHeight = -16;

CHarnessOptions Options() {
  CHarnessOptions options;
  options.strProgramsDir = NIMBO_SOURCE_DIR "/samples/Programs";
  options.nFontHeight = kFontHeight;
  return options;
}

// The screen point of a text position of the editor.
POINT ScreenPoint(CEditorHarness& harness, int nLine, int nColumn) {
  POINT pt = harness.PointFromPosition(nLine, nColumn);
  ClientToScreen(harness.GetEditorHwnd(), &pt);
  return pt;
}

// The offset below the caret's top that the tip takes from the editor's font.
int FontOffset(HWND hEditor) { return PointsToPixels(kFontHeight, LogPixelsY(hEditor)); }

class WinTip : public ::testing::Test {
 protected:
  void SetUp() override { CSimDesktop::Reset(); }
  void TearDown() override { CSimDesktop::Reset(); }
};

TEST_F(WinTip, OpensAtTheParenThenFollowsTheCaretAndCountsArguments) {
  CEditorHarness harness(Options());
  ASSERT_TRUE(harness.IsReady());
  harness.TypeText("x = Mid");
  const POINT ptParen = ScreenPoint(harness, 0, 7);
  harness.TypeText("(");
  ASSERT_TRUE(harness.IsTipOpen());
  EXPECT_STREQ(harness.GetTip()->GetText().GetString(), " Mid(strText, nStart, nCount)");
  RECT rc = harness.GetTipRect();
  EXPECT_EQ(rc.left, ptParen.x);  // where the caret was when "(" was typed
  EXPECT_EQ(rc.top, ptParen.y + FontOffset(harness.GetEditorHwnd()));
  EXPECT_EQ(harness.GetTip()->GetCurrentParam(), 0);

  harness.TypeText("s, \"a,b\", 3");
  ASSERT_TRUE(harness.IsTipOpen());
  EXPECT_EQ(harness.GetTip()->GetCurrentParam(), 2);  // the comma in the string does not count
  const RECT rcLater = harness.GetTipRect();
  EXPECT_EQ(rcLater.left, rc.left);  // never moves sideways
  EXPECT_EQ(rcLater.top, rc.top);

  harness.TypeText(")");
  EXPECT_FALSE(harness.IsTipOpen());
}

TEST_F(WinTip, NearTheBottomOfTheWorkAreaTheTipGoesAboveTheCaret) {
  CEditorHarness harness(Options());
  ASSERT_TRUE(harness.IsReady());
  harness.TypeText("Mid");
  const POINT ptParen = ScreenPoint(harness, 0, 3);
  // too short for the tip
  CSimDesktop::SetWorkArea(WorkAreaEndingAt(ptParen.y + FontOffset(harness.GetEditorHwnd()) + 5));
  harness.TypeText("(");
  ASSERT_TRUE(harness.IsTipOpen());
  const RECT rc = harness.GetTipRect();
  EXPECT_EQ(rc.bottom, ptParen.y);
  EXPECT_GT(rc.bottom - rc.top, 5);
}

TEST_F(WinTip, FocusChangesWhileTheTipOpensKeepIt) {
  CEditorHarness harness(Options());
  ASSERT_TRUE(harness.IsReady());
  harness.TypeText("Mid");
  harness.ClearEvents();
  harness.TypeText("(");
  ASSERT_TRUE(harness.IsTipOpen());
  // The focus loss that the real window system reports while the popup
  // opens reaches the controller during creation, and the tip stays; the
  // focus ends back in the editor.
  int nLosses = 0;
  for (const CHarnessEvent& event : harness.GetEvents()) {
    if (event.kind == CHarnessEvent::killFocusParent) {
      ++nLosses;
      EXPECT_TRUE(event.bDuringCreation);
    }
    EXPECT_NE(event.kind, CHarnessEvent::tipClosed);
  }
  EXPECT_GE(nLosses, 1);  // showing the popup activates it and takes the focus from the frame
  EXPECT_EQ(GetFocus(), harness.GetEditorHwnd());
}

TEST_F(WinTip, FocusLeavingTheFrameClosesTheTip) {
  CEditorHarness harness(Options());
  ASSERT_TRUE(harness.IsReady());
  harness.TypeText("Mid(");
  ASSERT_TRUE(harness.IsTipOpen());
  harness.FocusOtherWindow();
  EXPECT_FALSE(harness.IsTipOpen());
}

}  // namespace
