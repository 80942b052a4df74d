// Tests of typed values: defaults only for missing keys, the number and flag
// readings, what the setters create and the modified flag.
#include "ini/CIniFile.h"

#include <gtest/gtest.h>

#include <climits>

#include "IniTestUtil.h"

namespace {

using initest::Dump;

TEST(IniValues, DefaultsOnlyForMissingKeys) {
  CIniFile ini;
  ini.SetString("Win", "Empty", "");
  ini.SetString("Win", "Word", "wide");
  EXPECT_EQ(ini.GetInt("Win", "Width", 5), 5);
  EXPECT_EQ(ini.GetInt("Win", "Word", 5), 0);
  EXPECT_EQ(ini.GetInt("Win", "Empty", 5), 0);
  EXPECT_STREQ(ini.GetString("Win", "Empty", "dflt"), "");
  EXPECT_STREQ(ini.GetString("Win", "Missing", "dflt"), "dflt");
  EXPECT_TRUE(ini.GetBool("Win", "Missing", true));
  EXPECT_FALSE(ini.GetBool("Win", "Empty", true));
  EXPECT_FALSE(ini.GetBool("Nowhere", "Word", false));
}

TEST(IniValues, NumbersReadAsAtoi) {
  CIniFile ini;
  const struct {
    const char* pszText;
    int nExpected;
  } cases[] = {
      {"12abc", 12},       {"  -7", -7},        {"+8", 8},           {"abc", 0},
      {"", 0},             {"\t 42 ", 42},      {"- 3", 0},          {"0x1F", 0},
      {"007", 7},          {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
      {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
      {"99999999999999999999999", INT_MAX}, {"-99999999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) {
    ini.SetString("N", "k", c.pszText);
    EXPECT_EQ(ini.GetInt("N", "k", 1234), c.nExpected) << c.pszText;
  }
}

TEST(IniValues, FlagTexts) {
  CIniFile ini;
  for (const char* pszTrue : {"Yes", "yes", "YES", "1", "True", "true", "TRUE"}) {
    ini.SetString("F", "k", pszTrue);
    EXPECT_TRUE(ini.GetBool("F", "k", false)) << pszTrue;
  }
  for (const char* pszFalse : {"No", "0", "False", "On", "y", " 1", "1 ", "", "Yess"}) {
    ini.SetString("F", "k", pszFalse);
    EXPECT_FALSE(ini.GetBool("F", "k", true)) << pszFalse;
  }
}

TEST(IniValues, SettersWriteTheirTexts) {
  CIniFile ini;
  ini.SetInt("S", "neg", -5);
  ini.SetInt("S", "zero", 0);
  ini.SetInt("S", "min", INT_MIN);
  ini.SetBool("S", "t", true);
  ini.SetBool("S", "f", false);
  ini.SetString("S", "cut", CString("ab\0cd", 5));
  EXPECT_STREQ(ini.GetString("S", "neg", ""), "-5");
  EXPECT_EQ(ini.GetInt("S", "neg", 9), -5);
  EXPECT_STREQ(ini.GetString("S", "zero", ""), "0");
  EXPECT_EQ(ini.GetInt("S", "min", 0), INT_MIN);
  EXPECT_STREQ(ini.GetString("S", "t", ""), "Yes");
  EXPECT_STREQ(ini.GetString("S", "f", ""), "No");
  EXPECT_FALSE(ini.GetBool("S", "f", true));
  EXPECT_EQ(ini.GetString("S", "cut", "").GetLength(), 2);
}

TEST(IniValues, LookupIgnoresCaseAndSettersKeepStoredNames) {
  CIniFile ini;
  ini.SetString("COLORS", "Back", "red");
  ini.SetString("Other", "x", "1");
  EXPECT_STREQ(ini.GetString("colors", "BACK", ""), "red");
  ini.SetModified(false);
  ini.SetString("Colors", "back", "blue");
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(Dump(ini), "[\"COLORS\"]\n  \"Back\" = \"blue\"\n[\"Other\"]\n  \"x\" = \"1\"\n");
}

TEST(IniValues, SetterAppendsMissingSectionAndAlwaysMarks) {
  CIniFile ini;
  ini.SetString("A", "a", "1");
  ini.SetModified(false);
  ini.SetString("B", "b", "2");
  EXPECT_TRUE(ini.IsModified());
  EXPECT_STREQ(ini.GetAt(1).first, "B");
  ini.SetModified(false);
  ini.SetString("B", "b", "2");  // the same text again
  EXPECT_TRUE(ini.IsModified());
  ini.SetModified(false);
  ini.SetBool("B", "b", false);
  EXPECT_TRUE(ini.IsModified());
}

TEST(IniValues, ReadersCreateNothing) {
  CIniFile ini;
  ini.SetString("Here", "k", "v");
  ini.SetModified(false);
  ini.GetString("Gone", "k", "");
  ini.GetInt("Gone", "k", 0);
  ini.GetBool("Gone", "k", false);
  ini.GetString("Here", "none", "");
  EXPECT_FALSE(ini.SectionExists("Gone"));
  EXPECT_FALSE(ini.KeyExists("Here", "none"));
  EXPECT_FALSE(ini.KeyExists("Gone", "k"));  // another section holds k
  EXPECT_TRUE(ini.KeyExists("HERE", "K"));
  EXPECT_EQ(ini.GetCount(), 1);
  EXPECT_EQ(ini.GetAt(0).second.GetCount(), 1);
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniValues, WriteSectionMerges) {
  CIniFile ini;
  ini.SetString("T", "Keep", "old");
  ini.SetString("T", "b", "old");
  ini.SetModified(false);
  CIniFileSection source;
  source["B"] = "new";
  source["c"] = "added";
  ini.WriteSection("t", source);
  EXPECT_TRUE(ini.IsModified());
  EXPECT_EQ(Dump(ini), "[\"T\"]\n  \"Keep\" = \"old\"\n  \"b\" = \"new\"\n  \"c\" = \"added\"\n");
  EXPECT_EQ(source.GetCount(), 2);

  ini.SetModified(false);
  ini.WriteSection("Elsewhere", CIniFileSection());
  EXPECT_FALSE(ini.SectionExists("Elsewhere"));
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniValues, WriteSectionFromASectionOfTheSameDocument) {
  CIniFile ini;
  for (int i = 0; i < 50; ++i) ini.SetInt("Src", CString(std::to_string(i)), i);
  // The target is new: adding it may move every section, the source too.
  ini.WriteSection("Copy", ini.Find("Src")->second);
  ASSERT_TRUE(ini.SectionExists("Copy"));
  EXPECT_EQ(ini.Find("Copy")->second.GetCount(), 50);
  EXPECT_EQ(ini.GetInt("Copy", "49", -1), 49);
  ini.WriteSection("Src", ini.Find("Src")->second);
  EXPECT_EQ(ini.Find("Src")->second.GetCount(), 50);
}

// Every step that the document takes through its virtual table, seen by a
// derived class.
class CLoggingIni : public CIniFile {
 public:
  std::string m_strLog;
  bool m_bPretendSections = false;

  bool SectionExists(CString strSection) override {
    m_strLog += "SectionExists(" + std::string(strSection) + ");";
    return m_bPretendSections || CIniFile::SectionExists(strSection);
  }
  bool KeyExists(CString strSection, CString strKey) override {
    m_strLog += "KeyExists;";
    return CIniFile::KeyExists(strSection, strKey);
  }
  void SetModified(bool bModified) override {
    m_strLog += bModified ? "SetModified(1);" : "SetModified(0);";
    CIniFile::SetModified(bModified);
  }
  void SetString(CString strSection, CString strKey, CString strValue) override {
    m_strLog += "SetString(" + std::string(strKey) + ");";
    CIniFile::SetString(strSection, strKey, strValue);
  }
  bool SaveAs(LPCTSTR pszPath) override {
    m_strLog += "SaveAs(" + std::string(pszPath) + ");";
    return true;
  }
};

TEST(IniValues, OperationsCallThroughTheVirtualTable) {
  CLoggingIni ini;
  ini.GetInt("S", "k", 0);
  EXPECT_EQ(ini.m_strLog, "KeyExists;SectionExists(S);");
  ini.m_strLog.clear();
  ini.GetString("S", "k", "");
  ini.GetBool("S", "k", false);
  EXPECT_EQ(ini.m_strLog, "KeyExists;SectionExists(S);KeyExists;SectionExists(S);");
  ini.m_strLog.clear();
  ini.SetInt("S", "a", 1);
  ini.SetBool("S", "b", true);
  EXPECT_EQ(ini.m_strLog, "SetModified(1);SetModified(1);");
  ini.m_strLog.clear();
  CIniFileSection source;
  source["x"] = "1";
  source["y"] = "2";
  ini.WriteSection("T", source);
  EXPECT_EQ(ini.m_strLog, "SetString(x);SetModified(1);SetString(y);SetModified(1);");
  ini.m_strLog.clear();
  ini.SetFilePath("/some/where.ini");
  EXPECT_TRUE(ini.Save());
  EXPECT_EQ(ini.m_strLog, "SaveAs(/some/where.ini);");
  ini.m_strLog.clear();
  ini.RenameSection("T", "U");
  ini.RenameKey("U", "x", "z");
  ini.RemoveKey("U", "z");
  ini.RemoveSection("U");
  ini.RemoveAllKeys("S");
  EXPECT_EQ(ini.m_strLog, "SectionExists(U);SectionExists(U);SectionExists(U);");
}

TEST(IniValues, AnOverrideClaimingMissingNamesDoesNotBreakTheDocument) {
  CLoggingIni ini;
  ini.m_bPretendSections = true;
  EXPECT_EQ(ini.GetInt("None", "k", 3), 3);
  EXPECT_FALSE(ini.KeyExists("None", "k"));
  EXPECT_FALSE(ini.RenameKey("None", "a", "b"));
  EXPECT_FALSE(ini.RemoveKey("None", "a"));
  EXPECT_FALSE(ini.RenameSection("None", "Other"));
  EXPECT_EQ(ini.GetCount(), 0);
}

TEST(IniValues, RuntimeClassRecords) {
  CIniFile ini;
  CIniFileSection section;
  EXPECT_STREQ(ini.GetRuntimeClass()->m_lpszClassName, "CIniFile");
  EXPECT_STREQ(section.GetRuntimeClass()->m_lpszClassName, "CIniFileSection");
  EXPECT_EQ(RUNTIME_CLASS(CIniFile)->m_wSchema, 0x80000001u);
  EXPECT_EQ(RUNTIME_CLASS(CIniFileSection)->m_wSchema, 0x80000001u);
  EXPECT_EQ(RUNTIME_CLASS(CIniFile)->m_pBaseClass, RUNTIME_CLASS(CObject));
  // Registered at load, the section's class first: the document's record
  // was linked in front of it.
  EXPECT_EQ(RUNTIME_CLASS(CIniFile)->m_pNextClass, RUNTIME_CLASS(CIniFileSection));
  EXPECT_TRUE(ini.IsKindOf(RUNTIME_CLASS(CObject)));
  CObject* pMade = RUNTIME_CLASS(CIniFile)->CreateObject();
  ASSERT_NE(pMade, nullptr);
  EXPECT_TRUE(pMade->IsKindOf(RUNTIME_CLASS(CIniFile)));
  CIniFile* pIni = static_cast<CIniFile*>(pMade);
  EXPECT_EQ(pIni->GetCount(), 0);
  EXPECT_FALSE(pIni->IsModified());
  EXPECT_STREQ(pIni->GetFilePath(), "");
  delete pMade;
  CObject* pSection = RUNTIME_CLASS(CIniFileSection)->CreateObject();
  ASSERT_NE(pSection, nullptr);
  EXPECT_TRUE(pSection->IsKindOf(RUNTIME_CLASS(CIniFileSection)));
  delete pSection;
}

}  // namespace
