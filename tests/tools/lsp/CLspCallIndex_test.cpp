// A script's call sites packed in one block: each name finds exactly its
// own sites (first, middle and last of the sorted names alike), in text
// order, declarations marked, columns in the client's encoding; a name the
// script does not use, and a script with no sites, find none.
#include "tools/lsp/CLspCallIndex.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/lsp/CLspScriptFacts.h"

namespace nimbo {
namespace lsp {
namespace {

// The sites of strName as "line:column" ("d" after a declaration's), or
// "unknown" when no script ever used the name.
std::string SitesOf(const CLspCallSites& sites, const CLspNameTable& names, const std::string& strName) {
  uint32_t nId = 0;
  if (!names.Find(strName, nId)) return "unknown";
  std::string strOut;
  sites.ForEachSite(nId, [&](const CLspNameSite& site) {
    strOut += (strOut.empty() ? "" : " ") + std::to_string(site.nLine) + ":" + std::to_string(site.nColumn) +
              (site.bDeclaration ? "d" : "");
  });
  return strOut;
}

CLspCallSites SitesOfText(const std::string& strText, EPositionEncoding eEncoding, CLspNameTable& names) {
  const std::vector<std::string> lines = SplitLines(strText);
  CLspScriptFacts facts;
  facts.Scan(lines);
  CLspCallSites sites;
  sites.Set(facts, lines, eEncoding, names);
  return sites;
}

TEST(CLspCallSites, EachNameFindsItsOwnSitesInTextOrder) {
  CLspNameTable names;
  names.Intern("Unused");  // an id the script below never uses
  const std::string strText =
      "declare Zed(a);\n"
      "function Main() { Zed(Alpha(1), Mid(2)); /* Zed(3) */ }\n"
      "\xc3\xa9\xc3\xa9 = Alpha(\"Zed(4)\") + obj.Mid(5) + Zed (6);\n";
  const CLspCallSites sites = SitesOfText(strText, encodingUtf16, names);
  EXPECT_EQ(SitesOf(sites, names, "Zed"), "0:8d 1:18 2:36");
  EXPECT_EQ(SitesOf(sites, names, "Alpha"), "1:22 2:5");
  EXPECT_EQ(SitesOf(sites, names, "Mid"), "1:32");
  EXPECT_EQ(SitesOf(sites, names, "Main"), "unknown");  // a definition is not a site
  EXPECT_EQ(SitesOf(sites, names, "Unused"), "");
  // The same text counted in UTF-8 bytes.
  const CLspCallSites bytes = SitesOfText(strText, encodingUtf8, names);
  EXPECT_EQ(SitesOf(bytes, names, "Alpha"), "1:22 2:7");
  EXPECT_EQ(NameWidth("\xc3\xa9t\xc3\xa9", encodingUtf16), 3u);
  EXPECT_EQ(NameWidth("\xc3\xa9t\xc3\xa9", encodingUtf8), 5u);

  const CLspCallSites none = SitesOfText("// Zed(1)\nx = 1;\n", encodingUtf16, names);
  EXPECT_EQ(SitesOf(none, names, "Zed"), "");
}

}  // namespace
}  // namespace lsp
}  // namespace nimbo
