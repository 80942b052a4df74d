// Random documents (fixed seed) through the text form and the archive form
// come back with the same sections, entries, names and order.
#include "ini/CIniFile.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "CArchive.h"
#include "CMemFile.h"
#include "IniTestUtil.h"

namespace {

using initest::CScratchDir;
using initest::Dump;

// Random text of 0 to nMax bytes. For the text form the bytes exclude what
// the format cannot carry: LF, the Ctrl-Z that ends the text, and zero.
CString RandomText(std::mt19937& rng, int nMax, bool bForText) {
  std::uniform_int_distribution<int> length(0, nMax);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<int> ascii(' ', '~');
  std::bernoulli_distribution plain(0.8);
  CString str;
  for (int i = length(rng); i > 0; --i) {
    int c = plain(rng) ? ascii(rng) : byte(rng);
    if (bForText && (c == '\n' || c == 0x1A)) c = '\r';
    str += static_cast<char>(c);
  }
  return str;
}

CString RandomKey(std::mt19937& rng, bool bForText) {
  CString str = RandomText(rng, 12, bForText);
  if (!bForText) return str;
  str.Replace("=", "-");  // the first "=" of a line divides key from value
  if (str.GetLength() > 0 && (str[0] == ';' || str[0] == '[')) str.SetAt(0, '_');
  return str;
}

void FillRandom(CIniFile& ini, std::mt19937& rng, bool bForText, bool bKeyOnlyLines) {
  std::uniform_int_distribution<int> count(0, 8);
  for (int s = count(rng); s > 0; --s) {
    CString strSection = RandomText(rng, 10, bForText);
    if (strSection.IsEmpty()) strSection = "S";  // an unnamed section cannot hold entries
    CStringList none;
    ini.GetKeys(strSection, none);
    for (int e = count(rng); e > 0; --e) {
      const CString strKey = RandomKey(rng, bForText);
      CString strValue = RandomText(rng, 20, bForText);
      if (bKeyOnlyLines && strKey.IsEmpty() && strValue.IsEmpty()) strValue = "v";  // would be an empty line
      ini.SetString(strSection, strKey, strValue);
    }
  }
}

TEST(IniRoundTrip, RandomDocumentsThroughText) {
  CScratchDir dir;
  std::mt19937 rng(20240611);
  for (int nRound = 0; nRound < 200; ++nRound) {
    const bool bKeyOnly = nRound % 2 == 1;
    CIniFile source;
    source.Load("/nonexistent/for/flag", bKeyOnly);
    FillRandom(source, rng, true, bKeyOnly);
    const std::string strPath = dir / "round.ini";
    ASSERT_TRUE(source.SaveAs(strPath.c_str()));
    CIniFile back;
    ASSERT_TRUE(back.Load(strPath.c_str(), false)) << nRound;
    ASSERT_EQ(Dump(back), Dump(source)) << nRound;
  }
}

TEST(IniRoundTrip, RandomDocumentsThroughArchive) {
  std::mt19937 rng(77);
  for (int nRound = 0; nRound < 200; ++nRound) {
    CIniFile source;
    FillRandom(source, rng, false, false);
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store);
      source.Serialize(ar);
      ar.Close();
    }
    std::vector<BYTE> bytes = file.GetBytes();
    CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&in, CArchive::load);
    CIniFile back;
    back.Serialize(ar);
    ASSERT_EQ(Dump(back), Dump(source)) << nRound;
    EXPECT_FALSE(back.IsModified());
    EXPECT_STREQ(back.GetFilePath(), "");
  }
}

}  // namespace
