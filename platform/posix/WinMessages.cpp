// Sending messages to window procedures, and the default processing.
#include <algorithm>
#include <cstring>

#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

}  // namespace

LRESULT WINAPI SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr || pWnd->pfnWndProc == nullptr) return 0;
  return pWnd->pfnWndProc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (lpPrevWndFunc == nullptr) return 0;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return 0;
  switch (Msg) {
    case WM_NCCREATE: {
      const CREATESTRUCT* pcs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (pcs != nullptr && pcs->lpszName != nullptr) pWnd->strText = pcs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT: {
      LPCSTR psz = reinterpret_cast<LPCSTR>(lParam);
      pWnd->strText = psz != nullptr ? psz : "";
      return TRUE;
    }
    case WM_GETTEXT: {
      LPSTR pszBuffer = reinterpret_cast<LPSTR>(lParam);
      if (pszBuffer == nullptr || wParam == 0) return 0;
      size_t nCopy = std::min<size_t>(pWnd->strText.size(), wParam - 1);
      memcpy(pszBuffer, pWnd->strText.data(), nCopy);
      pszBuffer[nCopy] = '\0';
      return static_cast<LRESULT>(nCopy);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(pWnd->strText.size());
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hWnd);
      return 0;
    case WM_PAINT:
      pWnd->bNeedsPaint = false;
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    default:
      return 0;
  }
}
