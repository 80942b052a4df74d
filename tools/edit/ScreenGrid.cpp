// CScreenGrid: cells, writing with clipping, and the plain-text form.
#include "tools/edit/ScreenGrid.h"

#include <algorithm>

CScreenGrid::CScreenGrid(int nColumns, int nRows)
    : m_nColumns(std::max(nColumns, 0)),
      m_nRows(std::max(nRows, 0)),
      m_cells(static_cast<size_t>(m_nColumns) * static_cast<size_t>(m_nRows)) {}

void CScreenGrid::Fill(int nRow, int nLeft, int nRight, char ch, EScreenAttr attr) {
  for (int nColumn = std::max(nLeft, 0); nColumn < std::min(nRight, m_nColumns); ++nColumn) {
    if (!Valid(nRow, nColumn)) continue;
    CScreenCell& cell = m_cells[static_cast<size_t>(nRow * m_nColumns + nColumn)];
    cell.ch = ch;
    cell.attr = attr;
  }
}

int CScreenGrid::Put(int nRow, int nColumn, const std::string& strText, EScreenAttr attr, int nRight) {
  const int nEnd = nRight < 0 ? m_nColumns : std::min(nRight, m_nColumns);
  for (char ch : strText) {
    if (nColumn >= nEnd) break;
    if (Valid(nRow, nColumn)) {
      const unsigned char uch = static_cast<unsigned char>(ch);
      CScreenCell& cell = m_cells[static_cast<size_t>(nRow * m_nColumns + nColumn)];
      cell.ch = ch == '\t' ? ' ' : (uch < 32 || uch > 126) ? '?' : ch;
      cell.attr = attr;
    }
    ++nColumn;
  }
  return nColumn;
}

void CScreenGrid::SetAttr(int nRow, int nLeft, int nRight, EScreenAttr attr) {
  for (int nColumn = std::max(nLeft, 0); nColumn < std::min(nRight, m_nColumns); ++nColumn)
    if (Valid(nRow, nColumn)) m_cells[static_cast<size_t>(nRow * m_nColumns + nColumn)].attr = attr;
}

const CScreenCell& CScreenGrid::At(int nRow, int nColumn) const {
  static const CScreenCell s_blank;
  return Valid(nRow, nColumn) ? m_cells[static_cast<size_t>(nRow * m_nColumns + nColumn)] : s_blank;
}

std::string CScreenGrid::ToText() const {
  std::string strText;
  for (int nRow = 0; nRow < m_nRows; ++nRow) {
    std::string strLine;
    bool bInMark = false;
    for (int nColumn = 0; nColumn < m_nColumns; ++nColumn) {
      const CScreenCell& cell = At(nRow, nColumn);
      const bool bMark = cell.attr == kAttrTipMark;
      if (bMark && !bInMark) strLine += '[';
      if (!bMark && bInMark) strLine += ']';
      bInMark = bMark;
      if (nRow == m_nCaretRow && nColumn == m_nCaretColumn) strLine += '|';
      strLine += cell.ch;
    }
    if (bInMark) strLine += ']';
    if (nRow == m_nCaretRow && m_nCaretColumn == m_nColumns) strLine += '|';
    strLine.erase(strLine.find_last_not_of(' ') + 1);
    strText += strLine;
    strText += '\n';
  }
  return strText;
}
