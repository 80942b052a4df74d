// Tests of the controller against an editor whose answers do not describe
// its text: negative lengths, lines outside the text, negative columns and
// buffers filled to the last byte must not lead to a bad buffer or a bad read.
#include "assist/CZoPromptorCtrl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "PromptorFixture.h"
#include "codemax/CodeMaxMessages.h"

namespace {

// What the scripted editor answers.
struct CAnswerScript {
  int32_t nCaretLine = 0;
  int32_t nCaretColumn = 0;
  LRESULT nLength = 0;     // answer to the line-length query, for every line
  std::string strFill;     // bytes copied into the line buffer (no terminator added)
  LRESULT nKind = 1;
  int nLineQueries = 0;    // line-text queries received
};

CAnswerScript g_script;

LRESULT CALLBACK ScriptedEditorProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CMM_GETSEL: {
      auto* pRecord = reinterpret_cast<int32_t*>(lParam);
      pRecord[2] = g_script.nCaretLine;
      pRecord[3] = g_script.nCaretColumn;
      return TRUE;
    }
    case CMM_POSFROMPOINT: {
      auto* pPos = reinterpret_cast<int32_t*>(lParam);
      pPos[0] = g_script.nCaretLine;
      pPos[1] = g_script.nCaretColumn;
      return TRUE;
    }
    case CMM_GETLINELENGTH:
      return g_script.nLength;
    case CMM_GETLINE:
      ++g_script.nLineQueries;
      std::memcpy(reinterpret_cast<char*>(lParam), g_script.strFill.data(), g_script.strFill.size());
      return 0;
    case CMM_GETTEXTKIND:
      return g_script.nKind;
    default:
      return DefWindowProc(hWnd, message, wParam, lParam);
  }
}

class EditorAnswers : public PromptorTest {
 protected:
  void SetUp() override {
    PromptorTest::SetUp();
    g_script = CAnswerScript();
    WNDCLASS wc = {};
    wc.lpfnWndProc = &ScriptedEditorProc;
    wc.lpszClassName = "ScriptedEditor";
    RegisterClass(&wc);
    m_hScripted = CreateWindowEx(0, "ScriptedEditor", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                                 H().GetFrame()->GetSafeHwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(m_hScripted, nullptr);
    m_wnd.Attach(m_hScripted);
    m_ctrl.Init(&m_wnd, &H().GetProjectManager(), &H().GetImages());
    FillUserCatalogue();
  }
  void TearDown() override {
    m_wnd.Detach();
    PromptorTest::TearDown();
  }

  HWND m_hScripted = nullptr;
  CWnd m_wnd;
  CHarnessPromptor m_ctrl{nullptr};
};

TEST_F(EditorAnswers, NegativeLineLengthIsAnEmptyLine) {
  g_script.nCaretColumn = 3;
  g_script.nLength = -1;  // a buffer of length + 1 = 0 bytes would be overrun
  g_script.strFill = "Foo";
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(g_script.nLineQueries, 0);
  EXPECT_EQ(m_ctrl.GetTipColumn(), 4);
  g_script.nLength = INT32_MIN;
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
}

TEST_F(EditorAnswers, EmptyLineIsStillAskedForWithAOneByteBuffer) {
  g_script.nCaretColumn = 0;
  g_script.nLength = 0;
  g_script.strFill = "X";  // an editor that writes into the one byte it was given
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(g_script.nLineQueries, 1);
}

TEST_F(EditorAnswers, LineOutsideTheTextIsEmpty) {
  g_script.nCaretLine = -2;
  g_script.nCaretColumn = 3;
  g_script.nLength = 3;
  g_script.strFill = "Foo";
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(g_script.nLineQueries, 0);
  EXPECT_EQ(m_ctrl.GetTipLine(), -2);
}

TEST_F(EditorAnswers, NegativeColumnGivesAnEmptyName) {
  g_script.nCaretColumn = -5;
  g_script.nLength = 3;
  g_script.strFill = std::string("Foo", 4);
  CString strPrototype("untouched");
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(&strPrototype), "");
  EXPECT_EQ(strPrototype, "untouched");
  EXPECT_EQ(m_ctrl.GetTipColumn(), -4);
  g_script.nCaretColumn = INT32_MAX;  // the anchor column saturates
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(m_ctrl.GetTipColumn(), INT32_MAX);
}

TEST_F(EditorAnswers, BufferFilledToTheLastByteStaysTerminated) {
  g_script.nCaretColumn = 3;
  g_script.nLength = 3;
  g_script.strFill = "FooXYZ";  // one byte more than length + 1 would overrun: send 4
  g_script.strFill.resize(4);
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "Foo");
  EXPECT_EQ(g_script.nLineQueries, 1);
  // Beyond the real text the caret column finds nothing.
  g_script.nCaretColumn = 4;
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
}

TEST_F(EditorAnswers, OnlyKinds1And255AllowATip) {
  g_script.nCaretColumn = 3;
  g_script.nLength = 3;
  g_script.strFill = std::string("Foo", 4);
  const LRESULT kinds[] = {0, 2, 3, 4, 5, 254, 256, -1};
  for (LRESULT nKind : kinds) {
    g_script.nKind = nKind;
    MSG msg = {m_hScripted, WM_CHAR, '(', 0, 0, {0, 0}};
    m_ctrl.RelayEvent(&msg);
    EXPECT_FALSE(m_ctrl.IsTipOpen()) << nKind;
    EXPECT_EQ(g_script.nLineQueries, 0) << nKind;
  }
  g_script.nKind = 255;
  MSG msg = {m_hScripted, WM_CHAR, '(', 0, 0, {0, 0}};
  m_ctrl.RelayEvent(&msg);
  EXPECT_TRUE(m_ctrl.IsTipOpen());
  m_ctrl.CloseTip();
  g_script.nKind = 1;
  m_ctrl.RelayEvent(&msg);
  EXPECT_TRUE(m_ctrl.IsTipOpen());
}

TEST_F(EditorAnswers, UpdateWithBadLinesKeepsScanningSafely) {
  g_script.nCaretColumn = 3;
  g_script.nLength = 4;
  g_script.strFill = std::string("Foo(", 5);
  MSG msg = {m_hScripted, WM_CHAR, '(', 0, 0, {0, 0}};
  m_ctrl.RelayEvent(&msg);
  ASSERT_TRUE(m_ctrl.IsTipOpen());
  // The caret moves two lines down, every line answering a negative length.
  g_script.nCaretLine = 2;
  g_script.nLength = -7;
  msg.message = WM_KEYUP;
  m_ctrl.RelayEvent(&msg);
  EXPECT_TRUE(m_ctrl.IsTipOpen());
  EXPECT_EQ(m_ctrl.GetTip().GetCurrentParam(), 0);
  // A negative caret column on a later line reads as an empty prefix.
  g_script.nCaretColumn = -3;
  m_ctrl.RelayEvent(&msg);
  EXPECT_TRUE(m_ctrl.IsTipOpen());
  m_ctrl.CloseTip();

  // An anchor far before line 0 (a host lookup at a line the editor made
  // up, while a tip is open) scans only the real lines.
  g_script.nCaretLine = 0;
  g_script.nCaretColumn = 3;
  g_script.nLength = 4;
  msg.message = WM_CHAR;
  m_ctrl.RelayEvent(&msg);
  ASSERT_TRUE(m_ctrl.IsTipOpen());
  g_script.nCaretLine = INT32_MIN;
  EXPECT_EQ(m_ctrl.GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(m_ctrl.GetTipLine(), INT32_MIN);
  g_script.nCaretLine = 1;
  g_script.nLineQueries = 0;
  msg.message = WM_KEYUP;
  m_ctrl.RelayEvent(&msg);
  EXPECT_TRUE(m_ctrl.IsTipOpen());
  EXPECT_EQ(g_script.nLineQueries, 2);
}

}  // namespace
