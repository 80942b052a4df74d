// The host's list control and image lists under the completion list.
#include "tamsin/CZoListCtrl.h"

#include <gtest/gtest.h>

#include "SimDesktop.h"
#include "tamsin/CImageListEx.h"

namespace {

// Records the two filling steps that creation runs.
class CCountingList : public CZoListCtrl {
 public:
  CCountingList() : CZoListCtrl(true, LVS_EX_GRIDLINES) {}
  void InsertListColumns() override {
    m_strSteps += "columns;";
    CZoListCtrl::InsertListColumns();
  }
  void InsertListData() override {
    m_strSteps += "data;";
    for (const char* pszName : {"StrLeft", "strlen", "StrMid", "Pause"}) InsertItem(GetItemCount(), pszName);
  }
  std::string m_strSteps;
};

class ZoListCtrl : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimDesktop::Reset();
    ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr));
    RECT rect = {0, 0, 200, 200};
    ASSERT_TRUE(m_list.Create(WS_CHILD | LVS_REPORT, rect, &m_parent, 1));
  }
  void TearDown() override {
    m_list.DestroyWindow();
    m_parent.DestroyWindow();
    CSimDesktop::Reset();
  }
  CWnd m_parent;
  CCountingList m_list;
};

TEST_F(ZoListCtrl, CreateAppliesStyleAndFillsThroughTheVirtualSteps) {
  EXPECT_EQ(m_list.m_strSteps, "columns;data;");
  EXPECT_EQ(m_list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_EQ(m_list.GetItemCount(), 4);
}

TEST_F(ZoListCtrl, FindItemByNameWholeOrPrefixAfterStart) {
  EXPECT_EQ(m_list.FindItemByName("STRLEN", false, -1), 1);
  EXPECT_EQ(m_list.FindItemByName("Str", false, -1), -1);
  EXPECT_EQ(m_list.FindItemByName("str", true, -1), 0);
  EXPECT_EQ(m_list.FindItemByName("str", true, 0), 1);   // after item 0
  EXPECT_EQ(m_list.FindItemByName("str", true, 2), -1);  // no wrap
  EXPECT_EQ(m_list.FindItemByName("StrLeftX", true, -1), -1);
  EXPECT_EQ(m_list.FindItemByName("", true, -1), -1);
}

TEST_F(ZoListCtrl, SelectItemByIndexHonoursEachFlag) {
  m_list.SelectItemByIndex(2, true, false, false);
  EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(m_list.GetSelectionMark(), 2);
  m_list.SelectItemByIndex(3, false, true, false);
  EXPECT_EQ(m_list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), static_cast<UINT>(LVIS_FOCUSED));
  EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  m_list.SelectItemByIndex(1, true, true, true);
  EXPECT_EQ(m_list.GetSelectedCount(), 1u);
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 1);
  m_list.SelectItemByIndex(9, true, true, true);  // no such item
  EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 1);
}

TEST(ImageListEx, IdentifiersMapToTheirImages) {
  CImageListEx images;
  EXPECT_EQ(images.GetImageIndex(2200), -1);  // not created yet
  ASSERT_TRUE(images.CreateEx());
  EXPECT_EQ(images.GetImageCount(), 2);
  EXPECT_EQ(images.GetImageIndex(CImageListEx::kIdFunctionStd), 0);
  EXPECT_EQ(images.GetImageIndex(CImageListEx::kIdFunctionUser), 1);
  EXPECT_EQ(images.GetImageIndex(2202), -1);
  EXPECT_EQ(images.AddImage(2201, nullptr), -1);  // taken
  EXPECT_EQ(images.AddImage(3000, nullptr), 2);
  EXPECT_EQ(images.GetImageIndex(3000), 2);
  EXPECT_FALSE(images.CreateEx());  // already created
}

}  // namespace
