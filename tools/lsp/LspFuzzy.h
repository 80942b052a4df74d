// LspFuzzy: fuzzy matching of a typed pattern against a name, for ranking
// workspace symbols as editors' fuzzy finders do.
#pragma once

#include <string_view>

namespace nimbo {
namespace lsp {

// Whether strPattern matches strName as a subsequence, ASCII case ignored
// ("cnt" matches "CountItems"); nScore then ranks the match, higher first.
// The best alignment is scored: characters at the start of a word (the
// name's start, after "_", a lower-case letter followed by an upper-case
// one, the first digit of a run) and runs of consecutive characters count
// most, characters in the pattern's own case a little more; a first
// character inside a word counts less. The empty pattern matches every
// name with score 0. Patterns longer than 64 bytes match only exactly
// (case ignored).
bool FuzzyMatch(std::string_view strPattern, std::string_view strName, int& nScore);

}  // namespace lsp
}  // namespace nimbo
