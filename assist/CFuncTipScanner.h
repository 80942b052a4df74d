// CFuncTipScanner: counts the arguments typed so far inside an open function tip.
//
// The scanner reads the text between a tip's opening parenthesis and the caret,
// one line at a time, byte by byte. Its state and its argument index carry
// over from one line to the next, so a string or block comment left open at
// the end of a line continues on the next.
//
//   byte      | Code              | String     | Escape    | BlockComment
//   "         | -> String         | -> Code    | -> String | stay
//   backslash | stay              | -> Escape  | -> String | stay
//   ,         | index + 1         | stay       | -> String | stay
//   )         | stop: tip closes  | stay       | -> String | stay
//   /         | "//" skips the rest of the line; "/*" -> BlockComment
//             |                   | stay       | -> String | "*/" -> Code
//   other     | stay              | stay       | -> String | stay
//
// "/*" consumes its "*", and a "/" in a block comment closes it when the byte
// before it on the same line is "*", so "/*/" opens and at once closes. An
// opening parenthesis means nothing; nesting is not tracked.
//
// These rules are the tip's own and differ on purpose from the host's
// tokenizer (and the language server, which follows the tokenizer): there
// a string left open ends at its line's end; here it carries over.
#pragma once

#include "CString.h"

class CFuncTipScanner {
 public:
  enum EState { stateCode, stateString, stateEscape, stateBlockComment };

  // Starts in Code with argument index 0.
  CFuncTipScanner() = default;

  // Scans one line's text. Returns false when a closing parenthesis was met in
  // Code (the scan stops there and the tip is to close), true otherwise.
  bool ScanLine(const CString& strText);

  // The number of commas met in Code so far: 0 in the first argument.
  int GetArgumentIndex() const { return m_nArgument; }
  EState GetState() const { return m_state; }

 private:
  EState m_state = stateCode;
  int m_nArgument = 0;
};
