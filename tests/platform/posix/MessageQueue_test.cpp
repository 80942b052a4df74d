// The message queue: posting, peeking, translation of keys into characters.
#include "Win32User.h"

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using MessageQueue = WindowTest;

// Posts the key messages of one key press, as a keyboard would.
void PressKey(HWND hWnd, int nVirtKey) {
  PostMessage(hWnd, WM_KEYDOWN, static_cast<WPARAM>(nVirtKey), 1);
  PostMessage(hWnd, WM_KEYUP, static_cast<WPARAM>(nVirtKey), static_cast<LPARAM>(0xC0000001));
}

void PumpAll() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

TEST_F(MessageQueue, TranslatedKeysArriveAsDownCharUp) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  g_messageLog.clear();
  PostMessage(hWnd, WM_KEYDOWN, VK_SHIFT, 1);
  PressKey(hWnd, '9');
  PostMessage(hWnd, WM_KEYUP, VK_SHIFT, 1);
  PressKey(hWnd, 'A');
  PressKey(hWnd, VK_LEFT);  // types nothing
  PumpAll();
  auto log = LoggedOf({WM_KEYDOWN, WM_CHAR, WM_KEYUP});
  ASSERT_EQ(log.size(), 10u);
  EXPECT_EQ(log[1].nMsg, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(log[2].nMsg, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(log[2].wParam, static_cast<WPARAM>('('));
  EXPECT_EQ(log[3].nMsg, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(log[6].nMsg, static_cast<UINT>(WM_CHAR));
  EXPECT_EQ(log[6].wParam, static_cast<WPARAM>('a'));  // shift released by then
  EXPECT_EQ(LoggedOf({WM_CHAR}).size(), 2u);
}

TEST_F(MessageQueue, KeyStateFollowsRetrievedMessages) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  PostMessage(hWnd, WM_KEYDOWN, VK_CONTROL, 1);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);  // not retrieved yet
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  PostMessage(hWnd, WM_KEYUP, VK_CONTROL, 1);
  PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  CSimDesktop::SetKeyDown(VK_SHIFT, true);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
}

TEST_F(MessageQueue, VkKeyScanInvertsTheTranslation) {
  EXPECT_EQ(VkKeyScan('('), 0x100 | '9');
  EXPECT_EQ(VkKeyScan('a'), 'A');
  EXPECT_EQ(VkKeyScan('A'), 0x100 | 'A');
  EXPECT_EQ(VkKeyScan(','), VK_OEM_COMMA);
  EXPECT_EQ(VkKeyScan('"'), 0x100 | VK_OEM_7);
  EXPECT_EQ(VkKeyScan(' '), VK_SPACE);
  EXPECT_EQ(VkKeyScan('\r'), VK_RETURN);
  EXPECT_EQ(VkKeyScan('\x01'), 0x200 | 'A');
  EXPECT_EQ(VkKeyScan('\x80'), -1);
}

TEST_F(MessageQueue, PeekFiltersAndQuitComesLast) {
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  HWND hB = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  PostMessage(hA, WM_USER, 1, 0);
  PostMessage(hB, WM_USER, 2, 0);
  PostQuitMessage(3);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, hB, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessage(&msg, hB, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.hwnd, hA);
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), -1);  // nothing left: no endless wait
}

TEST_F(MessageQueue, DestroyedWindowsLoseTheirQueuedMessages) {
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  PostMessage(hA, WM_USER, 1, 0);
  DestroyWindow(hA);
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, VisibleWindowsMarkedForPaintingGetWmPaint) {
  HWND hA = CreateLoggingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
  DispatchMessage(&msg);  // default processing validates
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  InvalidateRect(hA, nullptr, TRUE);
  g_messageLog.clear();
  UpdateWindow(hA);
  EXPECT_EQ(LoggedOf({WM_PAINT}).size(), 1u);
}

}  // namespace
