// LspCallSnippet: the call a completion inserts when the client takes
// snippets: the function's name and its parameters as placeholders.
#pragma once

#include <string>

#include "CString.h"

namespace nimbo {
namespace lsp {

// "StrMid(${1:szText}, ${2:nStart}, ${3:nCount})$0" for the prototype
// "StrMid(szText, nStart, nCount)": the parameters as the signature help
// splits them (CZoToolTipStaticFunc::ParameterRanges), the final tab stop
// after the call. "Name()$0" without parameters. Placeholders stop before
// the first parameter that ends in "..." (any number of arguments from
// there, none included), which would otherwise be inserted as it is; when
// that leaves none, an empty tab stop stands inside the parentheses, so the
// caret lands there. "$", "}" and "\" in the text are escaped. The result
// is in the prototype's 8-bit text, as the catalogue holds it.
std::string CallSnippet(const CString& strPrototype);

}  // namespace lsp
}  // namespace nimbo
