// Tests of key lists, renaming and removal at document level: what is
// created, what is returned, the order afterwards and the modified flag.
#include "ini/CIniFile.h"

#include <gtest/gtest.h>

#include "IniTestUtil.h"

namespace {

using initest::CScratchDir;
using initest::Dump;
using initest::ReadFile;

// Sections Alpha (a=1, b=2), Beta (c=3), Gamma (d=4); not modified.
void Fill(CIniFile& ini) {
  ini.SetString("Alpha", "a", "1");
  ini.SetString("Alpha", "b", "2");
  ini.SetString("Beta", "c", "3");
  ini.SetString("Gamma", "d", "4");
  ini.SetModified(false);
}

TEST(IniKeys, GetKeysOfAMissingSectionCreatesIt) {
  CScratchDir dir;
  CIniFile ini;
  Fill(ini);
  CStringList list;
  ini.GetKeys("New", list);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_TRUE(ini.SectionExists("new"));
  EXPECT_STREQ(ini.GetAt(3).first, "New");
  EXPECT_FALSE(ini.IsModified());
  ASSERT_TRUE(ini.SaveAs((dir / "k.ini").c_str()));
  const std::string strText = ReadFile(dir / "k.ini");
  EXPECT_EQ(strText.substr(strText.size() - 9), "[New]\r\n\r\n");
}

TEST(IniKeys, GetKeysAppendsInStoredOrderAndCase) {
  CIniFile ini;
  Fill(ini);
  CStringList list;
  ini.GetKeys("ALPHA", list);
  ini.GetKeys("alpha", list);
  ASSERT_EQ(list.GetCount(), 4);
  POSITION pos = list.GetHeadPosition();
  std::string strKeys;
  while (pos != nullptr) strKeys += std::string(list.GetNext(pos)) + ";";
  EXPECT_EQ(strKeys, "a;b;a;b;");

  CStringArray array;
  array.Add("x");
  array.Add("y");
  array.Add("z");
  ini.GetKeys("Alpha", array);
  ASSERT_EQ(array.GetSize(), 5);
  EXPECT_STREQ(array.GetAt(3), "a");
  EXPECT_STREQ(array.GetAt(4), "b");
  EXPECT_STREQ(array.GetAt(0), "x");
}

TEST(IniKeys, RemoveSectionRenumbers) {
  CIniFile ini;
  Fill(ini);
  EXPECT_TRUE(ini.RemoveSection("BETA"));
  EXPECT_FALSE(ini.IsModified());
  EXPECT_STREQ(ini.GetAt(0).first, "Alpha");
  EXPECT_STREQ(ini.GetAt(1).first, "Gamma");
  EXPECT_STREQ(ini.GetString("Gamma", "d", ""), "4");
  ini.SetString("Delta", "e", "5");
  EXPECT_STREQ(ini.GetAt(2).first, "Delta");
  EXPECT_EQ(ini.Find("delta"), &ini.GetAt(2));
  EXPECT_EQ(ini.Find("gamma"), &ini.GetAt(1));
  EXPECT_FALSE(ini.RemoveSection("Beta"));
}

TEST(IniKeys, RemoveKeyRules) {
  CIniFile ini;
  Fill(ini);
  EXPECT_FALSE(ini.RemoveKey("Missing", "a"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_FALSE(ini.RemoveKey("Alpha", "zz"));
  EXPECT_TRUE(ini.RemoveKey("alpha", "A"));
  EXPECT_EQ(ini.Find("Alpha")->second.GetAt(0).first, CString("b"));
  EXPECT_TRUE(ini.RemoveKey("Beta", "c"));
  EXPECT_TRUE(ini.SectionExists("Beta"));
  EXPECT_EQ(ini.Find("Beta")->second.GetCount(), 0);
  EXPECT_STREQ(ini.GetAt(1).first, "Beta");
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniKeys, RenameSectionRules) {
  CIniFile ini;
  EXPECT_TRUE(ini.RenameSection("Colors", "COLORS"));  // equal names, no such section
  EXPECT_EQ(ini.GetCount(), 0);
  Fill(ini);
  EXPECT_TRUE(ini.RenameSection("alpha", "ALPHA"));
  EXPECT_STREQ(ini.GetAt(0).first, "Alpha");
  const std::string strBefore = Dump(ini);
  EXPECT_FALSE(ini.RenameSection("Alpha", "beta"));  // taken: both sections stay as they were
  EXPECT_FALSE(ini.RenameSection("Nope", "Other"));
  EXPECT_EQ(Dump(ini), strBefore);
  EXPECT_TRUE(ini.RenameSection("beta", "Zeta"));
  EXPECT_STREQ(ini.GetAt(1).first, "Zeta");
  EXPECT_STREQ(ini.GetString("zeta", "c", ""), "3");
  EXPECT_FALSE(ini.SectionExists("Beta"));
  EXPECT_TRUE(ini.RenameSection("Zeta", "Beta"));
  EXPECT_EQ(Dump(ini), strBefore);
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniKeys, RenameKeyRules) {
  CIniFile ini;
  Fill(ini);
  EXPECT_FALSE(ini.RenameKey("Missing", "a", "a"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.RenameKey("Alpha", "a", "A"));
  EXPECT_FALSE(ini.RenameKey("Alpha", "a", "B"));
  EXPECT_FALSE(ini.RenameKey("Alpha", "x", "y"));
  EXPECT_TRUE(ini.RenameKey("ALPHA", "a", "first"));
  EXPECT_EQ(Dump(ini), "[\"Alpha\"]\n  \"first\" = \"1\"\n  \"b\" = \"2\"\n[\"Beta\"]\n  \"c\" = \"3\"\n"
                       "[\"Gamma\"]\n  \"d\" = \"4\"\n");
  EXPECT_FALSE(ini.KeyExists("Alpha", "a"));
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniKeys, RemoveAllKeysKeepsTheSection) {
  CScratchDir dir;
  CIniFile ini;
  Fill(ini);
  EXPECT_FALSE(ini.RemoveAllKeys("Missing"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.RemoveAllKeys("alpha"));
  EXPECT_TRUE(ini.SectionExists("Alpha"));
  EXPECT_FALSE(ini.KeyExists("Alpha", "a"));
  EXPECT_FALSE(ini.KeyExists("Alpha", "b"));
  EXPECT_FALSE(ini.IsModified());
  ASSERT_TRUE(ini.SaveAs((dir / "r.ini").c_str()));
  EXPECT_EQ(ReadFile(dir / "r.ini"), "[Alpha]\r\n\r\n[Beta]\r\nc=3\r\n\r\n[Gamma]\r\nd=4\r\n\r\n");
}

}  // namespace
