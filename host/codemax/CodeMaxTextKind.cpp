// Classification of CodeMax text into code, strings, characters and comments.
#include "codemax/CodeMaxTextKind.h"

#include <algorithm>

namespace {

enum EState { stCode, stString, stStringEscape, stChar, stCharEscape, stLineComment, stBlockComment };

int KindOf(EState state) {
  switch (state) {
    case stString:
    case stStringEscape:
      return kCodeMaxKindString;
    case stChar:
    case stCharEscape:
      return kCodeMaxKindCharacter;
    case stLineComment:
      return kCodeMaxKindLineComment;
    case stBlockComment:
      return kCodeMaxKindBlockComment;
    case stCode:
      break;
  }
  return kCodeMaxKindCode;
}

// Reads the first nCount characters of one line, starting in `state`.
EState ScanLine(const std::string& line, size_t nCount, EState state) {
  bool bStarBefore = false;  // in a block comment: the previous character was a closing-pair "*"
  for (size_t i = 0; i < nCount; ++i) {
    char ch = line[i];
    switch (state) {
      case stCode:
        if (ch == '"') {
          state = stString;
        } else if (ch == '\'') {
          state = stChar;
        } else if (ch == '/' && i + 1 < line.size() && line[i + 1] == '/' && i + 1 < nCount) {
          return stLineComment;
        } else if (ch == '/' && i + 1 < line.size() && line[i + 1] == '*' && i + 1 < nCount) {
          state = stBlockComment;
          bStarBefore = false;
          ++i;  // the "*" of "/*" opens, it cannot also close
        }
        break;
      case stString:
      case stChar:
        // Either literal ends at its own quote; a backslash escapes the next character.
        if (ch == '\\') state = state == stString ? stStringEscape : stCharEscape;
        else if (ch == (state == stString ? '"' : '\'')) state = stCode;
        break;
      case stStringEscape:
      case stCharEscape:
        state = state == stStringEscape ? stString : stChar;
        break;
      case stLineComment:
        return stLineComment;
      case stBlockComment:
        if (ch == '/' && bStarBefore) state = stCode;
        bStarBefore = ch == '*';
        break;
    }
  }
  return state;
}

}  // namespace

int CodeMaxTextKindAt(const CCodeMaxDocument& doc, int nLine, int nColumn) {
  if (doc.IsEmpty()) return kCodeMaxKindNoText;
  nLine = std::clamp(nLine, 0, doc.GetLineCount() - 1);
  nColumn = std::clamp(nColumn, 0, doc.GetLineLength(nLine));
  EState state = stCode;
  for (int n = 0; n < nLine; ++n) {
    state = ScanLine(doc.GetLine(n), static_cast<size_t>(doc.GetLineLength(n)), state);
    // Only block comments carry over a line end.
    if (state != stBlockComment) state = stCode;
  }
  return KindOf(ScanLine(doc.GetLine(nLine), static_cast<size_t>(nColumn), state));
}
