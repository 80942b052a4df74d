// The kind of text at a position of a CodeMax document: the editor's answer to
// its "text kind at the caret" message.
//
// The editor reads its text as a C-like script: "//" starts a comment that
// ends with the line, "/*" starts one that ends at the next "*/" (possibly on
// a later line; the "*" of the opening "/*" does not count for the closing
// pair), double quotes enclose strings and single quotes character literals,
// both ending at their closing quote or at the end of the line, and in both a
// backslash makes the next character ordinary.
#pragma once

#include "codemax/CCodeMaxDocument.h"

// Codes of the kind of text; see host/codemax/README.md.
enum ECodeMaxTextKind {
  kCodeMaxKindCode = 1,          // ordinary code
  kCodeMaxKindString = 2,        // inside a string (after its opening quote)
  kCodeMaxKindCharacter = 3,     // inside a character literal
  kCodeMaxKindLineComment = 4,   // after "//" on the same line
  kCodeMaxKindBlockComment = 5,  // between "/*" and "*/"
  kCodeMaxKindNoText = 255       // the document holds no text at all
};

// The kind of the text just before (nLine, nColumn): the state reached after
// reading every character of the document before that position. The position
// is clamped into the text first. An empty document gives kCodeMaxKindNoText.
int CodeMaxTextKindAt(const CCodeMaxDocument& doc, int nLine, int nColumn);
