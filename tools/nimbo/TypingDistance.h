// TypingDistance: how many typing slips lie between two words, for the
// tool's "did you mean" (commands, options, function names). Header-only,
// so that every command library can use it without linking the tool's
// shared part.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace nimbo {

// The optimal string alignment distance of a and b (a letter replaced,
// inserted or removed, or two neighbours swapped, each counts one), ASCII
// case ignored when bIgnoreCase; nMax + 1 as soon as it must exceed nMax.
inline size_t TypingDistance(const std::string& a, const std::string& b, size_t nMax, bool bIgnoreCase) {
  const auto Fold = [bIgnoreCase](char ch) {
    return bIgnoreCase && ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
  };
  const size_t nA = a.size();
  const size_t nB = b.size();
  if ((nA > nB ? nA - nB : nB - nA) > nMax) return nMax + 1;
  std::vector<size_t> before(nB + 1);
  std::vector<size_t> previous(nB + 1);
  std::vector<size_t> current(nB + 1);
  for (size_t j = 0; j <= nB; ++j) previous[j] = j;
  for (size_t i = 1; i <= nA; ++i) {
    current[0] = i;
    size_t nRowMin = current[0];
    for (size_t j = 1; j <= nB; ++j) {
      const bool bSame = Fold(a[i - 1]) == Fold(b[j - 1]);
      size_t nCost = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (bSame ? 0 : 1)});
      if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) && Fold(a[i - 2]) == Fold(b[j - 1]))
        nCost = std::min(nCost, before[j - 2] + 1);
      current[j] = nCost;
      nRowMin = std::min(nRowMin, nCost);
    }
    if (nRowMin > nMax) return nMax + 1;
    before.swap(previous);
    previous.swap(current);
  }
  return previous[nB];
}

}  // namespace nimbo
