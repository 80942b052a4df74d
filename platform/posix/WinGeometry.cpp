// Window position, size and visibility, coordinate conversion and the
// screen's metrics.
#include <algorithm>

#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

bool Contains(const RECT& rc, POINT pt) {
  return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

// The deepest visible, enabled window at a screen point among hWnd and its children.
HWND HitTest(HWND hWnd, POINT pt) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr || (pWnd->dwStyle & WS_VISIBLE) == 0 || (pWnd->dwStyle & WS_DISABLED) != 0) return nullptr;
  RECT rc;
  GetWindowRect(hWnd, &rc);
  if (!Contains(rc, pt)) return nullptr;
  for (auto it = pWnd->children.rbegin(); it != pWnd->children.rend(); ++it)
    if (HWND hHit = HitTest(*it, pt)) return hHit;
  return hWnd;
}

}  // namespace

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || lpRect == nullptr) return FALSE;
  POINT pt = t.ClientOrigin(*pWnd);
  *lpRect = {pt.x, pt.y, pt.x + pWnd->cx, pt.y + pWnd->cy};
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr || lpRect == nullptr) return FALSE;
  *lpRect = {0, 0, pWnd->cx, pWnd->cy};
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  nWidth = std::max(nWidth, 0);
  nHeight = std::max(nHeight, 0);
  bool bMoved = pWnd->x != X || pWnd->y != Y;
  bool bSized = pWnd->cx != nWidth || pWnd->cy != nHeight;
  pWnd->x = X;
  pWnd->y = Y;
  pWnd->cx = nWidth;
  pWnd->cy = nHeight;
  if (bRepaint) pWnd->bNeedsPaint = true;
  if (bMoved) SendMessage(hWnd, WM_MOVE, 0, MAKELPARAM(X, Y));
  if (bSized) SendMessage(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(nWidth, nHeight));
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  (void)hWndInsertAfter;
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  if ((uFlags & SWP_NOMOVE) != 0) {
    X = pWnd->x;
    Y = pWnd->y;
  }
  if ((uFlags & SWP_NOSIZE) != 0) {
    cx = pWnd->cx;
    cy = pWnd->cy;
  }
  MoveWindow(hWnd, X, Y, cx, cy, (uFlags & SWP_NOREDRAW) == 0);
  if ((uFlags & SWP_SHOWWINDOW) != 0) ShowWindow(hWnd, (uFlags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
  if ((uFlags & SWP_HIDEWINDOW) != 0) ShowWindow(hWnd, SW_HIDE);
  return IsWindow(hWnd);
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  bool bWasVisible = (pWnd->dwStyle & WS_VISIBLE) != 0;
  if (nCmdShow == SW_HIDE) {
    pWnd->dwStyle &= ~WS_VISIBLE;
    if (bWasVisible) SendMessage(hWnd, WM_SHOWWINDOW, FALSE, 0);
    return bWasVisible ? TRUE : FALSE;
  }
  pWnd->dwStyle |= WS_VISIBLE;
  pWnd->bNeedsPaint = true;
  bool bChild = pWnd->IsChild();
  bool bNoActivate = (pWnd->dwExStyle & WS_EX_NOACTIVATE) != 0;
  if (!bWasVisible) SendMessage(hWnd, WM_SHOWWINDOW, TRUE, 0);
  bool bActivate = nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE;
  if (bActivate && !bChild && !bNoActivate && IsWindow(hWnd)) SetActiveWindow(hWnd);
  return bWasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  for (; pWnd != nullptr; pWnd = pWnd->IsChild() ? t.Find(pWnd->hParent) : nullptr)
    if ((pWnd->dwStyle & WS_VISIBLE) == 0) return FALSE;
  return TRUE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  bool bWasDisabled = (pWnd->dwStyle & WS_DISABLED) != 0;
  if (bEnable)
    pWnd->dwStyle &= ~WS_DISABLED;
  else
    pWnd->dwStyle |= WS_DISABLED;
  if (bWasDisabled == (bEnable != FALSE)) SendMessage(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return bWasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  return pWnd != nullptr && (pWnd->dwStyle & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || lpPoint == nullptr) return FALSE;
  POINT origin = t.ClientOrigin(*pWnd);
  lpPoint->x += origin.x;
  lpPoint->y += origin.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || lpPoint == nullptr) return FALSE;
  POINT origin = t.ClientOrigin(*pWnd);
  lpPoint->x -= origin.x;
  lpPoint->y -= origin.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  CSimWindowTable& t = Table();
  POINT from = {0, 0};
  POINT to = {0, 0};
  if (hWndFrom != nullptr) {
    CSimWindow* p = t.Find(hWndFrom);
    if (p == nullptr) return 0;
    from = t.ClientOrigin(*p);
  }
  if (hWndTo != nullptr) {
    CSimWindow* p = t.Find(hWndTo);
    if (p == nullptr) return 0;
    to = t.ClientOrigin(*p);
  }
  LONG dx = from.x - to.x;
  LONG dy = from.y - to.y;
  for (UINT i = 0; lpPoints != nullptr && i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  return MAKELONG(dx, dy);
}

HWND WINAPI WindowFromPoint(POINT Point) {
  const std::vector<HWND> topLevel = Table().m_topLevel;
  for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it)
    if (HWND hHit = HitTest(*it, Point)) return hHit;
  return nullptr;
}

BOOL WINAPI SystemParametersInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
  (void)uiParam;
  (void)fWinIni;
  if (uiAction != SPI_GETWORKAREA || pvParam == nullptr) return FALSE;
  *static_cast<RECT*>(pvParam) = Table().m_workArea;
  return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN:
      return Table().m_screen.cx;
    case SM_CYSCREEN:
      return Table().m_screen.cy;
    default:
      return 0;
  }
}
