// Suggestions for mistyped names.
#include "tools/nimbo/Suggestion.h"

#include <algorithm>
#include <utility>

namespace nimbo {

namespace {

// Edits between two words (optimal string alignment: a letter replaced,
// inserted or removed, or two neighbours swapped, each counts one).
size_t TypingDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

const size_t kMaxSlips = 2;
const size_t kMaxNames = 3;

}  // namespace

std::vector<std::string> NearestNames(const std::string& strWord, const std::vector<std::string>& candidates) {
  std::vector<std::string> names;
  if (strWord.empty()) return names;
  for (const std::string& strName : candidates)
    if (strName.size() > strWord.size() && strName.compare(0, strWord.size(), strWord) == 0) names.push_back(strName);
  if (names.empty()) {
    std::vector<std::pair<size_t, std::string>> near;
    for (const std::string& strName : candidates) {
      const size_t nDistance = TypingDistance(strWord, strName);
      if (nDistance <= kMaxSlips && nDistance < strWord.size()) near.emplace_back(nDistance, strName);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const std::pair<size_t, std::string>& a, const std::pair<size_t, std::string>& b) {
                       return a.first < b.first;
                     });
    for (const auto& entry : near)
      if (entry.first == near.front().first) names.push_back(entry.second);
  }
  if (names.size() > kMaxNames) names.resize(kMaxNames);
  return names;
}

std::string DidYouMean(const std::vector<std::string>& names) {
  if (names.empty()) return std::string();
  std::string strText = ", did you mean ";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) strText += i + 1 == names.size() ? " or " : ", ";
    strText += "'" + names[i] + "'";
  }
  return strText + "?";
}

}  // namespace nimbo
