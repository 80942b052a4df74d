// LspFuzzy: fuzzy matching of a typed pattern against a name, the one rule
// that ranks completion items and workspace symbols alike.
#pragma once

#include <string_view>

namespace nimbo {
namespace lsp {

// Whether strPattern matches strName as a subsequence, ASCII case ignored
// ("cnt" matches "CountItems"); nScore then ranks the match, higher first.
//
// Matches come in three tiers, each above every match of the next:
//   1. the name begins with the pattern ("str" in "StrLeft");
//   2. the pattern falls in runs that each begin a word of the name ("sl"
//      or "SL" in "StrLeft", "fm" in "format_money");
//   3. any other subsequence ("tl" in "StrLeft").
// Words begin at the name's start, after "_", at an upper-case letter after
// a lower-case one, at the first digit of a run, and at the last capital of
// a run followed by a lower-case letter ("HTTPServer": "S"). Within a tier
// the alignment scores (the best one; in the first tier, the one at the
// name's start): word starts and runs of consecutive characters count most,
// each character in the pattern's own case a little more (so of two matches
// alike but for case, the exact one comes first), a first character inside
// a word less; then, of two equal alignments, the shorter name. The empty
// pattern matches every name with score 0. Patterns longer than 64 bytes
// match only a whole name (case ignored).
bool FuzzyMatch(std::string_view strPattern, std::string_view strName, int& nScore);

}  // namespace lsp
}  // namespace nimbo
