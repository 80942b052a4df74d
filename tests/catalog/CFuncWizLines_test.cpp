// Where funcwiz.ini describes a built-in: found as the store finds sections
// and keys, and only where the store reads.
#include "catalog/CFuncWizLines.h"

#include <gtest/gtest.h>

#include <string>

#include "CScratchDir.h"

namespace {

// "header:prototype" lines of strName, "none" when no section has it.
std::string PlaceOf(const CFuncWizLines& lines, const std::string& strName) {
  const CFuncWizPlace* pPlace = lines.Find(strName);
  return pPlace == nullptr ? "none" : std::to_string(pPlace->nHeaderLine) + ":" + std::to_string(pPlace->nPrototypeLine);
}

TEST(CFuncWizLines, SectionsAndPrototypesAreFoundAsTheStoreFindsThem) {
  CScratchDir dir;
  dir.Write("funcwiz.ini",
            "[FuncWiz - Category - All]\r\n"  // 1
            "1=StrLeft\r\n"
            "[STRLEFT]\r\n"                   // 3: the first section of the name, in other case
            "Description=x\r\n"
            "sampleline=StrLeft(a, n)\r\n"    // 5: the key in other case
            "SampleLine=again\r\n"
            "[StrLeft]\r\n"                   // 7: a second section of the name
            "SampleLine=StrLeft(b)\r\n"
            "[NoPrototype]\r\n"               // 9
            " SampleLine=blank before\r\n"    // another key for the store
            "[Later]\r\n"                     // 11
            "SampleLine=Later()\r\n"
            "\x1a[Unreached]\r\nSampleLine=U()\r\n");
  CFuncWizLines lines;
  EXPECT_TRUE(lines.Read(dir.PathOf("funcwiz.ini").c_str()));
  const struct {
    const char* pszName;
    const char* pszPlace;
  } cases[] = {{"StrLeft", "3:5"}, {"strleft", "3:5"}, {"NoPrototype", "9:0"}, {"Later", "11:12"},
               {"Unreached", "none"}, {"Missing", "none"}};
  for (const auto& c : cases) EXPECT_EQ(PlaceOf(lines, c.pszName), c.pszPlace) << c.pszName;
  EXPECT_EQ(lines.Find("StrLeft")->nPrototypeLength, 24);  // "sampleline=StrLeft(a, n)"
  EXPECT_FALSE(lines.Read(dir.PathOf("missing.ini").c_str()));
  EXPECT_EQ(PlaceOf(lines, "StrLeft"), "none");
}

}  // namespace
