// CLspCallScanner: the state machine over one line and the search for the
// innermost open call, line summaries first, bytes only where needed.
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

void CLspCallScanner::Reset(size_t nLines) {
  m_lines.assign(nLines, CLine());
  m_nValid = 0;
}

void CLspCallScanner::OnLinesReplaced(size_t nFirst, size_t nOldCount, size_t nNewCount) {
  if (nFirst > m_lines.size() || nOldCount > m_lines.size() - nFirst) {
    Reset(m_lines.size() - nOldCount + nNewCount);
    return;
  }
  const auto itFirst = m_lines.begin() + static_cast<std::ptrdiff_t>(nFirst);
  m_lines.erase(itFirst, itFirst + static_cast<std::ptrdiff_t>(nOldCount));
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nFirst), nNewCount, CLine());
  if (m_nValid > nFirst) m_nValid = nFirst;
}

void CLspCallScanner::Validate(const std::vector<std::string>& lines, size_t nLine) {
  if (m_lines.size() != lines.size()) Reset(lines.size());
  CReduce reduce;  // one for every line: its room is kept
  for (size_t k = m_nValid; k <= nLine && k < lines.size(); ++k) {
    const CStart start = k == 0 ? CStart() : m_lines[k - 1].end;
    CLine& line = m_lines[k];
    m_nValid = k + 1;
    if (line.bKnown && line.start == start) continue;  // text and start unchanged since worked out
    reduce.items.clear();
    reduce.opens.clear();
    line.end = ScanWholeLine(lines[k], start, reduce);
    line.bKnown = true;
    line.start = start;
    line.nUnmatchedOpen = static_cast<int>(reduce.opens.size());
    const size_t nFirstOpen = reduce.opens.empty() ? reduce.items.size() : reduce.opens.front();
    line.nUnmatchedClose = 0;
    line.nTailCommas = 0;
    line.bTailStop = false;
    for (size_t i = 0; i < nFirstOpen; ++i) {
      const char chKind = reduce.items[i].chKind;
      if (IsCloser(chKind)) {
        ++line.nUnmatchedClose;
        line.nTailCommas = 0;
        line.bTailStop = chKind == '}';
      } else if (chKind == ',') {
        ++line.nTailCommas;
      } else {
        line.bTailStop = true;
      }
    }
  }
}

bool CLspCallScanner::IsCodeAt(const std::vector<std::string>& lines, size_t nLine, size_t nOffset) {
  if (nLine >= lines.size()) return true;
  Validate(lines, nLine);
  if (nOffset > lines[nLine].size()) nOffset = lines[nLine].size();
  auto Ignore = [](size_t, char) {};
  bool bLineComment = false;
  return ScanLine(lines[nLine], nOffset, m_lines[nLine].start, Ignore, &bLineComment).eState == stateCode &&
         !bLineComment;
}

bool CLspCallScanner::FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                                   COpenCall& call) {
  if (nLine >= lines.size()) return false;
  Validate(lines, nLine);
  if (nOffset > lines[nLine].size()) nOffset = lines[nLine].size();
  CSearch search;
  CSearch::EOutcome eOutcome;
  {
    CReduce reduce;
    ScanLine(lines[nLine], nOffset, m_lines[nLine].start, reduce);
    eOutcome = search.Walk(reduce.items);
  }
  size_t nFound = nLine;
  // Whole lines by their summaries: a line whose unmatched openers are all
  // matched by closers after it lies inside a closed pair; one with as many
  // openers as pending closers shows its stretch before them at our level.
  for (size_t k = nLine; eOutcome == CSearch::outcomeGoOn && k-- > 0;) {
    const CLine& line = m_lines[k];
    if (search.nDepth > line.nUnmatchedOpen) {
      search.nDepth += line.nUnmatchedClose - line.nUnmatchedOpen;
    } else if (search.nDepth == line.nUnmatchedOpen) {
      if (line.bTailStop) return false;
      search.nCommas += line.nTailCommas;
      search.nDepth = line.nUnmatchedClose;
    } else {
      CReduce reduce;
      ScanLine(lines[k], lines[k].size(), line.start, reduce);
      eOutcome = search.Walk(reduce.items);
      nFound = k;
    }
  }
  if (eOutcome != CSearch::outcomeFound) return false;
  call.nLine = nFound;
  call.nParen = search.nParen;
  call.nArgument = search.nCommas;
  return true;
}

int CLspCallScanner::SearchStretch(const std::vector<std::string>& lines, size_t nFirst, size_t nLine,
                                   size_t nOffset, CBackward& backward, COpenCall& call) {
  // Each line is reduced on its own, as the table's summaries are: a "}"
  // whose "{" stands on an earlier line still ends the search there.
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
