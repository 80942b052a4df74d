// CLspCallScanner: the state machine over one line and the search for the
// innermost open call, line summaries first, bytes only where needed.
#include "tools/lsp/CLspCallScanner.h"

namespace nimbo {
namespace lsp {

namespace {

typedef CLspCallScanner::EState EState;

// Scans strLine[0..nEnd) from eState and calls onEvent(offset, byte) for
// every "(", ")" and "," in code. Returns the state at nEnd (Code after a
// line comment, which sets *pLineComment when given).
template <typename FEvent>
EState ScanLine(const std::string& strLine, size_t nEnd, EState eState, FEvent& onEvent,
                bool* pLineComment = nullptr) {
  const char* p = strLine.data();
  for (size_t i = 0; i < nEnd; ++i) {
    const char ch = p[i];
    switch (eState) {
      case CLspCallScanner::stateCode:
        if (ch == '"') {
          eState = CLspCallScanner::stateString;
        } else if (ch == '\'') {
          eState = CLspCallScanner::stateChar;
        } else if (ch == '(' || ch == ')' || ch == ',') {
          onEvent(i, ch);
        } else if (ch == '/' && i + 1 < nEnd) {
          if (p[i + 1] == '/') {
            if (pLineComment != nullptr) *pLineComment = true;
            return CLspCallScanner::stateCode;
          }
          if (p[i + 1] == '*') {
            eState = CLspCallScanner::stateComment;
            ++i;  // the "*" of "/*" cannot close the comment
          }
        }
        break;
      case CLspCallScanner::stateString:
      case CLspCallScanner::stateChar: {
        // Either literal ends at its own quote; a backslash escapes the next character.
        const bool bString = eState == CLspCallScanner::stateString;
        if (ch == (bString ? '"' : '\''))
          eState = CLspCallScanner::stateCode;
        else if (ch == '\\')
          eState = bString ? CLspCallScanner::stateStringEscape : CLspCallScanner::stateCharEscape;
        break;
      }
      case CLspCallScanner::stateStringEscape:
      case CLspCallScanner::stateCharEscape:
        eState = eState == CLspCallScanner::stateStringEscape ? CLspCallScanner::stateString
                                                              : CLspCallScanner::stateChar;
        break;
      case CLspCallScanner::stateComment:
        if (ch == '*' && i + 1 < nEnd && p[i + 1] == '/') {
          eState = CLspCallScanner::stateCode;
          ++i;
        }
        break;
    }
  }
  return eState;
}

// An open "(" met while scanning forward, with the commas at its level since.
struct COpen {
  size_t nParen;
  int nCommas;
};

// Scans a line up to nEnd keeping the stack of "(" still open at the end;
// commas and ")" at the line's own level are counted in nBaseCommas (reset
// by each such ")") and nUnmatchedClose.
struct CStackScan {
  std::vector<COpen> stack;
  int nBaseCommas = 0;
  int nUnmatchedClose = 0;

  void operator()(size_t nOffset, char ch) {
    if (ch == '(') {
      stack.push_back({nOffset, 0});
    } else if (ch == ',') {
      if (stack.empty()) ++nBaseCommas;
      else ++stack.back().nCommas;
    } else if (!stack.empty()) {
      stack.pop_back();
    } else {
      ++nUnmatchedClose;
      nBaseCommas = 0;
    }
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
  for (size_t k = m_nValid; k <= nLine && k < lines.size(); ++k) {
    const EState eStart = k == 0 ? stateCode : m_lines[k - 1].eEnd;
    CLine& line = m_lines[k];
    m_nValid = k + 1;
    if (line.bKnown && line.eStart == eStart) continue;  // text and start unchanged since worked out
    CStackScan scan;
    line.eEnd = ScanLine(lines[k], lines[k].size(), eStart, scan);
    line.bKnown = true;
    line.eStart = eStart;
    line.nUnmatchedClose = scan.nUnmatchedClose;
    line.nUnmatchedOpen = static_cast<int>(scan.stack.size());
    line.nTailCommas = scan.nBaseCommas;
  }
}

CLspCallScanner::EState CLspCallScanner::StateAtLine(const std::vector<std::string>& lines, size_t nLine) {
  if (nLine >= lines.size()) return stateCode;
  Validate(lines, nLine);
  return m_lines[nLine].eStart;
}

bool CLspCallScanner::IsCodeAt(const std::vector<std::string>& lines, size_t nLine, size_t nOffset) {
  if (nLine >= lines.size()) return true;
  Validate(lines, nLine);
  if (nOffset > lines[nLine].size()) nOffset = lines[nLine].size();
  auto Ignore = [](size_t, char) {};
  bool bLineComment = false;
  return ScanLine(lines[nLine], nOffset, m_lines[nLine].eStart, Ignore, &bLineComment) == stateCode && !bLineComment;
}

bool CLspCallScanner::FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                                   COpenCall& call) {
  if (nLine >= lines.size()) return false;
  Validate(lines, nLine);
  if (nOffset > lines[nLine].size()) nOffset = lines[nLine].size();
  CStackScan scan;
  ScanLine(lines[nLine], nOffset, m_lines[nLine].eStart, scan);
  if (!scan.stack.empty()) {
    call.nLine = nLine;
    call.nParen = scan.stack.back().nParen;
    call.nArgument = scan.stack.back().nCommas;
    return true;
  }
  // Walk back over whole lines by their summaries: d is the number of ")"
  // after the position's level still waiting for their "(".
  int nDepth = scan.nUnmatchedClose;
  int nCommas = scan.nBaseCommas;
  for (size_t k = nLine; k-- > 0;) {
    const CLine& line = m_lines[k];
    if (line.nUnmatchedOpen > nDepth) {
      CStackScan found;
      ScanLine(lines[k], lines[k].size(), line.eStart, found);
      const COpen& open = found.stack[found.stack.size() - 1 - static_cast<size_t>(nDepth)];
      call.nLine = k;
      call.nParen = open.nParen;
      call.nArgument = open.nCommas + nCommas;
      return true;
    }
    if (line.nUnmatchedOpen == nDepth) nCommas += line.nTailCommas;
    nDepth += line.nUnmatchedClose - line.nUnmatchedOpen;
  }
  return false;
}

}  // namespace lsp
}  // namespace nimbo
