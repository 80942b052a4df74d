// NameBeforeCaret: the identifier that a typed "(" would call, found by
// scanning a line backwards from the caret.
#pragma once

#include "CString.h"

// True for the bytes that make up a function name: ASCII letters and digits
// and "_". Bytes above 127 (both halves of a double-byte character) are not.
bool IsNameChar(char ch);

// The name just before column nColumn of strLine (nColumn counts the
// characters before the caret). Spaces and "(" right before the caret are
// skipped (a tab is not), then the identifier characters before them are
// taken; the character at index 0 is never skipped over. Returns an empty
// string when there is no such name, when nColumn is 0 or negative, or when
// nColumn lies beyond the end of the line.
CString NameBeforeCaret(const CString& strLine, int nColumn);
