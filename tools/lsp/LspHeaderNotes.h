// LspHeaderNotes: what a reader of a project function wants beside its
// prototype, read from the script's text around the definition: the result
// type written before the name, and the comment written just above the
// header. Read from the text when asked, so that it is the current text's
// and costs nothing while nobody asks.
#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CLspScriptFacts.h"

namespace nimbo {
namespace lsp {

struct CLspHeaderNotes {
  // The names between the header word and the function's name ("string" in
  // "function string FormatMoney(nCents)"; the header rule drops them from
  // the prototype); empty when none is written.
  std::string strResultType;
  // The comment block directly above the header's first line, with no blank
  // line between: a run of "//" lines, or a "/* */" block that begins a line
  // of its own. Its text without the comment marks (nor a leading "*" of
  // each line of a block), lines joined with "\n"; empty when none.
  std::string strComment;
};

// The notes of the definition whose name begins at byte nNameAt of line
// nLine of a script's lines (both valid). The header is the one of the
// script's headers (as CLspScriptFacts finds them) with its name there;
// where there is none, there is no result type and the comment is looked
// for above the name's line.
CLspHeaderNotes ReadHeaderNotes(const std::vector<std::string>& lines, const std::vector<CLspHeaderFact>& headers,
                                size_t nLine, size_t nNameAt);

}  // namespace lsp
}  // namespace nimbo
