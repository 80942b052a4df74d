// MatchName (IniFileText.h): the name meant, by the store's rule first, then
// with the blanks at the ends set aside.
#pragma once

#include <utility>
#include <vector>

namespace nimbo {
namespace ini {

template <class FnName>
CNameMatch MatchName(int nCount, FnName fnName, const std::string& strWanted) {
  CNameMatch match;
  std::string strName;
  for (int i = 0; i < nCount; ++i) {
    if (fnName(i, strName) && SameName(strName, strWanted)) {
      match.nFound = i;
      return match;
    }
  }
  const std::string strCore = SplitBlanks(strWanted).strCore;
  std::vector<std::pair<int, std::string>> fits;  // one per name the store tells apart
  for (int i = 0; i < nCount; ++i) {
    if (!fnName(i, strName) || !SameName(SplitBlanks(strName).strCore, strCore)) continue;
    bool bSeen = false;
    for (const auto& fit : fits) bSeen = bSeen || SameName(fit.second, strName);
    if (!bSeen) fits.emplace_back(i, strName);
  }
  if (fits.size() == 1) match.nFound = fits[0].first;
  if (fits.size() > 1) {
    match.nFound = -2;
    match.strWhy = "\"" + fits[0].second + "\" and \"" + fits[1].second + "\" both read as \"" + strCore +
                   "\" but are two names to the store; give the one meant with its blanks";
  }
  return match;
}

}  // namespace ini
}  // namespace nimbo
