// CScreenGrid: a screen of character cells, each a byte and a drawing
// attribute, with the caret's cell: what the terminal editor shows, before it
// is drawn with ncurses or printed as plain text.
#pragma once

#include <string>
#include <vector>

// What a cell stands for; the terminal maps each to colours, plain text to
// characters around runs (see ScreenToText).
enum EScreenAttr : unsigned char {
  kAttrNormal,
  kAttrTitle,
  kAttrHeading,       // the file list's heading
  kAttrFile,
  kAttrFileCurrent,   // the file shown in the editor
  kAttrFileSelected,  // the chosen file while the file list has the focus
  kAttrBorder,
  kAttrGutter,
  kAttrTip,
  kAttrTipMark,       // the tip's current parameter
  kAttrList,
  kAttrListSelected,
  kAttrListBuiltIn,   // the mark of a built-in function
  kAttrListProject,   // the mark of a function of the project's scripts
  kAttrStatus,
  kAttrStatusName,
  kAttrMessage,
  kAttrHelp,
  kAttrHelpKey,
};

struct CScreenCell {
  char ch = ' ';
  EScreenAttr attr = kAttrNormal;
};

class CScreenGrid {
 public:
  CScreenGrid(int nColumns, int nRows);

  int GetColumns() const { return m_nColumns; }
  int GetRows() const { return m_nRows; }

  // Fills a row range of cells; cells outside the grid are ignored.
  void Fill(int nRow, int nLeft, int nRight, char ch, EScreenAttr attr);
  // Writes text from (nRow, nColumn), clipped at nRight (exclusive) and at the
  // grid's edge. Bytes that a terminal cannot show as one cell (controls,
  // bytes above 126) are written as "?", a tab as a blank. Returns the
  // column after the last cell written to.
  int Put(int nRow, int nColumn, const std::string& strText, EScreenAttr attr, int nRight = -1);
  void SetAttr(int nRow, int nLeft, int nRight, EScreenAttr attr);
  const CScreenCell& At(int nRow, int nColumn) const;

  // The caret's cell, or -1, -1 when no caret is shown.
  void SetCaret(int nRow, int nColumn) {
    m_nCaretRow = nRow;
    m_nCaretColumn = nColumn;
  }
  int GetCaretRow() const { return m_nCaretRow; }
  int GetCaretColumn() const { return m_nCaretColumn; }

  // The rows as plain text, one line each, trailing blanks removed: the
  // tip's current parameter between "[" and "]", the caret as "|" in front
  // of its cell (both inserted, so the rest of such a row moves right).
  std::string ToText() const;

 private:
  bool Valid(int nRow, int nColumn) const {
    return nRow >= 0 && nRow < m_nRows && nColumn >= 0 && nColumn < m_nColumns;
  }

  int m_nColumns;
  int m_nRows;
  std::vector<CScreenCell> m_cells;
  int m_nCaretRow = -1;
  int m_nCaretColumn = -1;
};
