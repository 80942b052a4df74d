// The messages of the CodeMax editor window: the six that code assistance
// sends, and the host's own for setting up and reading the editor.
// host/codemax/README.md describes each with its arguments and answer.
#pragma once

#include "Win32User.h"

// The window class name of the editor.
#define CODEMAX_CLASSNAME "CodeMax"

// ---- Queries used by code assistance ----------------------------------------
// wParam line, lParam char* of (length + 1) bytes: copies the line and a zero.
#define CMM_GETLINE 3394
// wParam line: the line's length (0 for a line outside the text).
#define CMM_GETLINELENGTH 3404
// lParam int[5]: anchor line, anchor column, caret line, caret column, 0.
#define CMM_GETSEL 3444
// wParam MAKEWPARAM(x, y) in client pixels, lParam int[2]: line, column there.
#define CMM_POSFROMPOINT 3449
// The kind of text at the caret (ECodeMaxTextKind).
#define CMM_GETTEXTKIND 5204

// ---- Host messages ------------------------------------------------------------
// lParam const char* (null: no text): replaces the text; caret and scroll to 0.
#define CMM_SETTEXT (WM_USER + 1)
// wParam buffer size, lParam char* (may be null): copies as much of the text
// as fits with a zero; answers the whole text's length.
#define CMM_GETTEXT (WM_USER + 2)
// wParam line, lParam column: moves the caret (clamped into the text).
#define CMM_SETCARETPOS (WM_USER + 3)
// lParam const char*: inserts text at the caret without any key message.
#define CMM_INSERTTEXT (WM_USER + 4)
// wParam top line, lParam left column: scrolls the view.
#define CMM_SETSCROLLPOS (WM_USER + 5)
// The number of lines (at least 1).
#define CMM_GETLINECOUNT (WM_USER + 6)
