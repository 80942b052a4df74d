// LspFuzzy: the best alignment of a pattern in a name by dynamic programming
// over (pattern character, name position); both are short, so the table is.
#include "tools/lsp/LspFuzzy.h"

#include <algorithm>
#include <vector>

namespace nimbo {
namespace lsp {

namespace {

const size_t kMaxPattern = 64;
const int kNone = -1000000;

char Lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }
bool IsUpper(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool IsLower(char ch) { return ch >= 'a' && ch <= 'z'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool IsWordStart(std::string_view strName, size_t nAt) {
  if (nAt == 0) return true;
  const char ch = strName[nAt];
  const char chBefore = strName[nAt - 1];
  if (ch == '_') return false;
  if (chBefore == '_') return true;
  if (IsUpper(ch) && IsLower(chBefore)) return true;
  if (IsDigit(ch) && !IsDigit(chBefore)) return true;
  // "HTTPServer": the "S" starts a word.
  return IsUpper(ch) && IsUpper(chBefore) && nAt + 1 < strName.size() && IsLower(strName[nAt + 1]);
}

}  // namespace

bool FuzzyMatch(std::string_view strPattern, std::string_view strName, int& nScore) {
  nScore = 0;
  const size_t nPattern = strPattern.size();
  const size_t nName = strName.size();
  if (nPattern == 0) return true;
  if (nPattern > nName) return false;
  if (nPattern > kMaxPattern) {
    for (size_t i = 0; i < nPattern; ++i)
      if (Lower(strPattern[i]) != Lower(strName[i])) return false;
    return nPattern == nName;
  }
  // best[j]: the best score with the current pattern character matched at
  // name byte j (kNone: impossible); row by row over the pattern.
  thread_local std::vector<int> previous;
  thread_local std::vector<int> current;
  previous.assign(nName, kNone);
  current.assign(nName, kNone);
  for (size_t i = 0; i < nPattern; ++i) {
    int nBestBefore = kNone;  // max of previous[0..j-1)
    for (size_t j = 0; j < nName; ++j) {
      current[j] = kNone;
      if (i > 0 && j > 0 && previous[j - 1] > nBestBefore) nBestBefore = previous[j - 1];
      if (Lower(strPattern[i]) != Lower(strName[j])) continue;
      const bool bStart = IsWordStart(strName, j);
      int nChar = 1 + (strPattern[i] == strName[j] ? 1 : 0) + (bStart ? 6 : 0);
      if (i == 0) {
        // The first character: at the name's start is best, inside a word worst.
        current[j] = nChar + (j == 0 ? 4 : 0) - (bStart ? 0 : 4);
        continue;
      }
      int nFrom = nBestBefore;
      if (j > 0 && previous[j - 1] != kNone) nFrom = std::max(nFrom, previous[j - 1] + 4);  // consecutive
      if (nFrom == kNone) continue;
      // A character that is neither consecutive nor a word start is a weak match.
      current[j] = nFrom + nChar - (bStart ? 0 : 1);
    }
    previous.swap(current);
  }
  int nBest = kNone;
  for (size_t j = 0; j < nName; ++j) nBest = std::max(nBest, previous[j]);
  if (nBest == kNone) return false;
  // The whole name typed (case aside) is the best match there is; of two
  // equal alignments, the shorter name is the closer one.
  if (nPattern == nName) nBest += 8;
  nScore = nBest * 64 - static_cast<int>(std::min<size_t>(nName - nPattern, 63));
  return true;
}

}  // namespace lsp
}  // namespace nimbo
