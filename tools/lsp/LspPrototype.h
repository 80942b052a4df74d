// LspPrototype: the parameters of a prototype as every feature of the
// language server reads them: the tip's ranges, and whether the last one
// takes the rest of the arguments ("...").
#pragma once

#include <utility>
#include <vector>

#include "CString.h"

namespace nimbo {
namespace lsp {

struct CLspParameters {
  // Byte ranges [first, end) of strPrototype, as the tip marks them; empty
  // for "Name()".
  std::vector<std::pair<int, int>> ranges;
  bool bRest = false;  // the last parameter ends with "...": it takes any number of arguments
};

CLspParameters ParametersOf(const CString& strPrototype);

}  // namespace lsp
}  // namespace nimbo
