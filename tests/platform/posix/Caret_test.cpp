// The caret: one for the thread, positioned in client coordinates of its owner.
#include "Win32User.h"

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using Caret = WindowTest;

TEST_F(Caret, PositionIsKeptInTheOwnersClientCoordinates) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 100, 100, 400, 300);
  HWND hEditor = CreateLoggingWindow(WS_CHILD, 20, 30, 300, 200, hFrame);
  ASSERT_TRUE(CreateCaret(hEditor, nullptr, 2, 16));
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), hEditor);
  EXPECT_FALSE(CSimDesktop::IsCaretShown());  // a new caret is hidden
  ASSERT_TRUE(SetCaretPos(40, 32));
  POINT pt = {-1, -1};
  ASSERT_TRUE(GetCaretPos(&pt));
  EXPECT_EQ(pt.x, 40);
  EXPECT_EQ(pt.y, 32);
  ClientToScreen(hEditor, &pt);
  EXPECT_EQ(pt.x, 160);
  EXPECT_EQ(pt.y, 162);
  // Moving the owner moves the caret on the screen, not in its client area.
  MoveWindow(hEditor, 0, 0, 300, 200, TRUE);
  ASSERT_TRUE(GetCaretPos(&pt));
  EXPECT_EQ(pt.x, 40);
}

TEST_F(Caret, ANewCaretReplacesTheOldOneWhoeverOwnedIt) {
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HWND hB = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  CreateCaret(hA, nullptr, 1, 10);
  SetCaretPos(5, 6);
  CreateCaret(hB, nullptr, 3, 12);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), hB);
  POINT pt = {-1, -1};
  GetCaretPos(&pt);
  EXPECT_EQ(pt.x, 0);  // the new caret starts at the origin
  EXPECT_EQ(pt.y, 0);
  EXPECT_EQ(CSimDesktop::GetCaretSize().cx, 3);
  EXPECT_FALSE(ShowCaret(hA));  // hA owns no caret any more
  EXPECT_TRUE(ShowCaret(hB));
  EXPECT_TRUE(CSimDesktop::IsCaretShown());
}

TEST_F(Caret, ShowAndHideNest) {
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  CreateCaret(hA, nullptr, 1, 10);
  ShowCaret(hA);
  HideCaret(hA);
  HideCaret(nullptr);  // null means the owner
  ShowCaret(hA);
  EXPECT_FALSE(CSimDesktop::IsCaretShown());
  ShowCaret(hA);
  EXPECT_TRUE(CSimDesktop::IsCaretShown());
}

TEST_F(Caret, WithoutACaretTheQueriesFail) {
  POINT pt = {7, 7};
  EXPECT_FALSE(GetCaretPos(&pt));
  EXPECT_EQ(pt.x, 0);
  EXPECT_EQ(pt.y, 0);
  EXPECT_FALSE(SetCaretPos(1, 1));
  EXPECT_FALSE(DestroyCaret());
  HWND hA = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  CreateCaret(hA, nullptr, 1, 10);
  EXPECT_TRUE(DestroyCaret());
  EXPECT_FALSE(GetCaretPos(&pt));
  EXPECT_FALSE(CreateCaret(nullptr, nullptr, 1, 1));
}

TEST_F(Caret, DestroyingTheOwnerDestroysTheCaret) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HWND hEditor = CreateLoggingWindow(WS_CHILD, 0, 0, 100, 100, hFrame);
  CreateCaret(hEditor, nullptr, 1, 10);
  SetCaretPos(8, 9);
  DestroyWindow(hFrame);
  EXPECT_EQ(CSimDesktop::GetCaretOwner(), nullptr);
  POINT pt;
  EXPECT_FALSE(GetCaretPos(&pt));
}

}  // namespace
