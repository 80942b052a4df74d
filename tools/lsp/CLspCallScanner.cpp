// CLspCallScanner: the search for the innermost open call, backwards over
// each line's brackets left unmatched.
#include "tools/lsp/CLspCallScanner.h"

#include <algorithm>

#include "tools/lsp/LspCodeScan.h"

namespace nimbo {
namespace lsp {

namespace {

typedef CLspCallScanner::CStart CStart;

// One event at a line's own level: what is left of the line once every
// bracket pair closed on it is dropped with what it holds.
struct CItem {
  size_t nOffset;
  char chKind;  // as ScanLine's events
  size_t nLine = 0;
};

bool IsOpener(char chKind) { return chKind == '(' || chKind == '[' || chKind == '{' || chKind == 'h'; }
bool IsCloser(char chKind) { return chKind == ')' || chKind == ']' || chKind == '}'; }

// Collects a line's items: a closer drops everything from its opener on.
struct CReduce {
  std::vector<CItem> items;
  std::vector<size_t> opens;  // indexes in items of the openers still open
  size_t nLine = 0;           // the line being read

  void operator()(size_t nOffset, char chKind) {
    if (IsCloser(chKind) && !opens.empty()) {
      items.resize(opens.back());
      opens.pop_back();
      return;
    }
    if (IsOpener(chKind)) opens.push_back(items.size());
    items.push_back({nOffset, chKind, nLine});
  }
};

// The backward search over items, from the position outwards. nDepth counts
// the closers met whose openers are still ahead (further back); nCommas the
// commas at the level being searched.
struct CSearch {
  enum EOutcome { outcomeGoOn, outcomeFound, outcomeEnded };
  int nDepth = 0;
  int nCommas = 0;
  size_t nParen = 0;
  size_t nParenLine = 0;

  EOutcome Walk(const std::vector<CItem>& items) {
    for (size_t i = items.size(); i-- > 0;) {
      const CItem& item = items[i];
      if (IsCloser(item.chKind)) {
        if (item.chKind == '}' && nDepth == 0) return outcomeEnded;  // a block closed around the position
        ++nDepth;
      } else if (IsOpener(item.chKind)) {
        if (nDepth > 0) {
          --nDepth;
        } else if (item.chKind == '(') {
          nParen = item.nOffset;
          nParenLine = item.nLine;
          return outcomeFound;
        } else if (item.chKind == '[') {
          nCommas = 0;  // an array or index: its commas are its own
        } else {
          return outcomeEnded;  // inside a block or a header's parameters
        }
      } else if (nDepth == 0) {
        if (item.chKind == ',') ++nCommas;
        else return outcomeEnded;  // ";" or a header keyword
      }
    }
    return outcomeGoOn;
  }
};

}  // namespace

int CLspCallScanner::SearchStretch(const std::vector<std::string>& lines, size_t nFirst, size_t nLine,
                                   size_t nOffset, CBackward& backward, COpenCall& call) {
  // Each line is reduced on its own: a "}" whose "{" stands on an earlier
  // line is a block closed around what follows it, and ends the search.
  CReduce reduce;
  CStart start;
  for (reduce.nLine = nFirst; reduce.nLine < nLine; ++reduce.nLine) {
    reduce.opens.clear();
    start = ScanWholeLine(lines[reduce.nLine], start, reduce);
  }
  reduce.opens.clear();
  ScanLine(lines[nLine], std::min(nOffset, lines[nLine].size()), start, reduce);
  CSearch search;
  search.nDepth = backward.nDepth;
  search.nCommas = backward.nCommas;
  const CSearch::EOutcome eOutcome = search.Walk(reduce.items);
  backward.nDepth = search.nDepth;
  backward.nCommas = search.nCommas;
  if (eOutcome == CSearch::outcomeEnded) return -1;
  if (eOutcome == CSearch::outcomeGoOn) return 0;
  call.nLine = search.nParenLine;
  call.nParen = search.nParen;
  call.nArgument = search.nCommas;
  return 1;
}

}  // namespace lsp
}  // namespace nimbo
