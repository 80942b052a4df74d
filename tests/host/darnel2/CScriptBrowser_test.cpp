// Tests of the script browser, the project manager and the directory locator.
#include "darnel2/CScriptBrowser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "darnel2/CDirLoc.h"
#include "CScratchDir.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CPathEx.h"

namespace {

std::vector<std::string> NamesOf(CScriptBrowser& browser) {
  std::vector<std::string> names;
  CScriptBrowser::CFunctionMap& map = browser.GetFunctionMap();
  for (auto it = map.begin(); it != map.end(); it = browser.GetNext(it)) names.push_back(it->first.Str());
  return names;
}

TEST(ScriptBrowser, ListsTheDirectorysScriptFilesInNameOrder) {
  CScratchDir dir;
  dir.Write("money.nsc", "");
  dir.Write("Zeta.nsc", "");
  dir.Write("alpha.NSC", "");
  dir.Write("notes.txt", "");
  dir.Write(".nsc", "");
  dir.Write("old.nsc.bak", "");
  dir.MakeDir("folder.nsc");
  dir.MakeDir("sub");
  dir.Write("sub/inner.nsc", "");

  CScriptBrowser browser;
  ASSERT_TRUE(browser.BrowseDirectory(dir.GetPath().c_str()));
  EXPECT_EQ(NamesOf(browser), (std::vector<std::string>{"Zeta", "alpha", "money"}));
  const CScriptFunctionInfo& info = browser.GetFunctionMap().at("alpha");
  EXPECT_EQ(info.m_strScriptPath, CString(CPathEx(dir.GetPath().c_str()) ^ "alpha.NSC"));
  EXPECT_EQ(info.m_strFileName, CString("alpha.NSC"));
}

TEST(ScriptBrowser, UnreadableDirectoryEmptiesTheMap) {
  CScratchDir dir;
  CScriptBrowser browser;
  browser.AddScript("left", "/nowhere/left.nsc");
  EXPECT_FALSE(browser.BrowseDirectory(dir.PathOf("missing").c_str()));
  EXPECT_TRUE(browser.GetFunctionMap().empty());
}

TEST(ScriptBrowser, GetNextStepsOneElementAndStaysAtTheEnd) {
  CScriptBrowser browser;
  EXPECT_TRUE(browser.AddScript("b", "/p/b.nsc"));
  EXPECT_TRUE(browser.AddScript("a", "/p/a.nsc"));
  EXPECT_FALSE(browser.AddScript("a", "/p/other.nsc"));
  EXPECT_EQ(browser.GetFunctionMap().at("a").m_strScriptPath, CString("/p/a.nsc"));
  EXPECT_EQ(browser.GetFunctionMap().at("b").m_strFileName, CString("b.nsc"));

  auto it = browser.GetFunctionMap().begin();
  auto next = browser.GetNext(it);
  EXPECT_EQ(next->first, CString("b"));
  EXPECT_EQ(it, next);
  EXPECT_EQ(browser.GetNext(it), browser.GetFunctionMap().end());
  EXPECT_EQ(browser.GetNext(it), browser.GetFunctionMap().end());
}

TEST(ProjectManager, BrowserIsThereOnlyWhileAProjectIsOpen) {
  CScratchDir dir;
  dir.Write("one.nsc", "");
  CProjectManagerObject manager;
  EXPECT_EQ(manager.GetScriptBrowser(), nullptr);

  ASSERT_TRUE(manager.OpenProject(dir.GetPath().c_str()));
  ASSERT_NE(manager.GetScriptBrowser(), nullptr);
  EXPECT_EQ(manager.GetScriptBrowser(), manager.m_pProject->m_pScriptBrowser.get());
  EXPECT_EQ(NamesOf(*manager.GetScriptBrowser()), std::vector<std::string>{"one"});

  // A directory that cannot be read leaves the open project as it was.
  CScriptBrowser* pBefore = manager.GetScriptBrowser();
  EXPECT_FALSE(manager.OpenProject(dir.PathOf("missing").c_str()));
  EXPECT_EQ(manager.GetScriptBrowser(), pBefore);
  EXPECT_EQ(manager.GetProject()->GetDirectory(), CString(dir.GetPath().c_str()));

  manager.CloseProject();
  EXPECT_EQ(manager.GetScriptBrowser(), nullptr);
}

TEST(ProjectManager, GlobalDataPointsToTheManagersLocator) {
  CProjectManagerObject manager("Test host");
  TAG_GLOBAL_DATA* pData = manager.GetGlobalData();
  EXPECT_EQ(pData->strAppName, CString("Test host"));
  ASSERT_EQ(pData->pDirLoc, manager.GetDirLoc());
  pData->pDirLoc->SetLocation("Programs", "/opt/host/programs");
  EXPECT_EQ(CString(manager.GetDirLoc()->Lookup("Programs", 0, false, nullptr, 0)), CString("/opt/host/programs"));
}

TEST(DirLoc, LooksUpConfiguredLocationsIgnoringCase) {
  CDirLoc locator;
  EXPECT_TRUE(locator.Lookup("Programs", 0, false, nullptr, 0).IsEmpty());
  locator.SetLocation("Programs", "/a");
  locator.SetLocation("PROGRAMS", "/b");  // the same location
  EXPECT_EQ(locator.Lookup("programs", 0, false, nullptr, 0).GetPath(), CString("/b"));
  EXPECT_TRUE(locator.Lookup("Program", 0, false, nullptr, 0).IsEmpty());
  EXPECT_TRUE(locator.RemoveLocation("Programs"));
  EXPECT_FALSE(locator.RemoveLocation("Programs"));
  EXPECT_TRUE(locator.Lookup("Programs", 0, false, nullptr, 0).IsEmpty());
}

TEST(PathEx, JoinsWithOneSeparator) {
  const CString sep(CPathEx::kSeparator, 1);  // a backslash on Windows, where "/" also counts as one
  EXPECT_EQ(CString(CPathEx("/opt/p") ^ "funcwiz.ini"), "/opt/p" + sep + "funcwiz.ini");
  EXPECT_EQ(CString(CPathEx("/opt/p/") ^ "funcwiz.ini"), CString("/opt/p/funcwiz.ini"));
  EXPECT_EQ(CString(CPathEx("/opt/p/") ^ "//funcwiz.ini"), CString("/opt/p/funcwiz.ini"));
  EXPECT_EQ(CString(CPathEx("/") ^ "etc"), CString("/etc"));
  EXPECT_EQ(CString((CPathEx("a") ^ "b") ^ "c"), "a" + sep + "b" + sep + "c");
  EXPECT_EQ(CString(CPathEx("a") ^ ""), CString("a"));
  EXPECT_EQ(CString(CPathEx("a") ^ nullptr), CString("a"));
}

TEST(PathEx, EmptyPathStaysEmpty) {
  EXPECT_TRUE((CPathEx() ^ "funcwiz.ini").IsEmpty());
  EXPECT_STREQ(static_cast<LPCTSTR>(CPathEx() ^ "funcwiz.ini"), "");
}

}  // namespace
