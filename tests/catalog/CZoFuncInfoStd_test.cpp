// The standard catalogue: reading "funcwiz.ini" from the host's "Programs"
// directory, once.
#include "catalog/CZoFuncInfoStd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CScratchDir.h"
#include "CatalogueEntries.h"
#include "obrin/CProjectManagerObject.h"

namespace {

using cataloguetest::Entries;
using cataloguetest::EntriesOf;

const char kExample[] =
    "[FuncWiz - Category - All]\n"
    "1=ShowNote\n"
    "2=Pause\n"
    "\n"
    "[ShowNote]\n"
    "SampleLine=ShowNote(szText, nStyle)\n"
    "\n"
    "[Pause]\n"
    "SampleLine=Pause(nSeconds)\n";

const Entries kExampleEntries = {{"Pause", "Pause(nSeconds)"}, {"ShowNote", "ShowNote(szText, nStyle)"}};

// A host whose "Programs" directory is a fresh temporary directory.
class StdCatalogue : public ::testing::Test {
 protected:
  void SetUp() override { m_manager.GetGlobalData()->pDirLoc->SetLocation("Programs", m_dir.GetPath().c_str()); }

  std::string FilePath() const { return m_dir.PathOf("funcwiz.ini"); }
  void WriteFile(const std::string& strText) const { m_dir.Write("funcwiz.ini", strText); }
  // Writes the example file, which the next Init must read in full.
  void ExpectTheExampleToBeRead() {
    WriteFile(kExample);
    EXPECT_TRUE(m_catalogue.Init(&m_manager));
    EXPECT_EQ(EntriesOf(m_catalogue), kExampleEntries);
  }

  CScratchDir m_dir;
  CProjectManagerObject m_manager;
  CZoFuncInfoStd m_catalogue;
};

TEST_F(StdCatalogue, ExampleFileGivesItsTwoFunctions) {
  ExpectTheExampleToBeRead();
  EXPECT_EQ(m_catalogue.begin()->first, CString("Pause"));  // name order
}

TEST_F(StdCatalogue, FilledCatalogueIsNotReadAgain) {
  WriteFile(kExample);
  ASSERT_TRUE(m_catalogue.Init(&m_manager));
  std::remove(FilePath().c_str());
  EXPECT_TRUE(m_catalogue.Init(&m_manager));
  EXPECT_EQ(EntriesOf(m_catalogue), kExampleEntries);

  // Nor with another manager, even one that knows no directory at all.
  CProjectManagerObject other;
  other.GetGlobalData()->pDirLoc = nullptr;
  EXPECT_TRUE(m_catalogue.Init(&other));
  EXPECT_TRUE(m_catalogue.Init(nullptr));
  EXPECT_EQ(EntriesOf(m_catalogue), kExampleEntries);
}

TEST_F(StdCatalogue, MissingFileFailsUntilItAppears) {
  EXPECT_FALSE(m_catalogue.Init(&m_manager));
  EXPECT_TRUE(m_catalogue.empty());
  ExpectTheExampleToBeRead();
}

TEST_F(StdCatalogue, RejectedFileFailsAndAddsNothing) {
  WriteFile("[FuncWiz - Category - All]\n1=Pause\n[Pause] \nSampleLine=Pause(n)\n");  // blank after "]"
  EXPECT_FALSE(m_catalogue.Init(&m_manager));
  EXPECT_TRUE(m_catalogue.empty());
}

TEST_F(StdCatalogue, MissingListSectionGivesNothingAndIsReadAgain) {
  WriteFile("[Pause]\nSampleLine=Pause(nSeconds)\n");
  EXPECT_TRUE(m_catalogue.Init(&m_manager));
  EXPECT_TRUE(m_catalogue.empty());
  ExpectTheExampleToBeRead();
}

TEST_F(StdCatalogue, NoManagerOrNoLocatorFailsWithoutChange) {
  WriteFile(kExample);
  EXPECT_FALSE(m_catalogue.Init(nullptr));
  m_manager.GetGlobalData()->pDirLoc = nullptr;
  EXPECT_FALSE(m_catalogue.Init(&m_manager));
  EXPECT_TRUE(m_catalogue.empty());
}

TEST_F(StdCatalogue, UnknownProgramsLocationFails) {
  WriteFile(kExample);
  m_manager.GetDirLoc()->RemoveLocation("Programs");
  EXPECT_FALSE(m_catalogue.Init(&m_manager));
  EXPECT_TRUE(m_catalogue.empty());
}

TEST_F(StdCatalogue, FileShapesGiveTheirEntries) {
  struct {
    const char* pszWhat;
    const char* pszFile;
    Entries expected;
  } const cases[] = {
      {"function sections are found ignoring case",
       "[FuncWiz - Category - All]\n1=Foo\n2=bar\n"
       "[FOO]\nDescription=ignored\nSampleLine=Foo(szA, nB)\n"
       "[Bar]\nsampleline=bar()\n",
       {{"Foo", "Foo(szA, nB)"}, {"bar", "bar()"}}},
      {"a missing section or sample line gives an empty text",
       "[FuncWiz - Category - All]\n1=NoSection\n2=NoSample\n3=Pause\n"
       "[NoSample]\nDescription=Has no sample line.\n"
       "[Pause]\nSampleLine=Pause(nSeconds)\n",
       {{"NoSection", ""}, {"NoSample", ""}, {"Pause", "Pause(nSeconds)"}}},
      // Names are kept case-sensitively; both spellings read the same section.
      {"names listed twice",
       "[FuncWiz - Category - All]\n1=Pause\n2=Pause\n3=PAUSE\n"
       "[pause]\nSampleLine=Pause(nSeconds)\n",
       {{"PAUSE", "Pause(nSeconds)"}, {"Pause", "Pause(nSeconds)"}}},
      {"a repeated list key keeps only the last name",
       "[FuncWiz - Category - All]\n1=ShowNote\n1=Pause\n"
       "[ShowNote]\nSampleLine=ShowNote(szText, nStyle)\n"
       "[Pause]\nSampleLine=Pause(nSeconds)\n",
       {{"Pause", "Pause(nSeconds)"}}},
      {"a list line without \"=\" adds an empty name",
       "[FuncWiz - Category - All]\nPause\n2=Pause\n[Pause]\nSampleLine=Pause(nSeconds)\n",
       {{"", ""}, {"Pause", "Pause(nSeconds)"}}},
  };
  for (const auto& c : cases) {
    WriteFile(c.pszFile);
    CZoFuncInfoStd catalogue;  // a filled catalogue is never read again
    EXPECT_TRUE(catalogue.Init(&m_manager)) << c.pszWhat;
    EXPECT_EQ(EntriesOf(catalogue), c.expected) << c.pszWhat;
  }
}

TEST(StdCatalogueSample, BundledFileListsOverAHundredFunctions) {
  CProjectManagerObject manager;
  manager.GetGlobalData()->pDirLoc->SetLocation("Programs", NIMBO_SOURCE_DIR "/samples/Programs");
  CZoFuncInfoStd catalogue;
  ASSERT_TRUE(catalogue.Init(&manager));
  EXPECT_GE(catalogue.size(), 100u);
  // CR LF line ends leave no CR in the texts.
  EXPECT_EQ(catalogue["StrLeft"], CString("StrLeft(szText, nCount)"));
  EXPECT_EQ(catalogue["Pause"], CString("Pause(nSeconds)"));
  for (const auto& entry : catalogue) {
    EXPECT_FALSE(entry.second.IsEmpty()) << entry.first.Str();
    EXPECT_EQ(entry.second.Find('\r'), -1) << entry.first.Str();
    EXPECT_EQ(entry.second.Left(entry.first.GetLength() + 1), entry.first + "(") << entry.first.Str();
  }
}

}  // namespace
