// CEditLayout: the cell and pixel rectangles of the terminal editor's parts.
#include "tools/edit/EditLayout.h"

#include <algorithm>

namespace {

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

CEditLayout::CEditLayout(int nColumns, int nRows)
    : m_nColumns(std::clamp<int>(nColumns, kMinColumns, kMaxColumns)),
      m_nRows(std::clamp<int>(nRows, kMinRows, kMaxRows)) {
  m_nFilesWidth = std::clamp(m_nColumns / 5, 10, 20);
}

RECT CEditLayout::FilesCells() const { return RECT{0, 2, m_nFilesWidth, StatusRow()}; }

RECT CEditLayout::GutterCells() const {
  const int nLeft = m_nFilesWidth + 1;
  return RECT{nLeft, 1, nLeft + kGutterWidth, StatusRow()};
}

RECT CEditLayout::EditorCells() const {
  return RECT{m_nFilesWidth + 1 + kGutterWidth, 1, m_nColumns, StatusRow()};
}

SIZE CEditLayout::ScreenPixels() const { return SIZE{m_nColumns * kCellWidth, m_nRows * kCellHeight}; }

RECT CEditLayout::WorkAreaPixels() const { return RECT{0, 0, m_nColumns * kCellWidth, StatusRow() * kCellHeight}; }

RECT CEditLayout::EditorPixels() const { return CellsToPixels(EditorCells()); }

RECT CEditLayout::FilesPixels() const { return CellsToPixels(FilesCells()); }

int CEditLayout::ColumnOfPixel(int x, int nCellWidth) { return FloorDiv(x, std::max(nCellWidth, 1)); }

int CEditLayout::RowOfPixel(int y, int nCellHeight) { return FloorDiv(y, std::max(nCellHeight, 1)); }

RECT CEditLayout::CellsToPixels(const RECT& rc) {
  return RECT{rc.left * kCellWidth, rc.top * kCellHeight, rc.right * kCellWidth, rc.bottom * kCellHeight};
}
