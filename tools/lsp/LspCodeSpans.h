// LspCodeSpans: a script's lines read as the editor features see them:
// the scan state at each line's start, and in each line the stretches of
// literal and comment text and the events in code, all by the byte rules
// of LspCodeScan (ScanLine), so that colours, folds and hints never
// disagree with the call search and the diagnostics about what is code.
#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CLspCallScanner.h"

namespace nimbo {
namespace lsp {

// The scan state at the start of each line: one pass over the text.
std::vector<CLspCallScanner::CStart> LineStarts(const std::vector<std::string>& lines);

// A stretch of one line that is not code: 's' a string or character
// literal (its quotes included), 'c' a comment (its marks included).
struct CLspTextSpan {
  size_t nFirst = 0;
  size_t nEnd = 0;
  char cKind = 's';
};

// An event of ScanLine in code (with words): a bracket, ",", ";", ".",
// 'k' a header keyword, 'h' a header's "(", 'w' the first byte of a word,
// 'q' the quote that opens a literal.
struct CLspCodeEvent {
  size_t nAt = 0;
  char cKind = 0;
};

// Reads strLine from start: its literal and comment stretches in text
// order, and (when pEvents is given) its events in code. Each stretch's end
// is where ScanLine's state turns to code again (or the line's end).
void ReadLineSpans(const std::string& strLine, CLspCallScanner::CStart start, std::vector<CLspTextSpan>& spans,
                   std::vector<CLspCodeEvent>* pEvents = nullptr);

}  // namespace lsp
}  // namespace nimbo
