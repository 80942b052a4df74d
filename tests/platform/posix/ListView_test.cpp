// The list-view window class and image lists.
#include "Win32CommCtrl.h"

#include <string>

#include <gtest/gtest.h>

#include "CImageList.h"
#include "CListCtrl.h"
#include "WindowTestSupport.h"

namespace {

class ListView : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 400, 400);
  }
  HWND CreateList(DWORD dwStyle, int cy = 160) {
    return CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | dwStyle, 0, 0, 200, cy, m_hFrame, nullptr, nullptr,
                          nullptr);
  }
  static int Insert(HWND hList, int nAt, const char* pszText, int nImage = 0) {
    LVITEM item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nAt;
    item.pszText = const_cast<char*>(pszText);
    item.iImage = nImage;
    return static_cast<int>(SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
  }
  // The answer is the length of the text copied; for an item that does not
  // exist it is 0 and the buffer is left as it was.
  static std::string Text(HWND hList, int i) {
    char szText[64] = "?";
    LVITEM item = {};
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    const LRESULT nLength = SendMessage(hList, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    return std::string(szText, static_cast<size_t>(nLength));
  }
  static int Find(HWND hList, UINT nFlags, const char* psz, int nStart = -1) {
    LVFINDINFO info = {};
    info.flags = nFlags;
    info.psz = psz;
    return static_cast<int>(SendMessage(hList, LVM_FINDITEM, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(&info)));
  }
  static void SetState(HWND hList, int i, UINT nState, UINT nMask) {
    LVITEM item = {};
    item.state = nState;
    item.stateMask = nMask;
    SendMessage(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  HWND m_hFrame = nullptr;
};

TEST_F(ListView, InsertingAtZeroPutsItemsInFrontOfTheOthers) {
  HWND hList = CreateList(LVS_REPORT);
  ASSERT_NE(hList, nullptr);
  EXPECT_EQ(Insert(hList, 0, "Alpha"), 0);
  EXPECT_EQ(Insert(hList, 0, "Beta"), 0);
  EXPECT_EQ(Insert(hList, 0, "Gamma"), 0);
  EXPECT_EQ(Insert(hList, 99, "Omega"), 3);  // past the end: appended
  EXPECT_EQ(Insert(hList, 1, "Delta"), 1);
  EXPECT_EQ(Insert(hList, -1, "Bad"), -1);
  ASSERT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 5);
  const char* kExpected[] = {"Gamma", "Delta", "Beta", "Alpha", "Omega"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Text(hList, i), kExpected[i]) << i;
  EXPECT_EQ(Text(hList, 5), "");  // no such item: empty text
}

TEST_F(ListView, ItemsKeepTextImageDataAndState) {
  HWND hList = CreateList(LVS_REPORT);
  LVITEM item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.pszText = const_cast<char*>("Name");
  item.iImage = 4;
  item.lParam = 77;
  item.state = LVIS_SELECTED;
  item.stateMask = LVIS_SELECTED;
  ASSERT_EQ(SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
  char szText[8] = "";
  LVITEM out = {};
  out.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  out.pszText = szText;
  out.cchTextMax = sizeof(szText);
  out.stateMask = 0xFF;
  ASSERT_TRUE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_STREQ(out.pszText, "Name");  // the control may answer with a text of its own
  EXPECT_EQ(out.iImage, 4);
  EXPECT_EQ(out.lParam, 77);
  EXPECT_EQ(out.state, static_cast<UINT>(LVIS_SELECTED));
  out.iItem = 1;
  EXPECT_FALSE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&out)));
}

TEST_F(ListView, TextIsTruncatedToTheBufferWithItsZero) {
  HWND hList = CreateList(LVS_REPORT);
  ASSERT_EQ(Insert(hList, 0, "Name"), 0);
  char szText[4] = {'x', 'x', 'x', 'x'};
  LVITEM out = {};
  out.mask = LVIF_TEXT;
  out.pszText = szText;
  out.cchTextMax = 3;  // two characters and the terminating zero
  ASSERT_TRUE(SendMessage(hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_EQ(std::string(out.pszText, 3), std::string("Na\0", 3));
}

TEST_F(ListView, FindMatchesWholeOrPartialTextIgnoringCase) {
  HWND hList = CreateList(LVS_REPORT);
  for (const char* psz : {"StrLen", "strcat", "StrCmp", "FileOpen", "strlen"}) Insert(hList, 99, psz);
  EXPECT_EQ(Find(hList, LVFI_STRING, "STRLEN"), 0);
  EXPECT_EQ(Find(hList, LVFI_STRING, "strlen", 0), 4);  // starts after the given item
  EXPECT_EQ(Find(hList, LVFI_STRING, "Str"), -1);       // whole text only
  EXPECT_EQ(Find(hList, LVFI_PARTIAL, "strc"), 1);
  EXPECT_EQ(Find(hList, LVFI_STRING | LVFI_PARTIAL, "FILE"), 3);
  EXPECT_EQ(Find(hList, LVFI_PARTIAL, "strc", 2), -1);
  EXPECT_EQ(Find(hList, LVFI_PARTIAL | LVFI_WRAP, "strc", 2), 1);  // wraps to the top
  EXPECT_EQ(Find(hList, LVFI_STRING, "Missing"), -1);
  EXPECT_EQ(Find(hList, LVFI_PARTIAL, ""), 0);  // every text starts with nothing
}

TEST_F(ListView, SelectionAndFocus) {
  HWND hList = CreateList(LVS_REPORT | LVS_SINGLESEL);
  for (const char* psz : {"a", "b", "c", "d"}) Insert(hList, 99, psz);
  EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
  SetState(hList, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetState(hList, 3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  // One selection in a single-selection list, one focused item in any.
  EXPECT_EQ(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
  EXPECT_EQ(SendMessage(hList, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessage(hList, LVM_GETITEMSTATE, 1, LVIS_FOCUSED), 0);
  EXPECT_EQ(SendMessage(hList, LVM_GETITEMSTATE, 3, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);

  HWND hMulti = CreateList(LVS_REPORT);
  for (const char* psz : {"a", "b", "c", "d"}) Insert(hMulti, 99, psz);
  SetState(hMulti, 0, LVIS_SELECTED, LVIS_SELECTED);
  SetState(hMulti, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(SendMessage(hMulti, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  EXPECT_EQ(SendMessage(hMulti, LVM_GETNEXTITEM, 0, LVNI_SELECTED), 2);  // the search starts after item 0
  EXPECT_EQ(SendMessage(hMulti, LVM_GETNEXTITEM, 2, LVNI_SELECTED), -1);
  SetState(hMulti, -1, 0, LVIS_SELECTED);  // -1: every item
  EXPECT_EQ(SendMessage(hMulti, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(ListView, SetImageListReturnsThePreviousOne) {
  HWND hList = CreateList(LVS_REPORT | LVS_SHAREIMAGELISTS);
  HIMAGELIST hFirst = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  HIMAGELIST hSecond = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  EXPECT_EQ(SendMessage(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hFirst)), 0);
  EXPECT_EQ(SendMessage(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hSecond)),
            reinterpret_cast<LRESULT>(hFirst));
  EXPECT_EQ(SendMessage(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(hSecond));
  EXPECT_EQ(SendMessage(hList, LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);  // the kinds are apart
  EXPECT_EQ(SendMessage(hList, LVM_SETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(hSecond));
  SendMessage(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hFirst));
  DestroyWindow(hList);
  EXPECT_TRUE(ImageList_Destroy(hFirst));  // shared lists stay their owner's
  EXPECT_TRUE(ImageList_Destroy(hSecond));
}

TEST_F(ListView, AListViewDestroysImageListsItDoesNotShare) {
  HWND hList = CreateList(LVS_REPORT);
  HIMAGELIST hImages = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  SendMessage(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));
  DestroyWindow(hList);
  EXPECT_FALSE(ImageList_Destroy(hImages));  // already gone with the list view
}

TEST_F(ListView, EnsureVisibleScrollsTheTopIndex) {
  HWND hList = CreateList(LVS_REPORT, 5 * NIMBO_LISTVIEW_ROW_HEIGHT);
  for (int i = 0; i < 20; ++i) Insert(hList, 99, "x");
  EXPECT_EQ(SendMessage(hList, LVM_GETCOUNTPERPAGE, 0, 0), 5);
  EXPECT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 12, FALSE));
  EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 8);
  EXPECT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 10, FALSE));  // visible already
  EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 8);
  EXPECT_TRUE(SendMessage(hList, LVM_ENSUREVISIBLE, 2, FALSE));
  EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 2);
  EXPECT_FALSE(SendMessage(hList, LVM_ENSUREVISIBLE, 20, FALSE));
  EXPECT_TRUE(SendMessage(hList, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(SendMessage(hList, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListView, SortedListsPlaceItemsByText) {
  HWND hList = CreateList(LVS_REPORT | LVS_SORTASCENDING);
  for (const char* psz : {"delta", "Alpha", "charlie", "Bravo"}) Insert(hList, 0, psz);
  EXPECT_EQ(Text(hList, 0), "Alpha");
  EXPECT_EQ(Text(hList, 1), "Bravo");
  EXPECT_EQ(Text(hList, 3), "delta");
}

TEST_F(ListView, ImageListsCountTheirImages) {
  HIMAGELIST hImages = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  ASSERT_NE(hImages, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(hImages), 0);
  EXPECT_EQ(ImageList_Add(hImages, nullptr, nullptr), 0);
  EXPECT_EQ(ImageList_AddIcon(hImages, nullptr), 1);
  EXPECT_EQ(ImageList_GetImageCount(hImages), 2);
  EXPECT_TRUE(ImageList_Remove(hImages, 0));
  EXPECT_EQ(ImageList_GetImageCount(hImages), 1);
  EXPECT_TRUE(ImageList_Destroy(hImages));
  EXPECT_EQ(ImageList_GetImageCount(hImages), 0);
  EXPECT_EQ(ImageList_Add(hImages, nullptr, nullptr), -1);
  EXPECT_EQ(ImageList_Create(0, 16, 0, 1, 1), nullptr);
}

TEST_F(ListView, CListCtrlDrivesTheWindow) {
  CListCtrl list;
  CWnd frame;
  ASSERT_TRUE(frame.Attach(m_hFrame));
  ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT | LVS_SHAREIMAGELISTS, RECT{0, 0, 100, 100}, &frame, 7));
  EXPECT_EQ(list.InsertColumn(0, "Name", LVCFMT_LEFT, 120), 0);
  EXPECT_EQ(list.GetColumnWidth(0), 120);
  EXPECT_EQ(list.InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, "First", 0, 0, 3, 0), 0);
  EXPECT_EQ(list.InsertItem(0, "Second"), 0);
  EXPECT_EQ(list.InsertItem(0, "Third", 5), 0);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetItemText(2, 0), "First");
  EXPECT_EQ(list.GetItemText(9, 0), "");
  EXPECT_TRUE(list.SetItemData(1, 1234));
  EXPECT_EQ(list.GetItemData(1), 1234u);
  EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  LVFINDINFO info = {};
  info.flags = LVFI_PARTIAL;
  info.psz = "SEC";
  EXPECT_EQ(list.FindItem(&info), 1);

  CImageList first;
  CImageList second;
  ASSERT_TRUE(first.Create(16, 16, ILC_COLOR32, 1, 1));
  ASSERT_TRUE(second.Create(16, 16, ILC_COLOR32, 1, 1));
  EXPECT_EQ(list.SetImageList(&first, LVSIL_SMALL), nullptr);
  EXPECT_EQ(list.SetImageList(&second, LVSIL_SMALL), &first);  // the permanent object comes back
  EXPECT_EQ(list.GetImageList(LVSIL_SMALL), &second);
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_TRUE(list.DestroyWindow());
  frame.Detach();
}

TEST_F(ListView, ImageListObjectsOwnTheirList) {
  HIMAGELIST hList = nullptr;
  {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 1));
    EXPECT_FALSE(images.Create(16, 16, ILC_COLOR32, 1, 1));
    hList = images.GetSafeHandle();
    EXPECT_EQ(images.Add(static_cast<HICON>(nullptr)), 0);
    EXPECT_EQ(images.GetImageCount(), 1);
    EXPECT_EQ(CImageList::FromHandlePermanent(hList), &images);
    CImageList other;
    EXPECT_FALSE(other.Attach(hList));  // one object per list
  }
  EXPECT_EQ(ImageList_GetImageCount(hList), 0);
  EXPECT_FALSE(ImageList_Destroy(hList));
  EXPECT_EQ(CImageList::FromHandlePermanent(hList), nullptr);
}

}  // namespace

namespace {

class ListViewInput : public WindowTest {};

int Selected(HWND hList) {
  return static_cast<int>(SendMessage(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

TEST_F(ListViewInput, KeysAndClicksMoveTheSelection) {
  HWND hFrame = CreateLoggingWindow(WS_POPUP, 0, 0, 400, 400);
  HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | LVS_REPORT, 0, 0, 200, 4 * NIMBO_LISTVIEW_ROW_HEIGHT,
                              hFrame, nullptr, nullptr, nullptr);
  SendMessage(hList, WM_KEYDOWN, VK_DOWN, 0);  // nothing to select yet
  EXPECT_EQ(Selected(hList), -1);
  for (int i = 0; i < 10; ++i) {
    LVITEM item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>("x");
    SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessage(hList, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Selected(hList), 0);  // no focused item: the first
  SendMessage(hList, WM_KEYDOWN, VK_DOWN, 0);
  SendMessage(hList, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Selected(hList), 2);
  SendMessage(hList, WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(Selected(hList), 9);
  EXPECT_EQ(SendMessage(hList, LVM_GETTOPINDEX, 0, 0), 6);  // scrolled to it
  EXPECT_EQ(SendMessage(hList, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  SendMessage(hList, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Selected(hList), 9);  // stays at the end
  SendMessage(hList, WM_KEYDOWN, VK_PRIOR, 0);
  EXPECT_EQ(Selected(hList), 6);
  SendMessage(hList, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(Selected(hList), 0);
  SendMessage(hList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2 * NIMBO_LISTVIEW_ROW_HEIGHT + 3));
  EXPECT_EQ(Selected(hList), 2);
  EXPECT_EQ(GetFocus(), hList);
  EXPECT_EQ(SendMessage(hList, LVM_GETITEMSTATE, 2, LVIS_FOCUSED), LVIS_FOCUSED);
}

}  // namespace
