// NameBeforeCaret: backward scan from the caret to the name before it.
#include "assist/NameBeforeCaret.h"

bool IsNameChar(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
}

CString NameBeforeCaret(const CString& strLine, int nColumn) {
  // A negative column has no character before it, just like column 0.
  if (nColumn <= 0 || nColumn > strLine.GetLength()) return CString();
  int i = nColumn - 1;
  while (i > 0 && (strLine[i] == ' ' || strLine[i] == '(')) --i;
  const int nEnd = i;
  while (i > 0 && IsNameChar(strLine[i])) --i;
  if (!IsNameChar(strLine[i])) ++i;
  if (nEnd < i) return CString();
  return strLine.Mid(i, nEnd - i + 1);
}
