// Sending messages, default processing, window data (longs, text) and the
// relations between windows.
#include <algorithm>
#include <cstring>

#include "WinUser.h"
#include "WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

// The sibling list a window belongs to.
const std::vector<HWND>* Siblings(const CSimWindow& wnd) {
  if (!wnd.IsChild()) return &Table().m_topLevel;
  CSimWindow* pParent = Table().Find(wnd.hParent);
  return pParent != nullptr ? &pParent->children : nullptr;
}

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

HWND WINAPI GetParent(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  if (pWnd->IsChild()) return pWnd->hParent;
  return (pWnd->dwStyle & WS_POPUP) != 0 ? pWnd->hOwner : nullptr;
}

HWND WINAPI GetAncestor(HWND hWnd, UINT gaFlags) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  switch (gaFlags) {
    case GA_PARENT:
      return pWnd->IsChild() ? pWnd->hParent : nullptr;
    case GA_ROOT:
      return t.Root(hWnd);
    case GA_ROOTOWNER: {
      HWND hRoot = t.Root(hWnd);
      for (CSimWindow* p = t.Find(hRoot); p != nullptr && p->hOwner != nullptr; p = t.Find(p->hOwner))
        hRoot = p->hOwner;
      return hRoot;
    }
    default:
      return nullptr;
  }
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  if (uCmd == GW_OWNER) return pWnd->IsChild() ? nullptr : pWnd->hOwner;
  if (uCmd == GW_CHILD) return pWnd->children.empty() ? nullptr : pWnd->children.front();
  const std::vector<HWND>* pSiblings = Siblings(*pWnd);
  if (pSiblings == nullptr || pSiblings->empty()) return nullptr;
  auto it = std::find(pSiblings->begin(), pSiblings->end(), hWnd);
  switch (uCmd) {
    case GW_HWNDFIRST:
      return pSiblings->front();
    case GW_HWNDLAST:
      return pSiblings->back();
    case GW_HWNDNEXT:
      return (it == pSiblings->end() || it + 1 == pSiblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == pSiblings->end() || it == pSiblings->begin()) ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || !pWnd->IsChild() || t.Find(hWndParent) == nullptr) return FALSE;
  return t.IsSelfOrDescendant(pWnd->hParent, hWndParent) ? TRUE : FALSE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hDlg);
  if (pWnd == nullptr) return nullptr;
  for (HWND hChild : pWnd->children) {
    CSimWindow* pChild = t.Find(hChild);
    if (pChild != nullptr && pChild->nID == nIDDlgItem) return hChild;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  return pWnd != nullptr && pWnd->IsChild() ? pWnd->nID : 0;
}

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
      pWnd->dwStyle = static_cast<DWORD>(dwNewLong);
      break;
    case GWL_EXSTYLE:
      pWnd->dwExStyle = static_cast<DWORD>(dwNewLong);
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
