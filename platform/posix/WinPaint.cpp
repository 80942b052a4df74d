// Painting: the windows marked for painting, WM_PAINT and BeginPaint/EndPaint.
#include <cstring>

#include "Win32Gdi.h"
#include "Win32User.h"
#include "internal/WinWindowTable.h"

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  (void)lpRect;
  (void)bErase;
  CSimWindow* pWnd = CSimWindowTable::Get().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  pWnd->bNeedsPaint = true;
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
  (void)lpRect;
  CSimWindow* pWnd = CSimWindowTable::Get().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  pWnd->bNeedsPaint = false;
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  CSimWindow* pWnd = CSimWindowTable::Get().Find(hWnd);
  if (pWnd == nullptr) return FALSE;
  if (pWnd->bNeedsPaint && IsWindowVisible(hWnd)) SendMessage(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  CSimWindowTable& t = CSimWindowTable::Get();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || lpPaint == nullptr) return nullptr;
  pWnd->bNeedsPaint = false;
  t.m_drawn.erase(hWnd);  // the window is drawn anew
  memset(lpPaint, 0, sizeof(*lpPaint));
  lpPaint->hdc = GetDC(hWnd);
  lpPaint->fErase = TRUE;
  lpPaint->rcPaint = {0, 0, pWnd->cx, pWnd->cy};
  return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (lpPaint == nullptr) return FALSE;
  ReleaseDC(hWnd, lpPaint->hdc);
  return TRUE;
}
