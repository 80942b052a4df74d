// Tests of the CodeMax editor window through its messages: the queries code
// assistance relies on, typing, keys, clicks, the caret, the font and scrolling.
#include "codemax/CCodeMaxEditor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "SimDesktop.h"
#include "WindowGeometry.h"
#include "Win32Gdi.h"
#include "codemax/CodeMaxMessages.h"
#include "codemax/CodeMaxTextKind.h"

namespace {

class CodeMaxWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimDesktop::Reset();
    ASSERT_TRUE(RegisterCodeMaxClass());
    ASSERT_TRUE(RegisterCodeMaxClass());  // a second registration is fine
    WNDCLASS wc = {};
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "EditorTestFrame";
    RegisterClass(&wc);
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -20;
    m_hFont = CreateFontIndirect(&lf);
    // The font's cell as the system measures it; the editor is 20 columns
    // by 5 rows of it.
    m_cell = FontCell(m_hFont);
    ASSERT_GT(m_cell.cx, 0);
    m_hFrame = CreateWindowEx(0, "EditorTestFrame", "", WS_OVERLAPPED | WS_VISIBLE, 50, 40, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
    m_hEditor = CreateWindowEx(0, CODEMAX_CLASSNAME, "", WS_CHILD | WS_VISIBLE, 10, 20, 20 * m_cell.cx,
                               5 * m_cell.cy, m_hFrame, nullptr, nullptr, nullptr);
    ASSERT_NE(m_hEditor, nullptr);
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), 0);
  }
  void TearDown() override {
    CSimDesktop::Reset();
    DeleteObject(m_hFont);
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(m_hEditor, message, wParam, lParam);
  }
  void SetText(const char* psz) { Send(CMM_SETTEXT, 0, reinterpret_cast<LPARAM>(psz)); }
  void Type(const char* psz) {
    for (; *psz != '\0'; ++psz) Send(WM_CHAR, static_cast<unsigned char>(*psz), 1);
  }
  std::string Line(int nLine) {
    char buffer[64];
    std::memset(buffer, 'X', sizeof(buffer));
    const LRESULT nLength = Send(CMM_GETLINE, static_cast<WPARAM>(nLine), reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(nLength, Send(CMM_GETLINELENGTH, static_cast<WPARAM>(nLine)));
    EXPECT_EQ(buffer[nLength], '\0');
    return std::string(buffer);
  }
  void Caret(int& nLine, int& nColumn) {
    int32_t record[5] = {-1, -1, -1, -1, -1};
    EXPECT_TRUE(Send(CMM_GETSEL, 1, reinterpret_cast<LPARAM>(record)));
    EXPECT_EQ(record[4], 0);
    nLine = record[2];
    nColumn = record[3];
  }
  void PosFromPoint(int x, int y, int& nLine, int& nColumn) {
    int32_t pos[2] = {0, 0};
    EXPECT_TRUE(Send(CMM_POSFROMPOINT, MAKEWPARAM(x, y), reinterpret_cast<LPARAM>(pos)));
    nLine = pos[0];
    nColumn = pos[1];
  }

  // A client pixel nTenths tenths of a cell from the origin, across or down.
  int X(int nTenths) const { return nTenths * m_cell.cx / 10; }
  int Y(int nTenths) const { return nTenths * m_cell.cy / 10; }

  SIZE m_cell = {0, 0};
  HWND m_hFrame = nullptr;
  HWND m_hEditor = nullptr;
  HFONT m_hFont = nullptr;
};

TEST_F(CodeMaxWindow, LineQueriesCopyTextAndTreatMissingLinesAsEmpty) {
  SetText("first\r\nsecond line\n\nlast");
  EXPECT_EQ(Send(CMM_GETLINECOUNT), 4);
  EXPECT_EQ(Line(0), "first");
  EXPECT_EQ(Line(1), "second line");
  EXPECT_EQ(Line(2), "");
  EXPECT_EQ(Line(3), "last");
  EXPECT_EQ(Line(4), "");
  EXPECT_EQ(Line(-1), "");
  EXPECT_EQ(Send(CMM_GETLINELENGTH, 1000), 0);
  EXPECT_EQ(Send(CMM_GETLINE, 0, 0), 0);  // no buffer: nothing copied
  char buffer[8];
  EXPECT_EQ(Send(CMM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)), 23);
  EXPECT_STREQ(buffer, "first\ns");
}

TEST_F(CodeMaxWindow, TypingKeysAndTheCaretRecord) {
  Type("Foo(a, b)");
  int nLine = -1;
  int nColumn = -1;
  Caret(nLine, nColumn);
  EXPECT_EQ(nLine, 0);
  EXPECT_EQ(nColumn, 9);
  Send(WM_KEYDOWN, VK_LEFT);
  Send(WM_CHAR, '\b');
  Send(WM_KEYDOWN, VK_HOME);
  Send(WM_KEYDOWN, VK_DELETE);
  Type("G\rx\ty");
  Send(WM_CHAR, 27);  // Escape types nothing
  Send(WM_CHAR, 22);  // nor does Ctrl+V
  Send(WM_KEYDOWN, 'A');  // keys act through their WM_CHAR only
  EXPECT_EQ(Line(0), "G");
  EXPECT_EQ(Line(1), "x\tyoo(a, )");
  Caret(nLine, nColumn);
  EXPECT_EQ(nLine, 1);
  EXPECT_EQ(nColumn, 3);
  Send(WM_KEYDOWN, VK_UP);
  Send(WM_KEYDOWN, VK_END);
  Caret(nLine, nColumn);
  EXPECT_EQ(nLine, 0);
  EXPECT_EQ(nColumn, 1);
  Send(WM_KEYDOWN, VK_DOWN);
  Send(WM_KEYDOWN, VK_RIGHT);
  Caret(nLine, nColumn);
  EXPECT_EQ(nLine, 1);
  EXPECT_EQ(nColumn, 2);
  Send(CMM_INSERTTEXT, 0, reinterpret_cast<LPARAM>("AB\nC"));
  EXPECT_EQ(Line(1), "x\tAB");
  EXPECT_EQ(Line(2), "Cyoo(a, )");
  Send(CMM_SETCARETPOS, 7, 99);
  Caret(nLine, nColumn);
  EXPECT_EQ(nLine, 2);
  EXPECT_EQ(nColumn, 9);
}

TEST_F(CodeMaxWindow, TextKindAtTheCaret) {
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindNoText);
  Type("x = Foo");
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindCode);
  Type(" // Foo");
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindLineComment);
  Type("\r\"Foo");
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindString);
  Type("\"/* a\rb");
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindBlockComment);
  Type("*/'");
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindCharacter);
  Send(CMM_SETCARETPOS, 0, 3);
  EXPECT_EQ(Send(CMM_GETTEXTKIND), kCodeMaxKindCode);
}

TEST_F(CodeMaxWindow, FontSetsTheCellAndTheCaretFollowsIt) {
  EXPECT_EQ(reinterpret_cast<HFONT>(Send(WM_GETFONT)), m_hFont);
  CCodeMaxEditor* pEditor = CCodeMaxEditor::FromHandle(m_hEditor);
  ASSERT_NE(pEditor, nullptr);
  EXPECT_EQ(CCodeMaxEditor::FromHandle(m_hFrame), nullptr);
  EXPECT_EQ(pEditor->GetCharWidth(), m_cell.cx);
  EXPECT_EQ(pEditor->GetLineHeight(), m_cell.cy);
  SetText("ab\ncdef");
  Send(CMM_SETCARETPOS, 1, 3);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), nullptr);  // no focus, no caret
  SetFocus(m_hEditor);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), m_hEditor);
  EXPECT_EQ(CSimDesktop::GetCaretSize().cy, m_cell.cy);
  POINT pt = {-1, -1};
  ASSERT_TRUE(GetCaretPos(&pt));
  EXPECT_EQ(pt.x, 3 * m_cell.cx);
  EXPECT_EQ(pt.y, m_cell.cy);
  Send(WM_KEYDOWN, VK_LEFT);
  GetCaretPos(&pt);
  EXPECT_EQ(pt.x, 2 * m_cell.cx);
  Send(WM_SETFONT, 0, 0);  // back to the system font
  EXPECT_EQ(Send(WM_GETFONT), 0);
  const SIZE systemCell = FontCell(nullptr);
  ASSERT_NE(systemCell.cy, m_cell.cy);
  EXPECT_EQ(pEditor->GetLineHeight(), systemCell.cy);
  EXPECT_EQ(CSimDesktop::GetCaretSize().cy, systemCell.cy);  // the caret's height follows
  GetCaretPos(&pt);
  EXPECT_EQ(pt.x, 2 * systemCell.cx);
  EXPECT_EQ(pt.y, systemCell.cy);
  SetFocus(m_hFrame);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), nullptr);  // the caret went with the focus
}

TEST_F(CodeMaxWindow, ClicksAndPointQueriesMapPixelsToText) {
  SetText("short\na much longer line\n");
  int nLine = -1;
  int nColumn = -1;
  PosFromPoint(X(34), Y(12), nLine, nColumn);  // nearest boundary of 3.4 cells
  EXPECT_EQ(nLine, 1);
  EXPECT_EQ(nColumn, 3);
  PosFromPoint(X(36), Y(2), nLine, nColumn);
  EXPECT_EQ(nLine, 0);
  EXPECT_EQ(nColumn, 4);
  PosFromPoint(X(190), Y(2), nLine, nColumn);  // past the end of "short"
  EXPECT_EQ(nColumn, 5);
  PosFromPoint(X(2), Y(50) - 1, nLine, nColumn);  // below the text
  EXPECT_EQ(nLine, 2);
  EXPECT_EQ(nColumn, 0);
  PosFromPoint(-20, -20, nLine, nColumn);  // negative coordinates stay in the text
  EXPECT_EQ(nLine, 0);
  EXPECT_EQ(nColumn, 0);

  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X(61), Y(11)));
  EXPECT_EQ(GetFocus(), m_hEditor);
  int32_t record[5] = {};
  Send(CMM_GETSEL, 1, reinterpret_cast<LPARAM>(record));
  EXPECT_EQ(record[2], 1);
  EXPECT_EQ(record[3], 6);
  POINT pt;
  GetCaretPos(&pt);
  PosFromPoint(pt.x, pt.y, nLine, nColumn);  // the caret's own pixel maps back to it
  EXPECT_EQ(nLine, 1);
  EXPECT_EQ(nColumn, 6);
}

TEST_F(CodeMaxWindow, ViewScrollsToKeepTheCaretVisible) {
  SetFocus(m_hEditor);
  CCodeMaxEditor* pEditor = CCodeMaxEditor::FromHandle(m_hEditor);
  Type("0123456789012345678901234");  // 25 characters in 20 visible columns
  EXPECT_EQ(pEditor->GetLeftColumn(), 6);
  POINT pt;
  GetCaretPos(&pt);
  EXPECT_EQ(pt.x, 19 * m_cell.cx);
  int nLine = -1;
  int nColumn = -1;
  PosFromPoint(pt.x, pt.y, nLine, nColumn);
  EXPECT_EQ(nColumn, 25);
  Type("\r1\r2\r3\r4\r5");  // line 5 of 5 visible rows
  EXPECT_EQ(pEditor->GetTopLine(), 1);
  EXPECT_EQ(pEditor->GetLeftColumn(), 0);
  GetCaretPos(&pt);
  EXPECT_EQ(pt.y, 4 * m_cell.cy);
  PosFromPoint(pt.x, pt.y, nLine, nColumn);
  EXPECT_EQ(nLine, 5);
  EXPECT_EQ(nColumn, 1);
  Send(CMM_SETSCROLLPOS, 0, 0);
  GetCaretPos(&pt);
  EXPECT_EQ(pt.y, 5 * m_cell.cy);  // the caret may leave the view until it moves
  Send(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(pEditor->GetTopLine(), 0);
  SetText("");
  EXPECT_EQ(pEditor->GetTopLine(), 0);
}

TEST_F(CodeMaxWindow, PaintingDrawsTheVisibleLinesFromTheScrollPosition) {
  SetText("one\ntwo\nthree\nfour\nfive\nsix\nseven");
  Send(CMM_SETSCROLLPOS, 1, 1);
  CSimDesktop::ClearLogs();
  UpdateWindow(m_hEditor);
  auto drawn = CSimDesktop::GetDrawnText(m_hEditor);
  ASSERT_EQ(drawn.size(), 5u);
  EXPECT_EQ(drawn[0].strText, "wo");
  EXPECT_EQ(drawn[0].y, 0);
  EXPECT_EQ(drawn[4].strText, "ix");
  EXPECT_EQ(drawn[4].y, 4 * m_cell.cy);
}

TEST_F(CodeMaxWindow, DestroyingTheFocusedEditorReleasesItsCaret) {
  SetFocus(m_hEditor);
  ASSERT_EQ(CSimDesktop::GetCaretOwner(), m_hEditor);
  DestroyWindow(m_hEditor);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), nullptr);
  EXPECT_EQ(CCodeMaxEditor::FromHandle(m_hEditor), nullptr);
}

}  // namespace
