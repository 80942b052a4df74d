// LspPrototype: the tip's reading of a prototype's parameters.
#include "tools/lsp/LspPrototype.h"

#include <string>

#include "tamsin/CZoToolTipStaticFunc.h"

namespace nimbo {
namespace lsp {

CLspParameters ParametersOf(const CString& strPrototype) {
  CLspParameters parameters;
  parameters.ranges = CZoToolTipStaticFunc::ParameterRanges(strPrototype);
  std::vector<std::pair<int, int>>& ranges = parameters.ranges;
  if (ranges.size() == 1 && ranges[0].first == ranges[0].second) ranges.clear();  // "Name()"
  const std::string strText = strPrototype.Str();
  parameters.bRest = !ranges.empty() && ranges.back().second - ranges.back().first >= 3 &&
                     strText.compare(static_cast<size_t>(ranges.back().second) - 3, 3, "...") == 0;
  return parameters;
}

}  // namespace lsp
}  // namespace nimbo
