// Keyboard focus, window activation, mouse capture and the caret.
#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

bool CanTakeFocus(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  return pWnd != nullptr && !pWnd->bDestroying && (pWnd->dwStyle & WS_DISABLED) == 0;
}

}  // namespace

// While the old focus window handles WM_KILLFOCUS, GetFocus still names it;
// the new window has the focus when it gets WM_SETFOCUS. If a handler of
// WM_KILLFOCUS moves the focus elsewhere itself, that nested change stands.
HWND WINAPI SetFocus(HWND hWnd) {
  CSimWindowTable& t = Table();
  if (hWnd == nullptr) {
    HWND hOld = t.m_hFocus;
    if (hOld != nullptr) {
      SendMessage(hOld, WM_KILLFOCUS, 0, 0);
      if (t.m_hFocus == hOld) t.m_hFocus = nullptr;
    }
    return hOld;
  }
  if (!CanTakeFocus(hWnd)) return nullptr;
  HWND hRoot = t.Root(hWnd);
  if (t.m_hActive != hRoot) {
    HWND hBefore = t.m_hFocus;
    SetActiveWindow(hRoot);
    if (!CanTakeFocus(hWnd)) return nullptr;
    // Activation may have moved the focus already (to the top-level window);
    // the caller is told about the focus window before all of it.
    if (t.m_hFocus == hWnd) return hBefore;
  }
  HWND hOld = t.m_hFocus;
  if (hOld == hWnd) return hOld;
  if (hOld != nullptr) {
    SendMessage(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (t.m_hFocus != hOld) return hOld;  // the handler moved the focus itself
  }
  if (!CanTakeFocus(hWnd)) {
    if (t.m_hFocus == hOld) t.m_hFocus = nullptr;
    return hOld;
  }
  t.m_hFocus = hWnd;
  SendMessage(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(IsWindow(hOld) ? hOld : nullptr), 0);
  return hOld;
}

HWND WINAPI GetFocus() { return Table().m_hFocus; }

HWND WINAPI SetActiveWindow(HWND hWnd) {
  CSimWindowTable& t = Table();
  HWND hRoot = t.Root(hWnd);
  if (hRoot == nullptr || !CanTakeFocus(hRoot)) return nullptr;
  HWND hOld = t.m_hActive;
  if (hOld == hRoot) return hOld;
  t.m_hActive = hRoot;
  if (hOld != nullptr) SendMessage(hOld, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hRoot));
  if (t.m_hActive == hRoot)
    SendMessage(hRoot, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(IsWindow(hOld) ? hOld : nullptr));
  return hOld;
}

HWND WINAPI GetActiveWindow() { return Table().m_hActive; }

HWND WINAPI GetForegroundWindow() { return Table().m_hActive; }

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) return FALSE;
  SetActiveWindow(hWnd);
  return TRUE;
}

HWND WINAPI SetCapture(HWND hWnd) {
  CSimWindowTable& t = Table();
  HWND hOld = t.m_hCapture;
  if (!IsWindow(hWnd)) return hOld;
  t.m_hCapture = hWnd;
  if (hOld != nullptr && hOld != hWnd) SendMessage(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  return hOld;
}

BOOL WINAPI ReleaseCapture() {
  CSimWindowTable& t = Table();
  HWND hOld = t.m_hCapture;
  t.m_hCapture = nullptr;
  if (hOld != nullptr) SendMessage(hOld, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture() { return Table().m_hCapture; }

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
  (void)hBitmap;
  CSimWindowTable& t = Table();
  if (!IsWindow(hWnd)) return FALSE;
  t.m_caret = CSimCaret();
  t.m_caret.hOwner = hWnd;
  t.m_caret.cx = nWidth;
  t.m_caret.cy = nHeight;
  return TRUE;
}

BOOL WINAPI DestroyCaret() {
  CSimWindowTable& t = Table();
  if (t.m_caret.hOwner == nullptr) return FALSE;
  t.m_caret = CSimCaret();
  return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y) {
  CSimCaret& caret = Table().m_caret;
  if (caret.hOwner == nullptr) return FALSE;
  caret.pt = {X, Y};
  return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
  if (lpPoint == nullptr) return FALSE;
  const CSimCaret& caret = Table().m_caret;
  if (caret.hOwner == nullptr) {
    *lpPoint = {0, 0};
    return FALSE;
  }
  *lpPoint = caret.pt;
  return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
  CSimCaret& caret = Table().m_caret;
  if (caret.hOwner == nullptr || (hWnd != nullptr && hWnd != caret.hOwner)) return FALSE;
  if (caret.nHideLevel > 0) --caret.nHideLevel;
  return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd) {
  CSimCaret& caret = Table().m_caret;
  if (caret.hOwner == nullptr || (hWnd != nullptr && hWnd != caret.hOwner)) return FALSE;
  ++caret.nHideLevel;
  return TRUE;
}
