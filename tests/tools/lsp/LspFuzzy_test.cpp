// The fuzzy rule that ranks completion items and workspace symbols: each
// row's names must match its pattern, best first; the listed pairs must not
// match at all.
#include "tools/lsp/LspFuzzy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using nimbo::lsp::FuzzyMatch;

struct CRankRow {
  const char* pszPattern;
  std::vector<const char*> names;  // best first, each strictly ahead of the next
};

TEST(LspFuzzy, RanksPrefixThenWordStartsThenSubsequence) {
  const std::string strLong(65, 'a');
  const std::vector<CRankRow> rows = {
      // A prefix beats word starts that align better ("Slow" vs "StrLeft").
      {"sl", {"slot", "Slow", "Slice", "str_last", "StrLeft", "IsLong", "Consult"}},
      {"SL", {"Slice", "slot", "StrLeft", "str_last", "IsLong"}},
      // The whole name typed first; then the pattern's own case.
      {"cnt", {"Cnt", "cnt_total", "CountItems", "ICount", "DiscountNote"}},
      {"st", {"strip", "StrLeft"}},
      {"St", {"StrLeft", "strip"}},
      // Word starts: a capital after a lower-case letter, the last capital of a
      // run before a lower-case one, a digit after a letter, a letter after "_".
      {"hs", {"HTTPServer", "Hashes"}},
      {"f2", {"F2x", "File2", "F12"}},
      {"ab", {"a_b", "aXb"}},
      // Of two equal alignments, the shorter name.
      {"str", {"StrMid", "StrLeft"}},
      {strLong.c_str(), {strLong.c_str()}},
  };
  for (const CRankRow& row : rows) {
    int nPrevious = 0;
    for (size_t i = 0; i < row.names.size(); ++i) {
      int nScore = 0;
      ASSERT_TRUE(FuzzyMatch(row.pszPattern, row.names[i], nScore)) << row.pszPattern << " in " << row.names[i];
      if (i > 0) {
        EXPECT_GT(nPrevious, nScore) << row.pszPattern << ": " << row.names[i - 1] << " before " << row.names[i];
      }
      nPrevious = nScore;
    }
  }
  const std::vector<std::pair<std::string, std::string>> misses = {
      // Only ASCII case is ignored.
      {"ab", "ba"}, {"sll", "StrLeft"}, {"x", ""}, {strLong, strLong + "a"}, {"\xe9", "\xc9t"}};
  for (const auto& miss : misses) {
    int nScore = 0;
    EXPECT_FALSE(FuzzyMatch(miss.first, miss.second, nScore)) << miss.first << " in " << miss.second;
  }
}

}  // namespace
