// Data kept with each window: class name, styles, procedure, identifier,
// user data and text.
#include <algorithm>
#include <cstring>

#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

}  // namespace

int WINAPI GetClassName(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr || lpClassName == nullptr || nMaxCount <= 0) return 0;
  size_t nCopy = std::min<size_t>(pWnd->strClassName.size(), static_cast<size_t>(nMaxCount - 1));
  memcpy(lpClassName, pWnd->strClassName.data(), nCopy);
  lpClassName[nCopy] = '\0';
  return static_cast<int>(nCopy);
}

LONG_PTR WINAPI GetWindowLongPtr(HWND hWnd, int nIndex) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return 0;
  switch (nIndex) {
    case GWL_STYLE:
      return static_cast<LONG>(pWnd->dwStyle);
    case GWL_EXSTYLE:
      return static_cast<LONG>(pWnd->dwExStyle);
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(pWnd->pfnWndProc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(pWnd->hInstance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(pWnd->IsChild() ? pWnd->hParent : pWnd->hOwner);
    case GWLP_ID:
      return pWnd->nID;
    case GWLP_USERDATA:
      return pWnd->nUserData;
    default:
      return 0;
  }
}

LONG_PTR WINAPI SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return 0;
  LONG_PTR nOld = GetWindowLongPtr(hWnd, nIndex);
  switch (nIndex) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
      (nIndex == GWL_STYLE ? pWnd->dwStyle : pWnd->dwExStyle) = static_cast<DWORD>(dwNewLong);
      break;
    case GWLP_WNDPROC:
      if (dwNewLong == 0) return 0;  // a window always has a procedure
      pWnd->pfnWndProc = reinterpret_cast<WNDPROC>(dwNewLong);
      break;
    case GWLP_HINSTANCE:
      pWnd->hInstance = reinterpret_cast<HINSTANCE>(dwNewLong);
      break;
    case GWLP_HWNDPARENT:
      if (pWnd->IsChild()) return 0;  // only the owner of a top-level window changes this way
      pWnd->hOwner = Table().Root(reinterpret_cast<HWND>(dwNewLong));
      break;
    case GWLP_ID:
      pWnd->nID = static_cast<int>(dwNewLong);
      break;
    case GWLP_USERDATA:
      pWnd->nUserData = dwNewLong;
      break;
    default:
      return 0;
  }
  return nOld;
}

LONG WINAPI GetWindowLong(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtr(hWnd, nIndex)); }

LONG WINAPI SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong) {
  return static_cast<LONG>(SetWindowLongPtr(hWnd, nIndex, dwNewLong));
}

BOOL WINAPI SetWindowText(HWND hWnd, LPCSTR lpString) {
  if (!IsWindow(hWnd)) return FALSE;
  return SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (lpString == nullptr || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  return static_cast<int>(SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                      reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLength(HWND hWnd) { return static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0)); }
