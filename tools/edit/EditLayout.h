// CEditLayout: where the parts of the terminal editor stand on a screen of
// character cells, and the simulated desktop's pixels behind those cells.
//
// Rows, top to bottom: a title row, the panes (the project's file list on the
// left, a one-cell separator, the line-number gutter and the editor), a status
// row and a help row. Each cell is kCellWidth x kCellHeight pixels, the cell of
// the editor's font (lfHeight -kCellHeight, a fixed-pitch font half as wide as
// high), so the editor window's pixels fall exactly on the editor's cells. The
// work area is the screen without the status and help rows, so a tip that
// would reach over them is put above the caret.
#pragma once

#include "Win32Def.h"

class CEditLayout {
 public:
  enum {
    kCellWidth = 8,    // pixels
    kCellHeight = 16,  // pixels
    kGutterWidth = 5,  // cells: four digits and a blank
    kMinColumns = 40,
    kMinRows = 8,
    // The screen's pixels must fit the 16-bit coordinates of window messages.
    kMaxColumns = 1000,
    kMaxRows = 500,
  };

  // A screen of nColumns x nRows cells (held between the minimum and the
  // maximum size).
  CEditLayout(int nColumns, int nRows);

  int GetColumns() const { return m_nColumns; }
  int GetRows() const { return m_nRows; }

  // Cell rectangles (right and bottom exclusive).
  RECT FilesCells() const;   // the file list, below its heading row
  int SeparatorColumn() const { return m_nFilesWidth; }
  RECT GutterCells() const;  // the line numbers
  RECT EditorCells() const;  // the editor window's text area
  int StatusRow() const { return m_nRows - 2; }
  int HelpRow() const { return m_nRows - 1; }

  // Pixels of the simulated desktop.
  SIZE ScreenPixels() const;
  RECT WorkAreaPixels() const;
  RECT EditorPixels() const;  // the frame window, filled by the editor
  RECT FilesPixels() const;   // the file-list window

  // The cell holding a screen pixel, for any pixel (floor division, so
  // negative pixels give negative cells).
  static int ColumnOfPixel(int x, int nCellWidth = kCellWidth);
  static int RowOfPixel(int y, int nCellHeight = kCellHeight);
  static RECT CellsToPixels(const RECT& rcCells);

 private:
  int m_nColumns;
  int m_nRows;
  int m_nFilesWidth;  // cells, the separator not included
};
