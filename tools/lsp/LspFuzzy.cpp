// LspFuzzy: the best alignment of a pattern in a name by dynamic programming
// over (pattern character, name position where it stands); the same pass
// tells whether an alignment of word-start runs exists.
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
  // Most names of a long list fail here, before any alignment is scored.
  if (!IsSubsequence(strPattern, strName)) return false;
  if (IsPrefix(strPattern, strName)) {
    // The first tier scores the alignment at the start, and no other:
    // a short word typed against many names is mostly this case.
    int nPrefix = 4;
    for (size_t i = 0; i < nPattern; ++i) {
      const bool bStart = IsWordStart(strName, i);
      nPrefix += 1 + (strPattern[i] == strName[i] ? 1 : 0) + (bStart ? 6 : 0) + (i > 0 ? 4 - (bStart ? 0 : 1) : 0);
    }
    nScore = Score(2, nPrefix, nPattern, nName);
    return true;
  }

  // Row by row over the pattern, the name bytes where its character can
  // stand: each with the best score of an alignment that puts it there,
  // and whether an alignment made of runs that each begin a word does.
  // Only matching bytes are visited; a name has few of each character.
  struct CCell {
    size_t nAt;
    int nScore;
    bool bRuns;
  };
  thread_local std::vector<CCell> previous;
  thread_local std::vector<CCell> current;
  previous.clear();
  for (size_t j = 0; j < nName; ++j) {
    if (Lower(strPattern[0]) != Lower(strName[j])) continue;
    const bool bStart = IsWordStart(strName, j);
    // The first character: at the name's start is best, inside a word worst.
    const int nChar = 1 + (strPattern[0] == strName[j] ? 1 : 0) + (bStart ? 6 : 0);
    previous.push_back({j, nChar + (j == 0 ? 4 : 0) - (bStart ? 0 : 4), bStart});
  }
  for (size_t i = 1; i < nPattern; ++i) {
    current.clear();
    size_t k = 0;              // previous[0, k) lie before j - 1
    int nBestBefore = kNone;   // their best score
    bool bRunsBefore = false;  // whether one of them ends word-start runs
    for (size_t j = previous.front().nAt + 1; j < nName; ++j) {
      if (Lower(strPattern[i]) != Lower(strName[j])) continue;
      for (; k < previous.size() && previous[k].nAt + 1 < j; ++k) {
        nBestBefore = std::max(nBestBefore, previous[k].nScore);
        bRunsBefore = bRunsBefore || previous[k].bRuns;
      }
      const CCell* pBefore = k < previous.size() && previous[k].nAt + 1 == j ? &previous[k] : nullptr;
      const bool bStart = IsWordStart(strName, j);
      const int nChar = 1 + (strPattern[i] == strName[j] ? 1 : 0) + (bStart ? 6 : 0);
      int nFrom = nBestBefore;
      if (pBefore != nullptr) nFrom = std::max(nFrom, pBefore->nScore + 4);  // consecutive
      if (nFrom == kNone) continue;
      // A character that is neither consecutive nor a word start is a weak
      // match. A run goes on from the character before, or a new one begins
      // a word.
      current.push_back({j, nFrom + nChar - (bStart ? 0 : 1),
                         (pBefore != nullptr && pBefore->bRuns) || (bStart && bRunsBefore)});
    }
    if (current.empty()) return false;
    previous.swap(current);
  }
  int nBest = kNone;
  bool bRuns = false;
  for (const CCell& cell : previous) {
    nBest = std::max(nBest, cell.nScore);
    bRuns = bRuns || cell.bRuns;
  }
  if (nBest == kNone) return false;
  nScore = Score(bRuns ? 1 : 0, nBest, nPattern, nName);
  return true;
}

}  // namespace lsp
}  // namespace nimbo
