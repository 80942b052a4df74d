// The completion list: order, images and selection of the filled list view.
#include "assist/CZoListCtrlToolTipStaticFunc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"
#include "tamsin/CImageListEx.h"

namespace {

struct CItemSeen {
  std::string strText;
  int nImage;
  bool operator==(const CItemSeen& other) const { return strText == other.strText && nImage == other.nImage; }
};
std::ostream& operator<<(std::ostream& out, const CItemSeen& item) {
  return out << "(" << item.strText << ", " << item.nImage << ")";
}
typedef std::vector<CItemSeen> Items;

// A host with a list view of its own (unsorted, as the completion list
// expects) and an image list with the two function icons.
class FuncList : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimDesktop::Reset();
    m_hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 300, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(m_hList, nullptr);
    ASSERT_TRUE(m_images.CreateEx());
    m_std["Zeta"] = "Zeta()";
    m_std["Alpha"] = "Alpha(a)";
    m_std["Beta"] = "Beta(b)";
    m_user["gamma"] = "gamma(c)";
    m_user["Beta"] = "Beta(x, y)";
  }
  void TearDown() override {
    m_list.Detach();
    CSimDesktop::Reset();
  }

  // The list view's items, first to last, as the host sees them.
  Items ItemsOfList() const {
    Items items;
    int nCount = static_cast<int>(::SendMessage(m_hList, LVM_GETITEMCOUNT, 0, 0));
    for (int nItem = 0; nItem < nCount; ++nItem) {
      char szText[64] = "";
      LVITEM item = {};
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = nItem;
      item.pszText = szText;
      item.cchTextMax = sizeof szText;
      ::SendMessage(m_hList, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
      items.push_back({szText, item.iImage});
    }
    return items;
  }
  HIMAGELIST SmallImages() const {
    return reinterpret_cast<HIMAGELIST>(::SendMessage(m_hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  }
  UINT StateOf(int nItem) const {
    return static_cast<UINT>(::SendMessage(m_hList, LVM_GETITEMSTATE, nItem, LVIS_SELECTED | LVIS_FOCUSED));
  }
  void Fill() {
    ASSERT_TRUE(m_list.Attach(m_hList));
    m_list.InsertListData();
    m_list.Detach();
  }

  HWND m_hList = nullptr;
  CImageListEx m_images;
  CZoFuncInfoStd m_std;
  CZoFuncInfoUser m_user;
  CZoListCtrlToolTipStaticFunc m_list{&m_std, &m_user, &m_images};
};

const int kStd = 0;   // CImageListEx's index for a built-in function
const int kUser = 1;  // and for a project function

TEST_F(FuncList, ConstructionBorrowsAndCreatesNoWindow) {
  CZoListCtrlToolTipStaticFunc list(&m_std, &m_user, nullptr);
  EXPECT_EQ(list.m_hWnd, nullptr);
  EXPECT_EQ(list.m_pImages, nullptr);
  EXPECT_TRUE(list.m_strText.IsEmpty());
  EXPECT_EQ(list.m_pFuncInfoStd, &m_std);
  EXPECT_EQ(list.m_pFuncInfoUser, &m_user);
  EXPECT_EQ(CSimDesktop::GetCreatedWindows().size(), 1u);  // only the host's list view
}

TEST_F(FuncList, ReportsListCtrlClassAndChainsItsMessageMap) {
  CZoListCtrl base(false, 0);
  CListCtrl root;
  EXPECT_EQ(m_list.GetRuntimeClass(), RUNTIME_CLASS(CListCtrl));
  ASSERT_NE(m_list.GetMessageMap(), base.GetMessageMap());
  EXPECT_EQ(m_list.GetMessageMap()->pBaseMap, base.GetMessageMap());
  EXPECT_EQ(base.GetMessageMap()->pBaseMap, root.GetMessageMap());
}

TEST_F(FuncList, UserNamesDescendThenStandardNamesThenOldItems) {
  CListCtrl host;  // the host's own item, there before the fill
  ASSERT_TRUE(host.Attach(m_hList));
  host.InsertItem(0, "old", 7);
  host.Detach();
  Fill();
  // A name in both catalogues is listed twice, once with each image.
  EXPECT_EQ(ItemsOfList(), (Items{{"gamma", kUser}, {"Beta", kUser}, {"Zeta", kStd}, {"Beta", kStd},
                                   {"Alpha", kStd}, {"old", 7}}));
  EXPECT_EQ(SmallImages(), m_images.GetSafeHandle());
  EXPECT_EQ(m_list.m_hWnd, nullptr);
}

TEST_F(FuncList, FillingTwiceDoublesEveryItem) {
  Fill();
  Items once = ItemsOfList();
  Fill();
  Items twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(ItemsOfList(), twice);
}

TEST_F(FuncList, EmptyCataloguesOnlySetTheImageList) {
  m_std.clear();
  m_user.clear();
  Fill();
  EXPECT_TRUE(ItemsOfList().empty());
  EXPECT_EQ(SmallImages(), m_images.GetSafeHandle());
}

TEST_F(FuncList, WithoutImageListNamesGoInWithoutImages) {
  CImageListEx previous;
  ASSERT_TRUE(previous.CreateEx());
  ::SendMessage(m_hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(previous.GetSafeHandle()));
  m_list.m_pImages = nullptr;
  Fill();
  EXPECT_EQ(SmallImages(), nullptr);  // the earlier list is taken away
  EXPECT_EQ(ItemsOfList(), (Items{{"gamma", I_IMAGENONE}, {"Beta", I_IMAGENONE}, {"Zeta", I_IMAGENONE},
                                   {"Beta", I_IMAGENONE}, {"Alpha", I_IMAGENONE}}));
}

TEST_F(FuncList, ImageListWithoutIdentifiersGivesNoImages) {
  CImageListCommon plain;
  ASSERT_TRUE(plain.CreateCommon());
  m_list.m_pImages = &plain;
  m_user.clear();
  Fill();
  EXPECT_EQ(SmallImages(), plain.GetSafeHandle());
  EXPECT_EQ(ItemsOfList(), (Items{{"Zeta", I_IMAGENONE}, {"Beta", I_IMAGENONE}, {"Alpha", I_IMAGENONE}}));
}

TEST_F(FuncList, NullCataloguesAddNothing) {
  CZoListCtrlToolTipStaticFunc list(nullptr, nullptr, &m_images);
  ASSERT_TRUE(list.Attach(m_hList));
  list.InsertListData();
  list.Detach();
  EXPECT_TRUE(ItemsOfList().empty());
  EXPECT_EQ(SmallImages(), m_images.GetSafeHandle());
}

TEST_F(FuncList, SelectItemFindsIgnoringCaseAndSelectsOnlyIt) {
  Fill();  // gamma, Beta, Zeta, Beta, Alpha
  ASSERT_TRUE(m_list.Attach(m_hList));
  EXPECT_EQ(m_list.SelectItem("zeta", false), 2);
  EXPECT_EQ(StateOf(2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));

  EXPECT_EQ(m_list.SelectItem("BETA", false), 1);  // the first of the two
  EXPECT_EQ(StateOf(1) & LVIS_SELECTED, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(StateOf(2) & LVIS_SELECTED, 0u);
  EXPECT_EQ(static_cast<int>(::SendMessage(m_hList, LVM_GETSELECTEDCOUNT, 0, 0)), 1);

  EXPECT_EQ(m_list.SelectItem("al", true), 4);   // a prefix, with the flag
  EXPECT_EQ(m_list.SelectItem("Alph", false), 0);  // not a whole name: no match
}

TEST_F(FuncList, UnknownNameSelectsTheFirstItem) {
  Fill();
  ASSERT_TRUE(m_list.Attach(m_hList));
  m_list.SelectItem("Alpha", false);
  EXPECT_EQ(m_list.SelectItem("NoSuchFunction", false), 0);
  EXPECT_EQ(StateOf(0), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(StateOf(4) & LVIS_SELECTED, 0u);
}

TEST_F(FuncList, SelectInEmptyListReturnsZeroAndSelectsNothing) {
  ASSERT_TRUE(m_list.Attach(m_hList));
  EXPECT_EQ(m_list.SelectItem("Alpha", false), 0);
  EXPECT_EQ(m_list.GetItemCount(), 0);
  EXPECT_EQ(static_cast<int>(::SendMessage(m_hList, LVM_GETSELECTEDCOUNT, 0, 0)), 0);
}

}  // namespace
