// ReadEditorLine: fetches one line of text from a CodeMax editor window.
#pragma once

#include "CString.h"
#include "CWnd.h"

// Asks the editor for the line's length, hands it a zero-filled buffer of that
// length plus one byte and returns the bytes before the first zero (an empty
// line too is asked for, with one byte). A null editor handle, a negative
// line index or a negative length answer gives an empty string (no buffer is
// handed over for those).
CString ReadEditorLine(const CWnd& editor, int nLine);
