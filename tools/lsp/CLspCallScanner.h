// CLspCallScanner: finds the call still open before a position of a
// document, keeping per line the scan state at its start so that the work
// after an edit grows with the edit, not with the document.
//
// The scan reads bytes in five states. Code: '"' opens a string, '\'' a
// character literal, "//" ends the line, "/*" opens a block comment, and
// "(", ")" and "," are the events that the call search counts. String and
// Char: a backslash escapes the next byte; the same quote closes. Block
// comment: "*/" on one line closes ("/*/" does not). As in the function
// tip, a string or block comment left open at a line's end carries over to
// the next line.
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

  // Forgets every line: the next search rescans from the first line.
  void Reset(size_t nLines);
  // Lines [nFirst, nFirst + nOldCount) were replaced by nNewCount lines.
  // What is known of the lines after them is kept and reused as soon as a
  // search finds their start state unchanged, so an edit that does not
  // change the state at its end costs no rescan of the rest.
  void OnLinesReplaced(size_t nFirst, size_t nOldCount, size_t nNewCount);

  // The innermost call open before byte nOffset of line nLine of lines,
  // which must be the text the scanner was told about. False when every "("
  // before the position is closed (or none is there).
  bool FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset, COpenCall& call);

  // Whether byte nOffset of line nLine (lines as above) is in code: not in
  // a string, a character literal or a comment.
  bool IsCodeAt(const std::vector<std::string>& lines, size_t nLine, size_t nOffset);

  // The state at the start of line nLine (lines as above).
  EState StateAtLine(const std::vector<std::string>& lines, size_t nLine);

 private:
  // What a line means to the call search, given the state it starts in.
  struct CLine {
    bool bKnown = false;      // the rest was worked out for eStart and the line's current text
    EState eStart = stateCode;
    EState eEnd = stateCode;
    int nUnmatchedClose = 0;  // ")" in code with no "(" before it on the line
    int nUnmatchedOpen = 0;   // "(" in code with no ")" after it on the line
    int nTailCommas = 0;      // "," at the line's own level after its last unmatched ")"
  };

  // Brings m_lines[0..nLine] up to date.
  void Validate(const std::vector<std::string>& lines, size_t nLine);

  std::vector<CLine> m_lines;
  size_t m_nValid = 0;  // m_lines[0..m_nValid) are right; known lines after it may be
};

}  // namespace lsp
}  // namespace nimbo
