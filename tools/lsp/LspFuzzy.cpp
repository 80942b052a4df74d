// LspFuzzy: the best alignment of a pattern in a name by dynamic programming
// over (pattern character, name position); both are short, so the table is.
// The same pass tells whether an alignment of word-start runs exists.
#include "tools/lsp/LspFuzzy.h"

#include <algorithm>
#include <vector>

namespace nimbo {
namespace lsp {

namespace {

const size_t kMaxPattern = 64;
const int kNone = -1000000;
// One tier outweighs any alignment: an alignment scores at most 12 per
// character (64 characters) and 8, times 64.
const int kTierStep = 1 << 16;

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

// Whether strPattern is a subsequence of strName, case ignored.
bool IsSubsequence(std::string_view strPattern, std::string_view strName) {
  size_t j = 0;
  for (const char ch : strPattern) {
    while (j < strName.size() && Lower(strName[j]) != Lower(ch)) ++j;
    if (j == strName.size()) return false;
    ++j;
  }
  return true;
}

// Whether strName begins with strPattern, case ignored.
bool IsPrefix(std::string_view strPattern, std::string_view strName) {
  if (strPattern.size() > strName.size()) return false;
  for (size_t i = 0; i < strPattern.size(); ++i)
    if (Lower(strPattern[i]) != Lower(strName[i])) return false;
  return true;
}

// The score of a match: its tier first, then its alignment's score, then
// the shorter name. The whole name typed (case aside) is the best alignment
// there is.
int Score(int nTier, int nAlignment, size_t nPattern, size_t nName) {
  if (nPattern == nName) nAlignment += 8;
  return nTier * kTierStep + nAlignment * 64 - static_cast<int>(std::min<size_t>(nName - nPattern, 63));
}

}  // namespace

bool FuzzyMatch(std::string_view strPattern, std::string_view strName, int& nScore) {
  nScore = 0;
  const size_t nPattern = strPattern.size();
  const size_t nName = strName.size();
  if (nPattern == 0) return true;
  if (nPattern > nName) return false;
  if (nPattern > kMaxPattern) {
    if (nPattern != nName || !IsPrefix(strPattern, strName)) return false;
    nScore = 2 * kTierStep;
    return true;
  }
  // Most names of a long list fail here, before the table is filled.
  if (!IsSubsequence(strPattern, strName)) return false;
  if (IsPrefix(strPattern, strName)) {
    // The first tier scores the alignment at the start, without the table:
    // a short word typed against many names is mostly this case.
    int nPrefix = 4;
    for (size_t i = 0; i < nPattern; ++i) {
      const bool bStart = IsWordStart(strName, i);
      nPrefix += 1 + (strPattern[i] == strName[i] ? 1 : 0) + (bStart ? 6 : 0) + (i > 0 ? 4 - (bStart ? 0 : 1) : 0);
    }
    nScore = Score(2, nPrefix, nPattern, nName);
    return true;
  }

  // score[j]: the best score with the current pattern character matched at
  // name byte j (kNone: impossible); runs[j]: whether an alignment made of
  // runs that each begin a word reaches it. Row by row over the pattern.
  thread_local std::vector<int> previous;
  thread_local std::vector<int> current;
  thread_local std::vector<char> previousRuns;
  thread_local std::vector<char> currentRuns;
  previous.assign(nName, kNone);
  current.assign(nName, kNone);
  previousRuns.assign(nName, 0);
  currentRuns.assign(nName, 0);
  for (size_t i = 0; i < nPattern; ++i) {
    int nBestBefore = kNone;   // max of previous[0, j)
    bool bRunsBefore = false;  // any of previousRuns[0, j)
    for (size_t j = 0; j < nName; ++j) {
      current[j] = kNone;
      currentRuns[j] = 0;
      if (i > 0 && j > 0) {
        if (previous[j - 1] > nBestBefore) nBestBefore = previous[j - 1];
        bRunsBefore = bRunsBefore || previousRuns[j - 1] != 0;
      }
      if (Lower(strPattern[i]) != Lower(strName[j])) continue;
      const bool bStart = IsWordStart(strName, j);
      int nChar = 1 + (strPattern[i] == strName[j] ? 1 : 0) + (bStart ? 6 : 0);
      if (i == 0) {
        // The first character: at the name's start is best, inside a word worst.
        current[j] = nChar + (j == 0 ? 4 : 0) - (bStart ? 0 : 4);
        currentRuns[j] = bStart;
        continue;
      }
      // A run goes on from the character before, or a new one begins a word.
      currentRuns[j] = (j > 0 && previousRuns[j - 1] != 0) || (bStart && bRunsBefore);
      int nFrom = nBestBefore;
      if (j > 0 && previous[j - 1] != kNone) nFrom = std::max(nFrom, previous[j - 1] + 4);  // consecutive
      if (nFrom == kNone) continue;
      // A character that is neither consecutive nor a word start is a weak match.
      current[j] = nFrom + nChar - (bStart ? 0 : 1);
    }
    previous.swap(current);
    previousRuns.swap(currentRuns);
  }
  int nBest = kNone;
  bool bRuns = false;
  for (size_t j = 0; j < nName; ++j) {
    nBest = std::max(nBest, previous[j]);
    bRuns = bRuns || previousRuns[j] != 0;
  }
  if (nBest == kNone) return false;
  nScore = Score(bRuns ? 1 : 0, nBest, nPattern, nName);
  return true;
}

}  // namespace lsp
}  // namespace nimbo
