// Tests of the function tip as a user meets it: typing "(" after a name,
// following the arguments, closing, and placement below or above the caret.
#include "assist/CZoPromptorCtrl.h"

#include <gtest/gtest.h>

#include "PromptorFixture.h"

namespace {

// Text typed into an empty editor, and the tip's argument index after the
// last key release (-1 when the tip is closed).
struct ArgCase {
  const char* pszTyped;
  int nExpected;
};

class FuncTip : public PromptorTest {
 protected:
  template <size_t nCases>
  void ExpectArguments(const ArgCase (&cases)[nCases]) {
    for (const ArgCase& c : cases) {
      H().SetText("");
      H().TypeText(c.pszTyped);
      EXPECT_EQ(TipParam(), c.nExpected) << c.pszTyped;
      if (H().IsTipOpen()) H().Controller()->CloseTip();
    }
  }
};

TEST_F(FuncTip, ParenAfterKnownNameOpensTipThenKeyReleaseMovesItByFontHeight) {
  H().TypeText("Foo");
  EXPECT_TRUE(H().GetEvents().empty());
  H().TypeChar('(');
  ASSERT_TRUE(H().IsTipOpen());
  auto created = Events(CHarnessEvent::tipCreated);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].strText, " Foo(a, b, c)");
  // 17 pixels below the caret's top-left as it was before the "(" went in.
  EXPECT_EQ(created[0].rcTip.left, m_ptEditor.x + 3 * m_nCharWidth);
  EXPECT_EQ(created[0].rcTip.top, m_ptEditor.y + 17);
  // The release of the same key: argument 0, font-derived offset, same left.
  auto moved = Events(CHarnessEvent::tipMoved);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].nParam, 0);
  EXPECT_EQ(moved[0].rcTip.top, m_ptEditor.y + m_nFontOffset);
  EXPECT_EQ(moved[0].rcTip.left, created[0].rcTip.left);
  EXPECT_EQ(moved[0].rcTip.right - moved[0].rcTip.left, created[0].rcTip.right - created[0].rcTip.left);
  EXPECT_EQ(moved[0].rcTip.bottom - moved[0].rcTip.top, created[0].rcTip.bottom - created[0].rcTip.top);
  // The anchor is the column just after the "(".
  EXPECT_EQ(H().Controller()->GetTipLine(), 0);
  EXPECT_EQ(H().Controller()->GetTipColumn(), 4);
  EXPECT_EQ(H().GetText(), "Foo(");
}

TEST_F(FuncTip, UnknownNameOrNoNameOpensNothing) {
  H().TypeText("Bogus(");
  EXPECT_FALSE(H().IsTipOpen());
  EXPECT_EQ(H().Controller()->GetTipColumn(), 6);  // the lookup still moved the anchor
  H().TypeText("\n(");
  H().TypeText("\nfoo(");  // case matters
  H().TypeText("\nFoo\t(");
  EXPECT_FALSE(H().IsTipOpen());
  EXPECT_TRUE(Events(CHarnessEvent::tipCreated).empty());
}


TEST_F(FuncTip, ArgumentIndexAndClosingWhileTyping) {
  const ArgCase cases[] = {
      {"Foo(a, b", 1},       {"Foo(a, b, c", 2},  {"Foo(a // c, d", 0}, {"Foo(Bar(1)", -1},
      {"Foo(a)", -1},        {"Foo(x) + Bar(", -1}, {"Foo(\"a, b\", c", 1}, {"Foo(\"a\\\", b\", c", 1},
      {"Foo('a', b", 1},     {"Foo(a /* , */, b", 1}, {"Foo(a /*/ , */ ,", 2}, {"Foo(Bar(1, 2", 1},
      {"Foo(\")\"", 0},      {"Foo(a / b, c", 1},
  };
  ExpectArguments(cases);
}

TEST_F(FuncTip, ScannerStateCarriesAcrossLines) {
  const ArgCase cases[] = {
      {"Foo(a /* x,\ny, */ b,", 1},         // the comment spans the line end
      {"Foo(a, // c,\nd,", 2},              // line comment ends with its line
      {"Foo(\"a,\nb, \", c", 1},           // an open string continues on the next line
      {"Foo(a /* *\n/ , ) */ , b", 1},     // "*" and "/" on two lines do not close
      {"Foo(a,\n\n  b,\n", 2},
  };
  ExpectArguments(cases);
}

TEST_F(FuncTip, SecondParenKeepsTheFirstTip) {
  H().TypeText("Foo(Max(");
  auto created = Events(CHarnessEvent::tipCreated);
  ASSERT_EQ(created.size(), 1u);
  ASSERT_TRUE(H().IsTipOpen());
  EXPECT_EQ(H().GetTip()->GetText(), " Foo(a, b, c)");
  EXPECT_EQ(H().Controller()->GetTipColumn(), 4);
}

TEST_F(FuncTip, CaretBackBeforeParenOrToEarlierLineCloses) {
  H().TypeText("Foo(a");
  H().PressKey(VK_LEFT);  // right after "(": still inside
  EXPECT_TRUE(H().IsTipOpen());
  EXPECT_EQ(TipParam(), 0);
  H().PressKey(VK_LEFT);  // onto the "("
  EXPECT_FALSE(H().IsTipOpen());
  EXPECT_EQ(Events(CHarnessEvent::tipClosed).size(), 1u);

  H().SetText("first line\n");
  H().SetCaret(1, 0);
  H().TypeText("Foo(");
  ASSERT_TRUE(H().IsTipOpen());
  H().PressKey(VK_UP);
  EXPECT_FALSE(H().IsTipOpen());
}

TEST_F(FuncTip, CaretOnLaterLineMovesTipDownAndCountsCommasBetween) {
  H().SetText("\n\nlast, line");
  H().TypeText("Foo(a,");
  ASSERT_TRUE(H().IsTipOpen());
  const RECT rcFirst = H().GetTipRect();
  H().PressKey(VK_DOWN);
  H().PressKey(VK_DOWN);
  H().PressKey(VK_END);
  ASSERT_TRUE(H().IsTipOpen());
  // Line 2 holds one more comma.
  EXPECT_EQ(H().GetCaretLine(), 2);
  EXPECT_EQ(TipParam(), 2);
  const RECT rc = H().GetTipRect();
  EXPECT_EQ(rc.top, m_ptEditor.y + 2 * m_nLineHeight + m_nFontOffset);
  EXPECT_EQ(rc.left, rcFirst.left);  // never sideways
  EXPECT_EQ(rc.right, rcFirst.right);
}

TEST_F(FuncTip, TipNearBottomOfWorkAreaGoesAboveCaret) {
  H().TypeText("Foo(");
  const RECT rcBelow = H().GetTipRect();
  const int nHeight = rcBelow.bottom - rcBelow.top;
  // Leave one pixel too little below the caret's line.
  const LONG nCaretY = m_ptEditor.y;
  CSimDesktop::SetWorkArea(WorkAreaEndingAt(nCaretY + m_nFontOffset + nHeight - 1));
  H().TypeChar('a');
  ASSERT_TRUE(H().IsTipOpen());
  RECT rc = H().GetTipRect();
  EXPECT_EQ(rc.bottom, nCaretY);  // its bottom edge at the caret's top
  EXPECT_EQ(rc.top, nCaretY - nHeight);
  EXPECT_EQ(rc.left, rcBelow.left);
  // Exactly enough room: below again.
  CSimDesktop::SetWorkArea(WorkAreaEndingAt(nCaretY + m_nFontOffset + nHeight));
  H().TypeChar('b');
  rc = H().GetTipRect();
  EXPECT_EQ(rc.top, nCaretY + m_nFontOffset);
}

TEST_F(FuncTip, TipAboveTheCaretThatReachesAboveTheScreenIsLeftSo) {
  // A tip taller than the editor's distance from the screen's top: a font's
  // cell is at least its character height.
  H().SetFontHeight(-(m_ptEditor.y + 16));
  H().TypeText("Foo(");
  const RECT rcBelow = H().GetTipRect();
  const int nHeight = rcBelow.bottom - rcBelow.top;
  ASSERT_GT(nHeight, m_ptEditor.y);
  CSimDesktop::SetWorkArea(WorkAreaEndingAt(m_ptEditor.y + 1));
  H().TypeChar('a');
  ASSERT_TRUE(H().IsTipOpen());
  const RECT rc = H().GetTipRect();
  EXPECT_EQ(rc.bottom, m_ptEditor.y);
  EXPECT_EQ(rc.top, m_ptEditor.y - nHeight);  // negative: not clamped to the screen
}

TEST_F(FuncTip, OffsetFollowsTheFontAndIsSeventeenWithoutOne) {
  H().SetFontHeight(-24);  // 32 pixels at 96 per inch
  H().TypeText("Foo(");
  EXPECT_EQ(H().GetTipRect().top, m_ptEditor.y + FontOffset(-24));
  H().Controller()->CloseTip();

  H().SetFontHeight(0);
  H().SetText("");
  H().TypeText("Foo(");
  ASSERT_TRUE(H().IsTipOpen());
  EXPECT_EQ(H().GetTipRect().top, m_ptEditor.y + 17);
  H().Controller()->CloseTip();

  // 27 pixels at 120 per inch (26.67 rounded); a real display keeps its own.
  CSimDesktop::SetLogPixels(120, 120);
  H().SetFontHeight(-16);
  H().SetText("");
  H().TypeText("Foo(");
  EXPECT_EQ(H().GetTipRect().top, m_ptEditor.y + FontOffset(-16));
}

TEST_F(FuncTip, PositiveFontHeightStillPutsTipBelowTheLine) {
  // A cell height given as a positive lfHeight counts like the same
  // character height; the tip never lands on the caret's own line.
  H().SetFontHeight(16);
  H().TypeText("Foo(");
  EXPECT_EQ(H().GetTipRect().top, m_ptEditor.y + FontOffset(-16));
}

TEST_F(FuncTip, ParenInStringOrCommentIsRefusedAndKeepsAnchor) {
  H().SetText("Max");
  H().SetCaret(0, 3);
  EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), "Max");
  const char* typed[] = {" // Foo(", "\n\"Foo(", "\n'Foo(", "\n/* Foo("};
  for (const char* psz : typed) {
    H().TypeText(psz);
    EXPECT_FALSE(H().IsTipOpen()) << psz;
    EXPECT_EQ(H().Controller()->GetTipLine(), 0) << psz;
    EXPECT_EQ(H().Controller()->GetTipColumn(), 4) << psz;
  }
  // Closing the block comment brings code back.
  H().TypeText(" */ Foo(");
  EXPECT_TRUE(H().IsTipOpen());
}

TEST_F(FuncTip, PasteOpensNoTipButTypingAfterItDoes) {
  H().Paste("x = Foo(");
  EXPECT_EQ(H().GetText(), "x = Foo(");
  EXPECT_FALSE(H().IsTipOpen());
  EXPECT_TRUE(H().GetEvents().empty());
  H().Paste("Max");
  H().TypeChar('(');
  EXPECT_TRUE(H().IsTipOpen());
  EXPECT_EQ(H().GetTip()->GetText(), " Max(x, y)");
}

TEST_F(FuncTip, ClickMovesNothingUntilTheNextKeyRelease) {
  H().SetText("\nsecond");
  H().TypeText("Foo(a, b");
  ASSERT_EQ(TipParam(), 1);
  const RECT rcBefore = H().GetTipRect();
  const size_t nEvents = H().GetEvents().size();

  H().MouseMove(10, 20);
  H().ClickAt(1, 3);
  EXPECT_EQ(H().GetCaretLine(), 1);
  EXPECT_EQ(H().GetCaretColumn(), 3);
  ASSERT_TRUE(H().IsTipOpen());
  EXPECT_EQ(H().GetEvents().size(), nEvents);
  EXPECT_EQ(TipParam(), 1);
  const RECT rcAfterClick = H().GetTipRect();
  EXPECT_EQ(rcAfterClick.top, rcBefore.top);

  H().PressKey(VK_SHIFT);  // any key release
  ASSERT_TRUE(H().IsTipOpen());
  EXPECT_EQ(H().GetTipRect().top, m_ptEditor.y + m_nLineHeight + m_nFontOffset);
  EXPECT_EQ(TipParam(), 1);

  H().ClickAt(0, 5);  // "Foo(a|, b"
  EXPECT_EQ(TipParam(), 1);
  H().PressKey(VK_SHIFT);
  EXPECT_EQ(TipParam(), 0);
  H().ClickAt(0, 1);  // before the "(": closes only with the key release
  EXPECT_TRUE(H().IsTipOpen());
  H().PressKey(VK_SHIFT);
  EXPECT_FALSE(H().IsTipOpen());
}

TEST_F(FuncTip, EscapeClosesTheTipThroughTheTipWindow) {
  H().TypeText("Foo(a");
  ASSERT_TRUE(H().IsTipOpen());
  H().PressKey(VK_ESCAPE);
  EXPECT_FALSE(H().IsTipOpen());
  EXPECT_EQ(Events(CHarnessEvent::tipClosed).size(), 1u);
  EXPECT_EQ(H().GetText(), "Foo(a");
}

TEST_F(FuncTip, TipMarksTheCurrentParameter) {
  H().TypeText("Foo(1, ");
  ASSERT_TRUE(H().IsTipOpen());
  int nFirst = -1;
  int nCount = 0;
  ASSERT_TRUE(H().GetTip()->GetMarkedRange(nFirst, nCount));
  EXPECT_EQ(H().GetTip()->GetText().Mid(nFirst, nCount), "b");
}

}  // namespace
