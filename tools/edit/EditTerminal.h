// CEditTerminal: the terminal under ncurses for nimbo edit: raw keys, the
// mouse, colours, and drawing a grid of cells with the least output (ncurses
// sends only the cells that changed, so nothing flickers).
#pragma once

#include <string>

#include "tools/edit/ScreenGrid.h"

class CEditTerminal {
 public:
  CEditTerminal() = default;
  // Restores the terminal when it was opened.
  ~CEditTerminal();
  CEditTerminal(const CEditTerminal&) = delete;  // owns the terminal's state
  CEditTerminal& operator=(const CEditTerminal&) = delete;

  // Takes over the terminal of stdin and stdout. False with a one-line
  // message when it cannot (no terminal, an unknown TERM).
  bool Open(std::string& strError);
  void Close();

  void GetSize(int& nColumns, int& nRows) const;
  // Draws the grid and puts the terminal's cursor on the caret (hidden when
  // there is none).
  void Draw(const CScreenGrid& grid);
  // The next key as ncurses reports it (KEY_* codes, bytes, KEY_RESIZE,
  // KEY_MOUSE); with bWait false, ERR when no key is waiting.
  int ReadKey(bool bWait);
  // The cell of the last mouse press; false when the event was no press.
  bool ReadClick(int& nRow, int& nColumn);

 private:
  int AttrOf(EScreenAttr attr) const;

  void* m_pScreen = nullptr;  // the ncurses SCREEN
  bool m_bColor = false;
};
