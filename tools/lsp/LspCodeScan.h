// LspCodeScan: the byte rules of the script language that every reader of
// a script's text in the language server shares: which bytes are code,
// string, character literal or comment, which make a word, and where a
// function header begins. The call search and the script's facts both scan
// lines through ScanLine, so they never disagree about what is code.
//
// Strings and character literals are read as the host's tokenizer reads
// them (and so as the user catalogue does): a backslash takes the next byte,
// and a literal left open ends at the end of its line, unless that line's
// last byte is a backslash, which takes the line break and carries the
// literal on. The function tip in assist/ keeps its own older reading on
// purpose (a string there carries over to the next line); the server does
// not share it.
#pragma once

#include <string>

#include "darnel2/CTokenizer.h"
#include "tools/lsp/CLspCallScanner.h"

namespace nimbo {
namespace lsp {

// A byte of a word of the script language (letters, digits, "_" and every
// byte of 0x80 and above), as the host's tokenizer reads words.
inline bool IsWordByte(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
}

// The end of the word that begins at nFirst of strLine.
inline size_t WordEnd(const std::string& strLine, size_t nFirst) {
  while (nFirst < strLine.size() && IsWordByte(strLine[nFirst])) ++nFirst;
  return nFirst;
}

// Scans strLine[0..nEnd) from state and calls onEvent(offset, kind) for
// every bracket, "," and ";" in code, with kind the byte itself, 'k' for a
// header keyword ("function", "declare") and 'h' for the "(" of a header.
// With bWords it also reports 'w' at the first byte of every other word,
// 'q' at the quote that opens a string or character literal, '.' for a
// dot in code and 'o' for any other byte of code that is not blank (an
// operator, a stray byte), so that a word followed by 'o' or 'q' is known
// not to stand right before what comes next. Returns the state at nEnd
// (Code after a line comment, which sets *pLineComment when given). The
// state is that within the line: ScanWholeLine adds the line break.
template <bool bWords = false, typename FEvent>
CLspCallScanner::CStart ScanLine(const std::string& strLine, size_t nEnd, CLspCallScanner::CStart state,
                                 FEvent& onEvent, bool* pLineComment = nullptr) {
  typedef CLspCallScanner S;
  const char* p = strLine.data();
  S::EState eState = state.eState;
  for (size_t i = 0; i < nEnd; ++i) {
    const char ch = p[i];
    switch (eState) {
      case S::stateCode:
        if (ch == '"' || ch == '\'') {
          eState = ch == '"' ? S::stateString : S::stateChar;
          if (bWords) onEvent(i, 'q');
        } else if (ch == '(' && state.bHeader) {
          state.bHeader = false;
          onEvent(i, 'h');
        } else if (ch == '(' || ch == ')' || ch == '[' || ch == ']' || ch == ',') {
          onEvent(i, ch);
        } else if (ch == '{' || ch == '}' || ch == ';') {
          state.bHeader = false;
          onEvent(i, ch);
        } else if (IsWordByte(ch)) {
          // A whole word at once; "function" and "declare" begin a header.
          size_t j = i + 1;
          while (j < nEnd && IsWordByte(p[j])) ++j;
          const eToken eKind = CTokenizer::KindOfWord(p + i, j - i);
          if (eKind == tkFunction || eKind == tkDeclare) {
            state.bHeader = true;
            onEvent(i, 'k');
          } else if (bWords) {
            onEvent(i, 'w');
          }
          i = j - 1;
        } else if (ch == '.') {
          if (bWords) onEvent(i, '.');
        } else if (ch == '/' && i + 1 < nEnd && (p[i + 1] == '/' || p[i + 1] == '*')) {
          if (p[i + 1] == '/') {
            if (pLineComment != nullptr) *pLineComment = true;
            state.eState = S::stateCode;
            return state;
          }
          eState = S::stateComment;
          ++i;  // the "*" of "/*" cannot close the comment
        } else if (bWords && ch != ' ' && ch != '\t' && ch != '\r' && ch != '\v' && ch != '\f') {
          onEvent(i, 'o');
        }
        break;
      case S::stateString:
      case S::stateChar: {
        // Either literal ends at its own quote; a backslash escapes the next character.
        const bool bString = eState == S::stateString;
        if (ch == (bString ? '"' : '\''))
          eState = S::stateCode;
        else if (ch == '\\')
          eState = bString ? S::stateStringEscape : S::stateCharEscape;
        break;
      }
      case S::stateStringEscape:
      case S::stateCharEscape:
        eState = eState == S::stateStringEscape ? S::stateString : S::stateChar;
        break;
      case S::stateComment:
        if (ch == '*' && i + 1 < nEnd && p[i + 1] == '/') {
          eState = S::stateCode;
          ++i;
        }
        break;
    }
  }
  state.eState = eState;
  return state;
}

// Scans the whole of strLine as ScanLine does, then its line break: a
// string or character literal still open ends there (reported with bWords
// as 'u' at the line's end), one whose escape waits takes the break and
// goes on in the next line. Returns the state the next line starts in.
template <bool bWords = false, typename FEvent>
CLspCallScanner::CStart ScanWholeLine(const std::string& strLine, CLspCallScanner::CStart state, FEvent& onEvent,
                                      bool* pLineComment = nullptr) {
  typedef CLspCallScanner S;
  state = ScanLine<bWords>(strLine, strLine.size(), state, onEvent, pLineComment);
  switch (state.eState) {
    case S::stateString:
    case S::stateChar:
      if (bWords) onEvent(strLine.size(), 'u');
      state.eState = S::stateCode;
      break;
    case S::stateStringEscape:
      state.eState = S::stateString;
      break;
    case S::stateCharEscape:
      state.eState = S::stateChar;
      break;
    default:
      break;
  }
  return state;
}

}  // namespace lsp
}  // namespace nimbo
