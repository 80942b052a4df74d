// CFuncTipScanner: the byte-wise state machine behind the tip's argument index.
#include "assist/CFuncTipScanner.h"

bool CFuncTipScanner::ScanLine(const CString& strText) {
  const int nLength = strText.GetLength();
  for (int i = 0; i < nLength; ++i) {
    const char ch = strText[i];
    switch (m_state) {
      case stateCode:
        if (ch == '"') {
          m_state = stateString;
        } else if (ch == ',') {
          ++m_nArgument;
        } else if (ch == ')') {
          return false;
        } else if (ch == '/' && i + 1 < nLength) {
          if (strText[i + 1] == '/') return true;  // the rest of the line is a comment
          if (strText[i + 1] == '*') {
            m_state = stateBlockComment;
            ++i;
          }
        }
        break;
      case stateString:
        if (ch == '"') m_state = stateCode;
        else if (ch == '\\') m_state = stateEscape;
        break;
      case stateEscape:
        m_state = stateString;
        break;
      case stateBlockComment:
        if (ch == '/' && i > 0 && strText[i - 1] == '*') m_state = stateCode;
        break;
    }
  }
  return true;
}
