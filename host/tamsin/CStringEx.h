// CStringEx: a CString with the character tests and the splitting at a
// divider character that line-oriented readers use.
//
// Every member keeps the bytes as they are: nothing is trimmed, so blanks
// next to a divider belong to the parts. LeftChar and RightChar divide at the
// FIRST occurrence of the divider, so in "a=b=c" the left part is "a" and the
// right part "b=c". An INI entry line therefore reads back exactly as it was
// written whenever its key holds no "=", whatever its value holds.
#pragma once

#include "CString.h"

class CStringEx : public CString {
 public:
  CStringEx() = default;
  CStringEx(const CString& source);  // NOLINT: implicit, like CString's own
  CStringEx(CString&& source) noexcept;  // NOLINT: takes over the text without copying it
  CStringEx(const char* psz);        // NOLINT
  // The nCount characters of source starting at index nFirst, clamped to
  // the source as CString::Mid clamps.
  CStringEx(const CString& source, int nFirst, int nCount);

  // Whether the first (last) character is c; false for the empty string.
  bool IsFirstChar(char c) const;
  bool IsLastChar(char c) const;
  // The text before the first c; the whole string when it holds no c.
  CString LeftChar(char c) const;
  // The text after the first c; the empty string when it holds no c.
  CString RightChar(char c) const;
};
