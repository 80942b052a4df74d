// Keyboard focus and activation: the messages really sent, their order and
// their arguments.
#include "Win32User.h"

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using Focus = WindowTest;

TEST_F(Focus, MovingTheFocusKillsThenSets) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  HWND hA = CreateLoggingWindow(WS_CHILD, 0, 0, 50, 50, hFrame);
  HWND hB = CreateLoggingWindow(WS_CHILD, 50, 0, 50, 50, hFrame);
  SetFocus(hA);
  ASSERT_EQ(GetFocus(), hA);
  HWND hFocusDuringKill = nullptr;
  g_reaction = [&](HWND, UINT nMsg, WPARAM, LPARAM) -> LRESULT {
    if (nMsg == WM_KILLFOCUS) hFocusDuringKill = GetFocus();
    return -2;
  };
  g_messageLog.clear();
  EXPECT_EQ(SetFocus(hB), hA);
  auto log = LoggedOf({WM_KILLFOCUS, WM_SETFOCUS});
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].hWnd, hA);
  EXPECT_EQ(log[0].nMsg, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(reinterpret_cast<HWND>(log[0].wParam), hB);
  EXPECT_EQ(log[1].hWnd, hB);
  EXPECT_EQ(log[1].nMsg, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(reinterpret_cast<HWND>(log[1].wParam), hA);
  EXPECT_EQ(hFocusDuringKill, hA);
  EXPECT_EQ(GetFocus(), hB);
}

TEST_F(Focus, FocusingTheFocusWindowSendsNothing) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  SetFocus(hFrame);
  g_messageLog.clear();
  EXPECT_EQ(SetFocus(hFrame), hFrame);
  EXPECT_TRUE(LoggedOf({WM_KILLFOCUS, WM_SETFOCUS, WM_ACTIVATE}).empty());
}

TEST_F(Focus, NullTakesTheFocusAway) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  SetFocus(hFrame);
  g_messageLog.clear();
  EXPECT_EQ(SetFocus(nullptr), hFrame);
  EXPECT_EQ(GetFocus(), nullptr);
  auto log = LoggedOf({WM_KILLFOCUS, WM_SETFOCUS});
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].wParam, 0u);
}

TEST_F(Focus, FocusingAnotherTopLevelWindowActivatesItFirst) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  HWND hEditor = CreateLoggingWindow(WS_CHILD, 0, 0, 100, 100, hFrame);
  HWND hOther = CreateLoggingWindow(WS_POPUP, 300, 0, 100, 100);
  HWND hOtherChild = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hOther);
  SetFocus(hEditor);
  EXPECT_EQ(GetActiveWindow(), hFrame);
  g_messageLog.clear();
  SetFocus(hOtherChild);
  auto log = LoggedOf({WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS});
  // The frame is deactivated, the other window activated and focused by
  // default processing, then the focus moves on to its child.
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0].hWnd, hFrame);
  EXPECT_EQ(LOWORD(log[0].wParam), WA_INACTIVE);
  EXPECT_EQ(log[1].hWnd, hOther);
  EXPECT_EQ(LOWORD(log[1].wParam), WA_ACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(log[1].lParam), hFrame);
  EXPECT_EQ(log[2].hWnd, hEditor);
  EXPECT_EQ(log[2].nMsg, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(log[3].hWnd, hOther);
  EXPECT_EQ(log[3].nMsg, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(log[4].hWnd, hOther);
  EXPECT_EQ(log[4].nMsg, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(log[5].hWnd, hOtherChild);
  EXPECT_EQ(GetFocus(), hOtherChild);
  EXPECT_EQ(GetActiveWindow(), hOther);
}

TEST_F(Focus, AVisiblePopupTakesTheFocusUnlessItMayNotActivate) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND hEditor = CreateLoggingWindow(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, hFrame);
  SetFocus(hEditor);
  g_messageLog.clear();
  HWND hQuiet = CreateLoggingWindow(WS_POPUP | WS_VISIBLE, 10, 10, 50, 20, hFrame, WS_EX_NOACTIVATE);
  EXPECT_TRUE(IsWindowVisible(hQuiet));
  EXPECT_EQ(GetFocus(), hEditor);
  EXPECT_TRUE(LoggedOf({WM_KILLFOCUS}).empty());

  HWND hTip = CreateLoggingWindow(WS_POPUP | WS_VISIBLE, 10, 10, 50, 20, hFrame);
  EXPECT_EQ(GetFocus(), hTip);
  auto kills = LoggedOf({WM_KILLFOCUS});
  ASSERT_EQ(kills.size(), 1u);
  EXPECT_EQ(kills[0].hWnd, hEditor);
  EXPECT_EQ(reinterpret_cast<HWND>(kills[0].wParam), hTip);
  // Giving the focus back reactivates the frame and refocuses the editor.
  SetFocus(hEditor);
  EXPECT_EQ(GetFocus(), hEditor);
  EXPECT_EQ(GetActiveWindow(), hFrame);
}

TEST_F(Focus, AKillFocusHandlerMayMoveTheFocusItself) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  HWND hA = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hFrame);
  HWND hB = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hFrame);
  HWND hC = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hFrame);
  SetFocus(hA);
  bool bRedirected = false;
  g_reaction = [&](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> LRESULT {
    if (nMsg == WM_KILLFOCUS && hWnd == hA && !bRedirected) {
      bRedirected = true;
      SetFocus(hC);
    }
    return -2;
  };
  g_messageLog.clear();
  SetFocus(hB);
  EXPECT_EQ(GetFocus(), hC);
  for (const CLoggedMessage& m : LoggedOf({WM_SETFOCUS})) EXPECT_NE(m.hWnd, hB);
}

TEST_F(Focus, DestroyingTheFocusWindowLeavesNoFocus) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  HWND hEditor = CreateLoggingWindow(WS_CHILD, 0, 0, 100, 100, hFrame);
  HWND hInner = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hEditor);
  SetFocus(hInner);
  DestroyWindow(hEditor);  // the focus was in the destroyed subtree
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), hFrame);
  g_messageLog.clear();
  SetFocus(hFrame);  // the next focus change has no stale window to notify
  auto log = LoggedOf({WM_KILLFOCUS, WM_SETFOCUS});
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].wParam, 0u);
  DestroyWindow(hFrame);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(Focus, DisabledWindowsTakeNoFocus) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 200, 200);
  HWND hOff = CreateLoggingWindow(WS_CHILD | WS_DISABLED, 0, 0, 10, 10, hFrame);
  SetFocus(hFrame);
  EXPECT_EQ(SetFocus(hOff), nullptr);
  EXPECT_EQ(GetFocus(), hFrame);
}

TEST_F(Focus, CaptureChangesAreAnnounced) {
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  HWND hB = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(SetCapture(hA), nullptr);
  g_messageLog.clear();
  EXPECT_EQ(SetCapture(hB), hA);
  auto log = LoggedOf({WM_CAPTURECHANGED});
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].hWnd, hA);
  DestroyWindow(hB);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
