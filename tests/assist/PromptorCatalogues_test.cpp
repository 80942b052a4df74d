// Tests of what Init does with the catalogues (the function-wizard file and
// the project's scripts) and of filling a host's list view.
#include "assist/CZoPromptorCtrl.h"

#include <gtest/gtest.h>

#include "CListCtrl.h"
#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "harness/CEditorHarness.h"
#include "module/SharedCatalogs.h"

namespace {

class PromptorCatalogues : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimDesktop::Reset();
    g_FuncInfoStd.clear();
    g_FuncInfoUser.clear();
    CHarnessOptions options;
    options.strProgramsDir = CString(NIMBO_SOURCE_DIR) + "/samples/Programs";
    options.strProjectDir = CString(NIMBO_SOURCE_DIR) + "/samples/project";
    m_pHarness = std::make_unique<CEditorHarness>(options);
    ASSERT_TRUE(m_pHarness->IsReady());
  }
  void TearDown() override {
    m_pHarness.reset();
    CSimDesktop::Reset();
    g_FuncInfoStd.clear();
    g_FuncInfoUser.clear();
  }

  HWND CreateListView() {
    return CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 200,
                          300, m_pHarness->GetFrame()->GetSafeHwnd(), nullptr, nullptr, nullptr);
  }

  std::unique_ptr<CEditorHarness> m_pHarness;
};

TEST_F(PromptorCatalogues, InitReadsTheWizardFileAndTheProjectScripts) {
  ASSERT_FALSE(g_FuncInfoStd.empty());
  ASSERT_FALSE(g_FuncInfoUser.empty());
  EXPECT_EQ(g_FuncInfoStd.count("Print"), 1u);
  EXPECT_EQ(g_FuncInfoUser.count("LoadOrders"), 1u);
  m_pHarness->TypeText("Print(");
  ASSERT_TRUE(m_pHarness->IsTipOpen());
  EXPECT_EQ(m_pHarness->GetTip()->GetText(), " Print(strText)");
  m_pHarness->TypeText("1);\nx = LoadOrders(");
  ASSERT_TRUE(m_pHarness->IsTipOpen());
  EXPECT_EQ(m_pHarness->GetTip()->GetText(), CString(" ") + g_FuncInfoUser["LoadOrders"]);
}

TEST_F(PromptorCatalogues, ListViewIsFilledAndLeftToTheHost) {
  HWND hList = CreateListView();
  ASSERT_NE(hList, nullptr);
  m_pHarness->Controller()->InitFunctionList(hList);
  const LRESULT nCount = SendMessage(hList, LVM_GETITEMCOUNT, 0, 0);
  EXPECT_EQ(static_cast<size_t>(nCount), g_FuncInfoStd.size() + g_FuncInfoUser.size());
  EXPECT_EQ(CWnd::FromHandlePermanent(hList), nullptr);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessage(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
            m_pHarness->GetImages().GetSafeHandle());
  // Each insertion goes to the top: the last user function comes first.
  CListCtrl view;
  ASSERT_TRUE(view.Attach(hList));
  EXPECT_EQ(view.GetItemText(0, 0), g_FuncInfoUser.rbegin()->first);
  EXPECT_EQ(view.GetItemText(static_cast<int>(nCount) - 1, 0), g_FuncInfoStd.begin()->first);
  view.Detach();
  DestroyWindow(hList);
}

TEST_F(PromptorCatalogues, ListViewHeldByTheHostsOwnObjectIsFilledToo) {
  CListCtrl hostList;
  ASSERT_TRUE(hostList.Attach(CreateListView()));
  m_pHarness->Controller()->InitFunctionList(hostList.GetSafeHwnd());
  EXPECT_EQ(static_cast<size_t>(hostList.GetItemCount()), g_FuncInfoStd.size() + g_FuncInfoUser.size());
  EXPECT_EQ(CWnd::FromHandlePermanent(hostList.GetSafeHwnd()), &hostList);
  hostList.DestroyWindow();
}

TEST_F(PromptorCatalogues, EveryInitRebuildsTheUserCatalogue) {
  g_FuncInfoUser.clear();
  g_FuncInfoUser.insert({"Stale", "Stale()"});
  g_FuncInfoStd.insert({"Extra", "Extra()"});  // the standard catalogue is not re-read
  m_pHarness->AttachController(m_pHarness->GetEditor());
  EXPECT_EQ(g_FuncInfoUser.count("Stale"), 0u);
  EXPECT_EQ(g_FuncInfoUser.count("LoadOrders"), 1u);
  EXPECT_EQ(g_FuncInfoStd.count("Extra"), 1u);
}

}  // namespace
