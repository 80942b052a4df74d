// CWnd: the handle map, destruction by the object, message routing and subclassing.
#include "CWnd.h"

#include <vector>

#include <gtest/gtest.h>

#include "WindowTestSupport.h"

namespace {

using WndObject = WindowTest;

// A window object that logs what reaches its WindowProc and may answer.
class CLoggingWnd : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    m_messages.push_back(message);
    if (message == WM_USER + 1) return 4242;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void PostNcDestroy() override { ++m_nPostNcDestroy; }
  std::vector<UINT> m_messages;
  int m_nPostNcDestroy = 0;

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoggingWnd, CWnd)
END_MESSAGE_MAP()

// A heap object that deletes itself after its window's last message.
class CSelfDeletingWnd : public CWnd {
 public:
  explicit CSelfDeletingWnd(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
  ~CSelfDeletingWnd() override { *m_pbDeleted = true; }
  void PostNcDestroy() override { delete this; }
  bool* m_pbDeleted;
};

bool Contains(const std::vector<UINT>& messages, UINT nMsg) {
  for (UINT m : messages)
    if (m == nMsg) return true;
  return false;
}

TEST_F(WndObject, AttachDetachAndTheHandleMap) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  CWnd wnd;
  EXPECT_FALSE(wnd.Attach(nullptr));
  ASSERT_TRUE(wnd.Attach(hWnd));
  EXPECT_EQ(wnd.GetSafeHwnd(), hWnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
  EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
  CWnd other;
  EXPECT_FALSE(other.Attach(hWnd));  // one object per window
  EXPECT_FALSE(wnd.Attach(CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10)));  // one window per object
  EXPECT_EQ(wnd.Detach(), hWnd);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(WndObject, FromHandleMakesTemporaryObjectsThatDestroyNothing) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  CWnd* pTemp = CWnd::FromHandle(hWnd);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(pTemp->m_hWnd, hWnd);
  EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd::DeleteTempMap();
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(WndObject, TheDestructorDestroysTheWindowItHolds) {
  HWND hAttached = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  HWND hBorrowed = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  HWND hDetached = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  {
    CWnd attached;
    attached.Attach(hAttached);
    CWnd borrowed;
    borrowed.m_hWnd = hBorrowed;  // a handle stored without attaching counts as well
    CWnd detached;
    detached.Attach(hDetached);
    detached.Detach();
  }
  EXPECT_FALSE(IsWindow(hAttached));
  EXPECT_FALSE(IsWindow(hBorrowed));
  EXPECT_TRUE(IsWindow(hDetached));
  EXPECT_EQ(CWnd::FromHandlePermanent(hAttached), nullptr);
}

TEST_F(WndObject, DestroyWindowClearsTheObject) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  CWnd wnd;
  wnd.Attach(hWnd);
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow());
  // A stale handle is cleared too, and destroys nothing.
  wnd.m_hWnd = hWnd;
  EXPECT_FALSE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  // A window destroyed behind the object's back leaves only a dead handle.
  HWND hOther = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  {
    CWnd late;
    late.Attach(hOther);
    DestroyWindow(hOther);
    EXPECT_FALSE(IsWindow(late.m_hWnd));
  }
  EXPECT_EQ(CWnd::FromHandlePermanent(hOther), nullptr);
}

TEST_F(WndObject, CreateRoutesMessagesToTheObjectThenTheClass) {
  CLoggingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, kLoggingClass, "Tip", WS_POPUP, RECT{10, 20, 110, 40}, nullptr, 0));
  ASSERT_NE(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  // The object saw the creation from WM_NCCREATE on, and passed it on to the class.
  ASSERT_FALSE(wnd.m_messages.empty());
  EXPECT_EQ(wnd.m_messages.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_TRUE(Contains(wnd.m_messages, WM_CREATE));
  EXPECT_EQ(LoggedOf({WM_CREATE}).size(), 1u);
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 4242);     // answered by the object
  EXPECT_EQ(LoggedOf({WM_USER + 1}).size(), 0u);     // and not passed on
  wnd.SendMessage(WM_USER + 2);
  EXPECT_EQ(LoggedOf({WM_USER + 2}).size(), 1u);
  CString strText;
  wnd.GetWindowText(strText);
  EXPECT_EQ(strText, "Tip");
  RECT rc;
  wnd.GetWindowRect(&rc);
  EXPECT_EQ(rc.left, 10);
  EXPECT_EQ(rc.bottom, 40);

  HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
  EXPECT_TRUE(Contains(wnd.m_messages, WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "", WS_POPUP, RECT{0, 0, 1, 1}, nullptr, 0));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST_F(WndObject, ChildrenCreatedThroughObjectsHaveTheirParent) {
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "Frame", WS_POPUP, RECT{100, 100, 400, 400}, nullptr, 0));
  CLoggingWnd child;
  ASSERT_TRUE(child.Create(kLoggingClass, "", WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, &frame, 12));
  EXPECT_EQ(child.GetParent(), &frame);
  EXPECT_EQ(child.GetDlgCtrlID(), 12);
  POINT pt = {0, 0};
  child.ClientToScreen(&pt);
  EXPECT_EQ(pt.x, 110);
  frame.DestroyWindow();  // takes the child with it
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_EQ(child.m_nPostNcDestroy, 1);
}

TEST_F(WndObject, AnObjectMayDeleteItselfAfterItsLastMessage) {
  bool bDeleted = false;
  CSelfDeletingWnd* pWnd = new CSelfDeletingWnd(&bDeleted);
  ASSERT_TRUE(pWnd->CreateEx(0, kLoggingClass, "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
  HWND hWnd = pWnd->m_hWnd;
  DestroyWindow(hWnd);
  EXPECT_TRUE(bDeleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(WndObject, SubclassingRoutesAnExistingWindowUntilUndone) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  CLoggingWnd wnd;
  ASSERT_TRUE(wnd.SubclassWindow(hWnd));
  EXPECT_EQ(SendMessage(hWnd, WM_USER + 1, 0, 0), 4242);
  SendMessage(hWnd, WM_USER + 2, 0, 0);
  EXPECT_EQ(LoggedOf({WM_USER + 2}).size(), 1u);  // passed on to the window's own procedure
  EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
  EXPECT_EQ(SendMessage(hWnd, WM_USER + 1, 0, 0), 0);  // the object is out of the way
  EXPECT_EQ(LoggedOf({WM_USER + 1}).size(), 1u);
  CLoggingWnd again;
  ASSERT_TRUE(again.SubclassWindow(hWnd));
  EXPECT_FALSE(CLoggingWnd().SubclassWindow(hWnd));  // attached already
}

TEST_F(WndObject, AWindowOutlivingItsObjectKeepsItsOwnProcedure) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 10, 10);
  {
    CLoggingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    wnd.Detach();  // detached without giving the procedure back
  }
  g_messageLog.clear();
  EXPECT_EQ(SendMessage(hWnd, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(LoggedOf({WM_USER + 1}).size(), 1u);
  DestroyWindow(hWnd);
  EXPECT_EQ(LoggedOf({WM_NCDESTROY}).size(), 1u);
}

TEST_F(WndObject, FocusThroughObjects) {
  CWnd frame;
  frame.CreateEx(0, nullptr, "", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0);
  CLoggingWnd editor;
  editor.Create(kLoggingClass, "", WS_CHILD, RECT{0, 0, 50, 50}, &frame, 1);
  EXPECT_EQ(editor.SetFocus(), &frame);  // activation focused the frame first
  EXPECT_EQ(CWnd::GetFocus(), &editor);
  EXPECT_TRUE(Contains(editor.m_messages, WM_SETFOCUS));
}

TEST_F(WndObject, MessageMapsChainToTheirBase) {
  CLoggingWnd wnd;
  const AFX_MSGMAP* pMap = wnd.GetMessageMap();
  ASSERT_NE(pMap, nullptr);
  ASSERT_NE(pMap->pBaseMap, nullptr);
  EXPECT_EQ(pMap->pBaseMap, CWnd().GetMessageMap());
  EXPECT_EQ(pMap->pBaseMap->pBaseMap, nullptr);
  EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CWnd)));
}

}  // namespace
