// RenderEditSession: draws what the terminal editor shows into a grid of
// cells: the title, the file list, the editor's visible lines with their
// numbers, the function tip where the library put it (its window rectangle in
// screen pixels mapped to cells with the editor font's cell size), the
// completion list, the status row and the help row.
#pragma once

#include "tools/edit/EditSession.h"
#include "tools/edit/ScreenGrid.h"

// The grid takes the session's layout size. Not const: the status row asks
// the controller for the function name at the caret.
CScreenGrid RenderEditSession(CEditSession& session);
