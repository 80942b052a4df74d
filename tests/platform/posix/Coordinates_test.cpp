// Window rectangles, coordinate conversion through the parent chain, and the
// simulated screen.
#include "Win32User.h"

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using Coordinates = WindowTest;

TEST_F(Coordinates, ChildrenArePlacedInTheirParentsClientArea) {
  HWND hTop = CreateLoggingWindow(WS_POPUP, 100, 50, 500, 400);
  HWND hChild = CreateLoggingWindow(WS_CHILD, 10, 20, 300, 200, hTop);
  HWND hGrandChild = CreateLoggingWindow(WS_CHILD, 5, 7, 30, 40, hChild);
  RECT rc;
  ASSERT_TRUE(GetWindowRect(hGrandChild, &rc));
  EXPECT_EQ(rc.left, 115);
  EXPECT_EQ(rc.top, 77);
  EXPECT_EQ(rc.right, 145);
  EXPECT_EQ(rc.bottom, 117);
  ASSERT_TRUE(GetClientRect(hGrandChild, &rc));
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 30);
  EXPECT_EQ(rc.bottom, 40);

  POINT pt = {1, 2};
  ASSERT_TRUE(ClientToScreen(hGrandChild, &pt));
  EXPECT_EQ(pt.x, 116);
  EXPECT_EQ(pt.y, 79);
  ASSERT_TRUE(ScreenToClient(hChild, &pt));
  EXPECT_EQ(pt.x, 6);
  EXPECT_EQ(pt.y, 9);

  // Moving an ancestor moves every descendant on the screen.
  MoveWindow(hTop, 0, 0, 500, 400, TRUE);
  GetWindowRect(hGrandChild, &rc);
  EXPECT_EQ(rc.left, 15);
  EXPECT_EQ(rc.top, 27);
}

TEST_F(Coordinates, PopupsAreInScreenCoordinatesWhateverTheirOwner) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 300, 300, 100, 100);
  HWND hTip = CreateLoggingWindow(WS_POPUP, 40, 60, 80, 20, hFrame);
  RECT rc;
  GetWindowRect(hTip, &rc);
  EXPECT_EQ(rc.left, 40);
  EXPECT_EQ(rc.top, 60);
  POINT pt = {0, 0};
  ClientToScreen(hTip, &pt);
  EXPECT_EQ(pt.x, 40);
}

TEST_F(Coordinates, MapWindowPointsConvertsBetweenWindows) {
  HWND hTop = CreateLoggingWindow(WS_POPUP, 100, 100, 500, 400);
  HWND hA = CreateLoggingWindow(WS_CHILD, 10, 10, 50, 50, hTop);
  HWND hB = CreateLoggingWindow(WS_CHILD, 200, 300, 50, 50, hTop);
  POINT pts[2] = {{0, 0}, {5, 5}};
  MapWindowPoints(hA, hB, pts, 2);
  EXPECT_EQ(pts[0].x, -190);
  EXPECT_EQ(pts[0].y, -290);
  EXPECT_EQ(pts[1].x, -185);
  MapWindowPoints(hB, nullptr, pts, 2);
  EXPECT_EQ(pts[0].x, 110);
  EXPECT_EQ(pts[0].y, 110);
}

TEST_F(Coordinates, MovingSendsMoveAndSizeOnlyForChanges) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  g_messageLog.clear();
  MoveWindow(hWnd, 5, 5, 100, 100, FALSE);
  EXPECT_EQ(LoggedOf({WM_MOVE}).size(), 1u);
  EXPECT_TRUE(LoggedOf({WM_SIZE}).empty());
  MoveWindow(hWnd, 5, 5, 120, 80, FALSE);
  auto sizes = LoggedOf({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 120);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 80);
  SetWindowPos(hWnd, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT rc;
  GetWindowRect(hWnd, &rc);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.right - rc.left, 120);
}

TEST_F(Coordinates, VisibilityFollowsTheParentChain) {
  HWND hTop = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HWND hChild = CreateLoggingWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hTop);
  EXPECT_FALSE(IsWindowVisible(hChild));
  EXPECT_FALSE(ShowWindow(hTop, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(hChild));
  EXPECT_EQ(GetActiveWindow(), nullptr);  // shown without activation
  EXPECT_TRUE(ShowWindow(hTop, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(hChild));
}

TEST_F(Coordinates, TheScreenIsConfigurable) {
  RECT rc = {};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0));
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right, 1024);
  EXPECT_EQ(rc.bottom, 728);  // the task bar's 40 pixels are not work area
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  CSimDesktop::SetScreenSize(800, 600);
  SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0);
  EXPECT_EQ(rc.bottom, 560);
  CSimDesktop::SetWorkArea({0, 30, 800, 600});
  SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0);
  EXPECT_EQ(rc.top, 30);
  EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfo(0x0001, 0, &rc, 0));
}

TEST_F(Coordinates, WindowFromPointFindsTheDeepestVisibleWindow) {
  HWND hTop = CreateLoggingWindow(WS_POPUP | WS_VISIBLE, 100, 100, 200, 200);
  HWND hChild = CreateLoggingWindow(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, hTop);
  HWND hHidden = CreateLoggingWindow(WS_CHILD, 100, 100, 50, 50, hTop);
  EXPECT_EQ(WindowFromPoint({115, 115}), hChild);
  EXPECT_EQ(WindowFromPoint({210, 210}), hTop);
  (void)hHidden;
  EXPECT_EQ(WindowFromPoint({5, 5}), nullptr);
}

}  // namespace
