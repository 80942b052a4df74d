// The shared catalogues: empty after the load, then one standard catalogue
// read once and one user catalogue rebuilt by every controller's Init.
#include "module/SharedCatalogs.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "CListCtrl.h"
#include "assist/CZoPromptorCtrl.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CImageListEx.h"

namespace {

std::vector<std::string> ItemsOf(HWND hList) {
  CListCtrl list;
  list.Attach(hList);
  std::vector<std::string> items;
  for (int nItem = 0; nItem < list.GetItemCount(); ++nItem) items.push_back(list.GetItemText(nItem, 0).Str());
  list.Detach();
  return items;
}

HWND NewListView() {
  return CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 100, 100, nullptr,
                        nullptr, nullptr, nullptr);
}

std::string NewDirectory() {
  char szTemplate[] = "/tmp/nimbo-shared-XXXXXX";
  return mkdtemp(szTemplate) != nullptr ? std::string(szTemplate) : std::string();
}

// One test, since the catalogues live as long as the process: their state
// at the start is only known before any other test has run.
TEST(SharedCatalogs, EmptyAtLoadThenSharedByEveryController) {
  EXPECT_TRUE(g_FuncInfoStd.empty());
  EXPECT_TRUE(g_FuncInfoUser.empty());
  HWND hList = NewListView();
  ASSERT_NE(hList, nullptr);
  {
    // Before any Init: nothing to list, and no image list to give.
    CZoPromptorCtrl promptor;
    promptor.InitFunctionList(hList);
    EXPECT_TRUE(ItemsOf(hList).empty());
    EXPECT_EQ(::SendMessage(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
  }

  std::string strPrograms = NewDirectory(), strFirst = NewDirectory(), strSecond = NewDirectory();
  ASSERT_FALSE(strPrograms.empty() || strFirst.empty() || strSecond.empty());
  std::ofstream(strPrograms + "/funcwiz.ini") << "[FuncWiz - Category - All]\n1=Pause\n[Pause]\nSampleLine=Pause(n)\n";
  std::ofstream(strFirst + "/a.nsc") << "function First(a) {\n}\n";
  std::ofstream(strSecond + "/b.nsc") << "function Second(b) {\n}\n";
  CProjectManagerObject first, second;
  first.GetDirLoc()->SetLocation("Programs", strPrograms.c_str());
  second.GetDirLoc()->SetLocation("Programs", strPrograms.c_str());
  ASSERT_TRUE(first.OpenProject(strFirst.c_str()));
  ASSERT_TRUE(second.OpenProject(strSecond.c_str()));
  CImageListEx images;
  ASSERT_TRUE(images.CreateEx());

  CZoPromptorCtrl promptorA, promptorB;
  promptorA.Init(nullptr, &first, &images);
  std::remove((strPrograms + "/funcwiz.ini").c_str());  // read once: not needed again
  promptorB.Init(nullptr, &second, &images);
  EXPECT_EQ(g_FuncInfoStd.size(), 1u);
  EXPECT_EQ(g_FuncInfoUser.size(), 1u);
  EXPECT_EQ(g_FuncInfoUser.count("Second"), 1u);  // rebuilt by the later Init

  // Both controllers list the same shared catalogues.
  promptorA.InitFunctionList(hList);
  EXPECT_EQ(ItemsOf(hList), (std::vector<std::string>{"Second", "Pause"}));
  ::SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
  promptorB.InitFunctionList(hList);
  EXPECT_EQ(ItemsOf(hList), (std::vector<std::string>{"Second", "Pause"}));

  DestroyWindow(hList);
  std::system(("rm -rf '" + strPrograms + "' '" + strFirst + "' '" + strSecond + "'").c_str());
}

}  // namespace
