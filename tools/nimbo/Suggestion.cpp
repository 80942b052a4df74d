// Suggestions for mistyped names.
#include "tools/nimbo/Suggestion.h"

#include <algorithm>
#include <utility>

#include "tools/nimbo/TypingDistance.h"

namespace nimbo {

namespace {

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
      const size_t nDistance = TypingDistance(strWord, strName, kMaxSlips, false);
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
