// CFuncTipScanner: the byte-wise state machine behind the tip's argument index.
#include "assist/CFuncTipScanner.h"

bool CFuncTipScanner::ScanLine(const CString& strText) {
  // The state is kept in locals while the line is walked (it runs on every
  // key release over every line of the argument list) and stored back at
  // each way out.
  const char* const pText = strText;
  const int nLength = strText.GetLength();
  EState state = m_state;
  int nArgument = m_nArgument;
  bool bGoOn = true;
  for (int i = 0; i < nLength; ++i) {
    const char ch = pText[i];
    if (state == stateCode) {
      if (ch == '"') {
        state = stateString;
      } else if (ch == ',') {
        ++nArgument;
      } else if (ch == ')') {
        bGoOn = false;
        break;
      } else if (ch == '/' && i + 1 < nLength) {
        if (pText[i + 1] == '/') break;  // the rest of the line is a comment
        if (pText[i + 1] == '*') {
          state = stateBlockComment;
          ++i;
        }
      }
    } else if (state == stateString) {
      if (ch == '"') state = stateCode;
      else if (ch == '\\') state = stateEscape;
    } else if (state == stateEscape) {
      state = stateString;
    } else if (ch == '/' && i > 0 && pText[i - 1] == '*') {  // stateBlockComment
      state = stateCode;
    }
  }
  m_state = state;
  m_nArgument = nArgument;
  return bGoOn;
}
