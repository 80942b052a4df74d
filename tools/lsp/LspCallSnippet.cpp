// LspCallSnippet: a prototype made into the protocol's snippet syntax.
#include "tools/lsp/LspCallSnippet.h"

#include <utility>
#include <vector>

#include "tamsin/CZoToolTipStaticFunc.h"

namespace nimbo {
namespace lsp {

namespace {

// Text that stands for itself in a snippet.
std::string Escaped(const std::string& strText) {
  std::string strEscaped;
  for (const char ch : strText) {
    if (ch == '$' || ch == '}' || ch == '\\') strEscaped += '\\';
    strEscaped += ch;
  }
  return strEscaped;
}

}  // namespace

std::string CallSnippet(const CString& strPrototype) {
  const std::string strText = strPrototype.Str();
  std::vector<std::pair<int, int>> ranges = CZoToolTipStaticFunc::ParameterRanges(strPrototype);
  if (ranges.size() == 1 && ranges[0].first == ranges[0].second) ranges.clear();  // "Name()"
  std::string strName = strText.substr(0, strText.find('('));
  while (!strName.empty() && (strName.back() == ' ' || strName.back() == '\t')) strName.pop_back();
  std::string strArguments;
  int nStop = 0;
  bool bRest = false;
  for (const std::pair<int, int>& range : ranges) {
    const std::string strParameter =
        strText.substr(static_cast<size_t>(range.first), static_cast<size_t>(range.second - range.first));
    if (strParameter.size() >= 3 && strParameter.compare(strParameter.size() - 3, 3, "...") == 0) {
      bRest = true;
      break;
    }
    if (nStop > 0) strArguments += ", ";
    ++nStop;
    strArguments += strParameter.empty() ? "$" + std::to_string(nStop)
                                         : "${" + std::to_string(nStop) + ":" + Escaped(strParameter) + "}";
  }
  if (bRest && nStop == 0) strArguments = "$1";
  return Escaped(strName) + "(" + strArguments + ")$0";
}

}  // namespace lsp
}  // namespace nimbo
