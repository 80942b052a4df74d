// Window creation and destruction: the messages sent, their order, and
// handles that stay dead.
#include "Win32User.h"

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using WindowLifecycle = WindowTest;

TEST_F(WindowLifecycle, CreationSendsNcCreateThenCreateWithTheParameter) {
  int nCookie = 7;
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 10, 20, 300, 200, nullptr, 0, &nCookie);
  ASSERT_TRUE(IsWindow(hWnd));
  auto created = LoggedOf({WM_NCCREATE, WM_CREATE});
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(created[0].nMsg, static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(created[1].nMsg, static_cast<UINT>(WM_CREATE));
  // The CREATESTRUCT lives only during the call; its contents were checked
  // by a reaction in the next test, the handle here.
  EXPECT_EQ(created[1].hWnd, hWnd);
  EXPECT_EQ(CSimDesktop::GetCreatedWindows().back().hWnd, hWnd);
  EXPECT_EQ(CSimDesktop::GetCreatedWindows().back().strClassName, kLoggingClass);
}

TEST_F(WindowLifecycle, CreateStructCarriesTheArguments) {
  int nCookie = 7;
  CREATESTRUCT seen = {};
  g_reaction = [&](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> LRESULT {
    if (nMsg == WM_CREATE) seen = *reinterpret_cast<CREATESTRUCT*>(lParam);
    return -2;
  };
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 10, 20, 300, 200, nullptr, WS_EX_TOOLWINDOW, &nCookie);
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &nCookie);
  EXPECT_EQ(seen.x, 10);
  EXPECT_EQ(seen.y, 20);
  EXPECT_EQ(seen.cx, 300);
  EXPECT_EQ(seen.cy, 200);
  EXPECT_EQ(static_cast<DWORD>(seen.style), static_cast<DWORD>(WS_POPUP));
  EXPECT_EQ(seen.dwExStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
}

TEST_F(WindowLifecycle, RefusedCreationLeavesNoWindow) {
  g_reaction = [](HWND, UINT nMsg, WPARAM, LPARAM) -> LRESULT { return nMsg == WM_CREATE ? -1 : -2; };
  EXPECT_EQ(CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10), nullptr);
  HWND hFailed = g_messageLog.front().hWnd;
  EXPECT_FALSE(IsWindow(hFailed));
  auto destroyed = LoggedOf({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(destroyed.size(), 2u);
  EXPECT_EQ(destroyed[0].nMsg, static_cast<UINT>(WM_DESTROY));

  g_messageLog.clear();
  g_reaction = [](HWND, UINT nMsg, WPARAM, LPARAM) -> LRESULT { return nMsg == WM_NCCREATE ? FALSE : -2; };
  EXPECT_EQ(CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_TRUE(LoggedOf({WM_CREATE, WM_DESTROY}).empty());
  EXPECT_EQ(LoggedOf({WM_NCDESTROY}).size(), 1u);
}

TEST_F(WindowLifecycle, UnknownClassOrParentCreatesNothing) {
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateLoggingWindow(WS_CHILD, 0, 0, 1, 1, nullptr), nullptr);  // a child needs a parent
  HWND hParent = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  DestroyWindow(hParent);
  EXPECT_EQ(CreateLoggingWindow(WS_CHILD, 0, 0, 1, 1, hParent), nullptr);  // a dead one will not do
  EXPECT_TRUE(LoggedOf({WM_NCCREATE}).size() == 1u);                       // only the parent was ever created
}

TEST_F(WindowLifecycle, ClassNamesAreUniqueIgnoringCase) {
  WNDCLASS wc = {};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "loggingwindow";
  EXPECT_EQ(RegisterClass(&wc), 0);
  wc.lpszClassName = "FreshClass";
  EXPECT_NE(RegisterClass(&wc), 0);
  HWND hWnd = CreateWindowEx(0, "FRESHCLASS", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  EXPECT_FALSE(UnregisterClass("FreshClass", nullptr));  // a window of it lives
  DestroyWindow(hWnd);
  EXPECT_TRUE(UnregisterClass("FreshClass", nullptr));
}

TEST_F(WindowLifecycle, StaleHandlesStayDeadAndAreNeverReused) {
  HWND hOld = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  ASSERT_TRUE(DestroyWindow(hOld));
  EXPECT_FALSE(IsWindow(hOld));
  for (int i = 0; i < 50; ++i) {
    HWND hNew = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(hNew, hOld);
    DestroyWindow(hNew);
  }
  g_messageLog.clear();
  RECT rc = {1, 2, 3, 4};
  POINT pt = {5, 6};
  EXPECT_EQ(SendMessage(hOld, WM_USER, 1, 2), 0);
  EXPECT_EQ(SendMessage(nullptr, WM_USER, 1, 2), 0);
  EXPECT_FALSE(DestroyWindow(hOld));
  EXPECT_FALSE(GetWindowRect(hOld, &rc));
  EXPECT_FALSE(ClientToScreen(hOld, &pt));
  EXPECT_FALSE(SetWindowText(hOld, "x"));
  EXPECT_EQ(SetFocus(hOld), nullptr);
  EXPECT_FALSE(PostMessage(hOld, WM_USER, 0, 0));
  EXPECT_EQ(rc.left, 1);  // untouched
  EXPECT_EQ(pt.x, 5);
  EXPECT_TRUE(g_messageLog.empty());
}

TEST_F(WindowLifecycle, DestroySendsDestroyParentsFirstAndNcDestroyChildrenFirst) {
  HWND hTop = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HWND hChild = CreateLoggingWindow(WS_CHILD, 0, 0, 50, 50, hTop);
  HWND hGrandChild = CreateLoggingWindow(WS_CHILD, 0, 0, 10, 10, hChild);
  HWND hSibling = CreateLoggingWindow(WS_CHILD, 50, 50, 50, 50, hTop);
  std::vector<std::pair<HWND, bool>> liveDuring;
  g_reaction = [&](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> LRESULT {
    if (nMsg == WM_DESTROY || nMsg == WM_NCDESTROY) liveDuring.emplace_back(hWnd, IsWindow(hWnd) != FALSE);
    return -2;
  };
  g_messageLog.clear();
  ASSERT_TRUE(DestroyWindow(hTop));
  auto log = LoggedOf({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(log.size(), 8u);
  const std::pair<UINT, HWND> expected[] = {
      {WM_DESTROY, hTop},          {WM_DESTROY, hChild},      {WM_DESTROY, hGrandChild}, {WM_DESTROY, hSibling},
      {WM_NCDESTROY, hGrandChild}, {WM_NCDESTROY, hChild},    {WM_NCDESTROY, hSibling},  {WM_NCDESTROY, hTop}};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(log[i].nMsg, expected[i].first) << i;
    EXPECT_EQ(log[i].hWnd, expected[i].second) << i;
  }
  for (const auto& live : liveDuring) EXPECT_TRUE(live.second);
  for (HWND h : {hTop, hChild, hGrandChild, hSibling}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowLifecycle, OwnedWindowsGoBeforeTheirOwner) {
  HWND hOwner = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HWND hChild = CreateLoggingWindow(WS_CHILD, 0, 0, 50, 50, hOwner);
  HWND hOwned = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10, hChild);  // owned by the child's top-level window
  EXPECT_EQ(GetWindow(hOwned, GW_OWNER), hOwner);
  EXPECT_EQ(GetParent(hOwned), hOwner);  // a popup's parent is its owner
  g_messageLog.clear();
  DestroyWindow(hOwner);
  auto log = LoggedOf({WM_DESTROY, WM_NCDESTROY});
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0].hWnd, hOwned);
  EXPECT_EQ(log[1].hWnd, hOwned);
  EXPECT_EQ(log[2].hWnd, hOwner);
  EXPECT_FALSE(IsWindow(hOwned));
}

TEST_F(WindowLifecycle, DestroyingInsideDestroyIsRefused) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  BOOL bNested = TRUE;
  g_reaction = [&](HWND h, UINT nMsg, WPARAM, LPARAM) -> LRESULT {
    if (nMsg == WM_DESTROY) bNested = DestroyWindow(h);
    return -2;
  };
  EXPECT_TRUE(DestroyWindow(hWnd));
  EXPECT_FALSE(bNested);
  EXPECT_EQ(LoggedOf({WM_NCDESTROY}).size(), 1u);
}

TEST_F(WindowLifecycle, WindowDataAndText) {
  HWND hTop = CreateWindowEx(0, kLoggingClass, "Title", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND hChild = CreateWindowEx(0, kLoggingClass, "", WS_CHILD, 0, 0, 5, 5, hTop, reinterpret_cast<HMENU>(42),
                               nullptr, nullptr);
  char szText[16] = "";
  EXPECT_EQ(GetWindowText(hTop, szText, sizeof(szText)), 5);
  EXPECT_STREQ(szText, "Title");
  EXPECT_EQ(GetWindowText(hTop, szText, 3), 2);  // truncated, terminated
  EXPECT_STREQ(szText, "Ti");
  EXPECT_TRUE(SetWindowText(hTop, "New title"));
  EXPECT_EQ(GetWindowTextLength(hTop), 9);

  EXPECT_EQ(SetWindowLongPtr(hTop, GWLP_USERDATA, 1234), 0);
  EXPECT_EQ(SetWindowLongPtr(hTop, GWLP_USERDATA, 99), 1234);
  EXPECT_EQ(GetWindowLongPtr(hTop, GWLP_USERDATA), 99);
  EXPECT_EQ(GetDlgCtrlID(hChild), 42);
  EXPECT_EQ(GetDlgItem(hTop, 42), hChild);
  EXPECT_EQ(GetParent(hChild), hTop);
  EXPECT_EQ(GetParent(hTop), nullptr);
  EXPECT_TRUE(IsChild(hTop, hChild));
  EXPECT_FALSE(IsChild(hChild, hTop));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(hChild, GWL_STYLE)) & WS_CHILD, static_cast<DWORD>(WS_CHILD));
  char szClass[32] = "";
  EXPECT_EQ(GetClassName(hChild, szClass, sizeof(szClass)), 13);
  EXPECT_STREQ(szClass, kLoggingClass);
}

}  // namespace
