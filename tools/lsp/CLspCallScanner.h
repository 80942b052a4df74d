// CLspCallScanner: the byte states a script's lines are read in, and the
// search for the call still open before a position of a document, which
// reads back from the position only while nothing read decides, so that
// its work grows with the distance to what decides, not with the document.
//
// The scan reads bytes in five states. Code: '"' opens a string, '\'' a
// character literal, "//" ends the line, "/*" opens a block comment. String
// and Char: a backslash escapes the next byte; the same quote closes, and
// the line's end does too unless a backslash takes the line break (as the
// host's tokenizer reads literals; see LspCodeScan.h). Block comment: "*/"
// on one line closes ("/*/" does not); one left open at a line's end
// carries over to the next line.
//
// In code, every bracket nests: "(", "[" and "{" open, ")", "]" and "}"
// close, and only the commas at a call's own level count as its argument
// separators. A call reaches from its "(" up to where its statement ends:
// a ";" at its level, a "{" left open at its level, a "}" that closes a
// block around it, or the keyword "function" or "declare" that begins a new
// header. What lies inside a bracket pair closed before the position is
// passed over whole, statement ends included. The "(" of
// a function header or declaration (after "function" or "declare" and the
// name) opens a parameter list, not a call: no call is open inside it.
#pragma once

#include <string>
#include <vector>

namespace nimbo {
namespace lsp {

class CLspCallScanner {
 public:
  enum EState : unsigned char { stateCode, stateString, stateStringEscape, stateChar, stateCharEscape, stateComment };

  // The call open at a position: the line and byte offset of its "(" and
  // the number of commas at its own level between the "(" and the position.
  struct COpenCall {
    size_t nLine = 0;
    size_t nParen = 0;
    int nArgument = 0;
  };

  // The innermost call open before byte nOffset of line nLine of lines. An
  // open "[" is passed outwards (the position is in an array or an index,
  // an argument of the call around it). False when no "(" before the
  // position is open, or its statement ended before the position, or the
  // innermost open "(" is a function header's. The search reads the
  // stretch of lines that holds the position, from its first line to the
  // position, and, while nothing before the position in it decides, the
  // stretch before, and so on. FirstOfStretch(n) gives the first line of
  // the stretch that holds line n: a line that starts in code with no
  // header waiting (line 0 does), as the document's facts know of each line.
  template <typename FFirst>
  static bool FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                             const FFirst& FirstOfStretch, COpenCall& call);

  // The scan state at the start of a line: the byte state, and whether a
  // header keyword still waits for its "(".
  struct CStart {
    EState eState = stateCode;
    bool bHeader = false;
    bool operator==(const CStart& other) const { return eState == other.eState && bHeader == other.bHeader; }
  };

  // One stretch of FindOpenCall: lines [nFirst, nLine], the last up to
  // nOffset, searched backwards on from what the stretches after it left
  // (nDepth closers pending, nCommas counted). 1: found, 0: go on before
  // nFirst, -1: no call open.
  struct CBackward {
    int nDepth = 0;
    int nCommas = 0;
  };
  static int SearchStretch(const std::vector<std::string>& lines, size_t nFirst, size_t nLine, size_t nOffset,
                           CBackward& backward, COpenCall& call);
};

template <typename FFirst>
bool CLspCallScanner::FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                                     const FFirst& FirstOfStretch, COpenCall& call) {
  if (nLine >= lines.size()) return false;
  CBackward backward;
  for (;;) {
    const size_t nFirst = FirstOfStretch(nLine);
    const int nOutcome = SearchStretch(lines, nFirst, nLine, nOffset, backward, call);
    if (nOutcome != 0 || nFirst == 0) return nOutcome > 0;
    nLine = nFirst - 1;
    nOffset = lines[nLine].size();
  }
}

}  // namespace lsp
}  // namespace nimbo
