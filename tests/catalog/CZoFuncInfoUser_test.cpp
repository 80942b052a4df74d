// Tests of the user catalogue: which token sequences of a script make an
// entry, how the project's files are visited, rebuilding, the wait cursor.
#include "catalog/CZoFuncInfoUser.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>

#include "AfxModuleState.h"
#include "CWinApp.h"
#include "darnel2/CCodeFileStream.h"
#include "darnel2/CCodeStringStream.h"
#include "darnel2/CScriptBrowser.h"
#include "darnel2/CTokenizer.h"
#include "CScratchDir.h"
#include "CatalogueEntries.h"
#include "obrin/CProjectManagerObject.h"

namespace {

typedef cataloguetest::Entries CEntries;
using cataloguetest::EntriesOf;

// A project directory with its manager and a user catalogue to fill.
class CUserCatalogTest : public ::testing::Test {
 protected:
  void Write(const std::string& strName, const std::string& strText) { m_dir.Write(strName, strText); }

  // Opens the directory as the project and rebuilds the catalogue from it.
  CEntries Scan() {
    EXPECT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));
    EXPECT_TRUE(m_catalog.Init(&m_manager));
    return EntriesOf(m_catalog);
  }

  // The catalogue of a project made of this one script.
  CEntries ScanScript(const std::string& strScript) {
    Write("script.nsc", strScript);
    return Scan();
  }

  CScratchDir m_dir;
  CProjectManagerObject m_manager;
  CZoFuncInfoUser m_catalog;
};

TEST_F(CUserCatalogTest, DefinitionGivesNameAndParameterList) {
  EXPECT_EQ(ScanScript("function Sum(nFirst, nSecond) {\n  return nFirst + nSecond;\n}\n"),
            (CEntries{{"Sum", "Sum(nFirst, nSecond)"}}));
}

TEST_F(CUserCatalogTest, DefinitionWithoutParameters) {
  EXPECT_EQ(ScanScript("function Sum() { return 0; }"), (CEntries{{"Sum", "Sum()"}}));
}

TEST_F(CUserCatalogTest, ResultTypeBeforeTheNameIsDropped) {
  EXPECT_EQ(ScanScript("function number Sum(n) { return n; }"), (CEntries{{"Sum", "Sum(n)"}}));
}

TEST_F(CUserCatalogTest, DeclarationBeforeTheDefinitionIsRejected) {
  EXPECT_EQ(ScanScript("declare Sum(a);\nfunction Sum(x) { return x; }\n"), (CEntries{{"Sum", "Sum(x)"}}));
}

TEST_F(CUserCatalogTest, HeaderWithoutParenthesisIsAbandoned) {
  EXPECT_EQ(ScanScript("function Sum x = 3;\nvar y = Sum(x);\n{ }\nfunction Other(y) { }\n"),
            (CEntries{{"Other", "Other(y)"}}));
}

TEST_F(CUserCatalogTest, HeaderCutOffByTheEndIsNotCatalogued) {
  EXPECT_EQ(ScanScript("function Good() { }\nfunction Sum(a, b"), (CEntries{{"Good", "Good()"}}));
  EXPECT_EQ(ScanScript("function Sum(a, b) "), CEntries{});
  EXPECT_EQ(ScanScript("declare Tail(a);"), CEntries{});
  EXPECT_EQ(ScanScript("function"), CEntries{});
  EXPECT_EQ(ScanScript(""), CEntries{});
}

TEST_F(CUserCatalogTest, CommentsAndStringsDefineNothing) {
  EXPECT_EQ(ScanScript("// function Fake(a) { }\n"
                       "/* function Fake2(b) { } */\n"
                       "function Real(s) {\n"
                       "  Print(\"function Fake3(c) { (\");\n"
                       "  Print('declare Fake4(d) {');\n"
                       "}\n"),
            (CEntries{{"Real", "Real(s)"}}));
}

TEST_F(CUserCatalogTest, ParameterListTakesOnlyNames) {
  EXPECT_EQ(ScanScript("function F(a, [b, 3, \"s\", var c) { }"), (CEntries{{"F", "F(a, b, c)"}}));
  // A nested "(" is passed over; the first ")" closes the list.
  EXPECT_EQ(ScanScript("function G(a, (b), c) { }"), (CEntries{{"G", "G(a, b)"}}));
}

TEST_F(CUserCatalogTest, SeveralDefinitionsOfOneScript) {
  EXPECT_EQ(ScanScript("declare B(x);\n"
                       "var g = 1;\n"
                       "function A(p) { if (p) { return B(p); } return 0; }\n"
                       "function B(q, r) { while (q) { q -= 1; } }\n"
                       "function A(other) { }\n"),
            (CEntries{{"A", "A(p)"}, {"B", "B(q, r)"}}));
}

TEST_F(CUserCatalogTest, TokenTextsLongerThan200BytesAreCut) {
  const std::string strName(300, 'N');
  const std::string strParam = "p" + std::string(299, 'q');
  CEntries entries = ScanScript("function " + strName + "(" + strParam + ", b) { }");
  const std::string strCutName = strName.substr(0, 200);
  EXPECT_EQ(entries, (CEntries{{strCutName, strCutName + "(" + strParam.substr(0, 200) + ", b)"}}));
}

TEST_F(CUserCatalogTest, FunctionInTwoFilesKeepsTheTextOfTheFileVisitedFirst) {
  // The browser orders by name: "Beta" comes before "alpha".
  Write("alpha.nsc", "function Sum(a) { }\nfunction OnlyAlpha() { }\n");
  Write("Beta.nsc", "function Sum(b) { }\n");
  EXPECT_EQ(Scan(), (CEntries{{"OnlyAlpha", "OnlyAlpha()"}, {"Sum", "Sum(b)"}}));
}

TEST_F(CUserCatalogTest, RebuildForgetsDeletedFunctions) {
  Write("a.nsc", "function Keep() { }\nfunction Gone(x) { }\n");
  Write("b.nsc", "function Other() { }\n");
  EXPECT_EQ(Scan().size(), 3u);

  Write("a.nsc", "function Keep(nNew) { }\n");
  m_dir.Remove("b.nsc");
  EXPECT_TRUE(m_catalog.Init(&m_manager));  // the browser still names b.nsc: it is skipped
  EXPECT_EQ(EntriesOf(m_catalog), (CEntries{{"Keep", "Keep(nNew)"}}));
}

TEST_F(CUserCatalogTest, MissingAndUnopenableScriptsAreSkipped) {
  Write("a.nsc", "function A() { }\n");
  Write("c.nsc", "function C() { }\n");
  ASSERT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));
  CScriptBrowser* pBrowser = m_manager.GetScriptBrowser();
  pBrowser->AddScript("b", m_dir.PathOf("missing.nsc").c_str());
  pBrowser->AddScript("b2", m_dir.GetPath().c_str());  // a directory
  pBrowser->AddScript("b3", "");
  EXPECT_TRUE(m_catalog.Init(&m_manager));
  EXPECT_EQ(EntriesOf(m_catalog), (CEntries{{"A", "A()"}, {"C", "C()"}}));
}

TEST_F(CUserCatalogTest, ScriptNamedTwiceIsScannedForEachElement) {
  Write("a.nsc", "function A(x) { }\n");
  ASSERT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));
  m_manager.GetScriptBrowser()->AddScript("again", m_dir.PathOf("a.nsc").c_str());
  EXPECT_TRUE(m_catalog.Init(&m_manager));
  EXPECT_EQ(EntriesOf(m_catalog), (CEntries{{"A", "A(x)"}}));
}

TEST_F(CUserCatalogTest, NoManagerOrNoProjectGivesAnEmptyCatalogue) {
  m_catalog.insert({"Stale", "Stale()"});
  EXPECT_TRUE(m_catalog.Init(nullptr));
  EXPECT_TRUE(m_catalog.empty());

  m_catalog.insert({"Stale", "Stale()"});
  EXPECT_TRUE(m_catalog.Init(&m_manager));  // no project open
  EXPECT_TRUE(m_catalog.empty());

  ASSERT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));  // a project without scripts
  m_catalog.insert({"Stale", "Stale()"});
  EXPECT_TRUE(m_catalog.Init(&m_manager));
  EXPECT_TRUE(m_catalog.empty());
}

// Counts of the application's wait cursor before a call, to compare after.
struct CWaitCursorCounts {
  CWaitCursorCounts()
      : nDepth(AfxGetApp()->m_nWaitCursorCount),
        nBegins(AfxGetApp()->m_nWaitCursorBegins),
        nEnds(AfxGetApp()->m_nWaitCursorEnds) {}
  int nDepth, nBegins, nEnds;
};

TEST_F(CUserCatalogTest, WaitCursorIsShownOnceAndRestored) {
  Write("a.nsc", "function A() { }\n");
  ASSERT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));
  for (CProjectManagerObject* pManager : {&m_manager, static_cast<CProjectManagerObject*>(nullptr)}) {
    CWaitCursorCounts before;
    EXPECT_TRUE(m_catalog.Init(pManager));
    EXPECT_EQ(AfxGetApp()->m_nWaitCursorBegins, before.nBegins + 1);
    EXPECT_EQ(AfxGetApp()->m_nWaitCursorEnds, before.nEnds + 1);
    EXPECT_EQ(AfxGetApp()->m_nWaitCursorCount, before.nDepth);
  }
}

void FailOnBrokenScript(const CString& strPath) {
  if (strPath.Find("broken") >= 0) throw std::runtime_error("read error");
}

TEST_F(CUserCatalogTest, WaitCursorIsRestoredWhenReadingThrows) {
  Write("a.nsc", "function A() { }\n");
  Write("broken.nsc", "function B() { }\n");
  Write("c.nsc", "function C() { }\n");
  ASSERT_TRUE(m_manager.OpenProject(m_dir.GetPath().c_str()));

  CWaitCursorCounts before;
  CCodeFileStream::SetReadHook(FailOnBrokenScript);
  EXPECT_THROW(m_catalog.Init(&m_manager), std::runtime_error);
  CCodeFileStream::SetReadHook(nullptr);  // nothing above can leave the test early
  EXPECT_EQ(AfxGetApp()->m_nWaitCursorCount, before.nDepth);
  EXPECT_EQ(AfxGetApp()->m_nWaitCursorBegins, before.nBegins + 1);
  EXPECT_EQ(AfxGetApp()->m_nWaitCursorEnds, before.nEnds + 1);
  EXPECT_EQ(EntriesOf(m_catalog), (CEntries{{"A", "A()"}}));  // the files before the failure

  EXPECT_TRUE(m_catalog.Init(&m_manager));
  EXPECT_EQ(EntriesOf(m_catalog), (CEntries{{"A", "A()"}, {"B", "B()"}, {"C", "C()"}}));
}

// Gives the tests the scan of one definition.
class CExposedUserCatalog : public CZoFuncInfoUser {
 public:
  using CZoFuncInfoUser::GetNextFunction;
};

TEST(UserCatalogScan, EachCallCataloguesOneDefinitionAndStopsAtItsBody) {
  CCodeStringStream stream("function A(x) { B(1); }\ndeclare C(y);\nfunction D() { }\nfunction E(");
  CTokenizer tokenizer(&stream, false);
  CExposedUserCatalog catalog;
  ASSERT_TRUE(catalog.GetNextFunction(tokenizer));
  EXPECT_EQ(tokenizer.GetToken(), tkBraceOpen);
  EXPECT_EQ(EntriesOf(catalog), (CEntries{{"A", "A(x)"}}));
  ASSERT_TRUE(catalog.GetNextFunction(tokenizer));
  EXPECT_EQ(EntriesOf(catalog), (CEntries{{"A", "A(x)"}, {"D", "D()"}}));
  EXPECT_FALSE(catalog.GetNextFunction(tokenizer));
  EXPECT_FALSE(catalog.GetNextFunction(tokenizer));
  EXPECT_EQ(catalog.size(), 2u);
}

TEST(UserCatalogScan, BundledSampleProject) {
  CProjectManagerObject manager;
  ASSERT_TRUE(manager.OpenProject(NIMBO_SOURCE_DIR "/samples/project"));
  CZoFuncInfoUser catalog;
  EXPECT_TRUE(catalog.Init(&manager));
  EXPECT_EQ(EntriesOf(catalog), (CEntries{{"AddOrder", "AddOrder(aOrders, strCustomer, nCents)"},
                                          {"AddTax", "AddTax(nCents, nRatePercent)"},
                                          {"AskYesNo", "AskYesNo(strQuestion, bDefault)"},
                                          {"CloseOrder", "CloseOrder(aOrders, nId)"},
                                          {"CountOpenOrders", "CountOpenOrders(aOrders)"},
                                          {"FindOrder", "FindOrder(aOrders, nId)"},
                                          {"FormatMoney", "FormatMoney(nCents)"},
                                          {"LoadOrders", "LoadOrders(strFile)"},
                                          {"Main", "Main()"},
                                          {"ParseMoney", "ParseMoney(strText)"},
                                          {"RoundCents", "RoundCents(nValue)"},
                                          {"ShowBanner", "ShowBanner(strTitle)"},
                                          {"TotalDue", "TotalDue(aOrders)"}}));
}

}  // namespace
