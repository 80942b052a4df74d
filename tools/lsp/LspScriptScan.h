// LspScriptScan: the function definitions of one script's text, found by
// the user catalogue's own header rule, with where each name stands.
#pragma once

#include <string>
#include <vector>

#include "CString.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

// One function definition of a script. The strings share their text with
// the catalogue's entry (CString copies share one block), so keeping them
// costs a pointer each.
struct CLspDefinition {
  CString strName;
  CString strPrototype;   // "Name(a, b)", as the user catalogue enters it
  int nLine = 0;          // 0-based line of the name
  unsigned nColumn = 0;   // the name's first column, in the client's encoding
  unsigned nEndColumn = 0;
};

// The definitions of strText in the order the user catalogue meets them
// (ReadNextHeader on the host's tokenizer), columns counted in eEncoding.
// Lines are counted at "\n", as the tokenizer counts them.
std::vector<CLspDefinition> ScanDefinitions(const std::string& strText, EPositionEncoding eEncoding);

}  // namespace lsp
}  // namespace nimbo
