// CEditTerminal: ncurses set-up, colours and drawing.
#include "tools/edit/EditTerminal.h"

#include <curses.h>
#include <unistd.h>

namespace {

enum EPair {
  kPairTitle = 1,
  kPairBorder,
  kPairGutter,
  kPairTip,
  kPairList,
  kPairListSelected,
  kPairListBuiltIn,
  kPairListProject,
  kPairStatus,
  kPairStatusName,
  kPairMessage,
  kPairHelp,
};

}  // namespace

CEditTerminal::~CEditTerminal() { Close(); }

bool CEditTerminal::Open(std::string& strError) {
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
    strError = "needs a terminal on stdin and stdout (without one: nimbo demo, or nimbo replay SCRIPT)";
    return false;
  }
  SCREEN* pScreen = newterm(nullptr, stdout, stdin);
  if (pScreen == nullptr) {
    strError = "cannot use the terminal (is TERM set to a known terminal type?)";
    return false;
  }
  m_pScreen = pScreen;
  set_term(pScreen);
  raw();  // Ctrl+S, Ctrl+Q and Ctrl+C come as keys
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  set_escdelay(25);
  mousemask(BUTTON1_PRESSED, nullptr);
  mouseinterval(0);
  m_bColor = has_colors() == TRUE && start_color() == OK;
  if (m_bColor) {
    use_default_colors();
    init_pair(kPairTitle, COLOR_BLACK, COLOR_CYAN);
    init_pair(kPairBorder, COLOR_BLUE, -1);
    init_pair(kPairGutter, COLOR_CYAN, -1);
    init_pair(kPairTip, COLOR_BLACK, COLOR_YELLOW);
    init_pair(kPairList, COLOR_BLACK, COLOR_WHITE);
    init_pair(kPairListSelected, COLOR_WHITE, COLOR_BLUE);
    init_pair(kPairListBuiltIn, COLOR_BLUE, COLOR_WHITE);
    init_pair(kPairListProject, COLOR_MAGENTA, COLOR_WHITE);
    init_pair(kPairStatus, COLOR_WHITE, COLOR_BLUE);
    init_pair(kPairStatusName, COLOR_YELLOW, COLOR_BLUE);
    init_pair(kPairMessage, COLOR_BLACK, COLOR_GREEN);
    init_pair(kPairHelp, COLOR_BLACK, COLOR_WHITE);
  }
  return true;
}

void CEditTerminal::Close() {
  if (m_pScreen == nullptr) return;
  endwin();
  delscreen(static_cast<SCREEN*>(m_pScreen));
  m_pScreen = nullptr;
}

void CEditTerminal::GetSize(int& nColumns, int& nRows) const {
  int y = 0;
  int x = 0;
  getmaxyx(stdscr, y, x);
  nColumns = x;
  nRows = y;
}

int CEditTerminal::AttrOf(EScreenAttr attr) const {
  if (!m_bColor) {
    switch (attr) {
      case kAttrTitle: case kAttrStatus: case kAttrHelp: case kAttrList: case kAttrTip: return A_REVERSE;
      case kAttrTipMark: return A_BOLD | A_UNDERLINE;
      case kAttrListSelected: case kAttrFileSelected: return A_BOLD | A_UNDERLINE;
      case kAttrHeading: case kAttrFileCurrent: case kAttrStatusName: case kAttrHelpKey: return A_BOLD;
      case kAttrListBuiltIn: case kAttrListProject: case kAttrMessage: return A_REVERSE | A_BOLD;
      default: return A_NORMAL;
    }
  }
  switch (attr) {
    case kAttrTitle: return COLOR_PAIR(kPairTitle);
    case kAttrHeading: return A_BOLD | A_UNDERLINE;
    case kAttrFileCurrent: return A_BOLD;
    case kAttrFileSelected: return A_REVERSE;
    case kAttrBorder: return COLOR_PAIR(kPairBorder);
    case kAttrGutter: return COLOR_PAIR(kPairGutter);
    case kAttrTip: return COLOR_PAIR(kPairTip);
    // The current parameter: the tip's colours reversed, in bold.
    case kAttrTipMark: return COLOR_PAIR(kPairTip) | A_REVERSE | A_BOLD;
    case kAttrList: return COLOR_PAIR(kPairList);
    case kAttrListSelected: return COLOR_PAIR(kPairListSelected) | A_BOLD;
    case kAttrListBuiltIn: return COLOR_PAIR(kPairListBuiltIn) | A_BOLD;
    case kAttrListProject: return COLOR_PAIR(kPairListProject) | A_BOLD;
    case kAttrStatus: return COLOR_PAIR(kPairStatus);
    case kAttrStatusName: return COLOR_PAIR(kPairStatusName) | A_BOLD;
    case kAttrMessage: return COLOR_PAIR(kPairMessage);
    case kAttrHelp: return COLOR_PAIR(kPairHelp);
    case kAttrHelpKey: return COLOR_PAIR(kPairHelp) | A_BOLD;
    default: return A_NORMAL;
  }
}

void CEditTerminal::Draw(const CScreenGrid& grid) {
  int nColumns = 0;
  int nRows = 0;
  GetSize(nColumns, nRows);
  for (int nRow = 0; nRow < nRows && nRow < grid.GetRows(); ++nRow) {
    for (int nColumn = 0; nColumn < nColumns && nColumn < grid.GetColumns(); ++nColumn) {
      const CScreenCell& cell = grid.At(nRow, nColumn);
      mvaddch(nRow, nColumn, static_cast<chtype>(static_cast<unsigned char>(cell.ch)) | AttrOf(cell.attr));
    }
    // A terminal smaller than the layout's minimum shows its top-left part.
    if (grid.GetColumns() < nColumns) {
      move(nRow, grid.GetColumns());
      clrtoeol();
    }
  }
  if (grid.GetCaretRow() >= 0 && grid.GetCaretRow() < nRows && grid.GetCaretColumn() < nColumns) {
    curs_set(1);
    move(grid.GetCaretRow(), grid.GetCaretColumn());
  } else {
    curs_set(0);
  }
  refresh();
}

int CEditTerminal::ReadKey(bool bWait) {
  nodelay(stdscr, bWait ? FALSE : TRUE);
  return getch();
}

bool CEditTerminal::ReadClick(int& nRow, int& nColumn) {
  MEVENT event;
  if (getmouse(&event) != OK || (event.bstate & (BUTTON1_PRESSED | BUTTON1_CLICKED)) == 0) return false;
  nRow = event.y;
  nColumn = event.x;
  return true;
}
