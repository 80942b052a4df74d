// Window classes, window creation and destruction, and the creation hooks.
#include "Win32User.h"

#include <algorithm>

#include "internal/WinHandles.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

// Unlinks a window from its parent or the top-level list and forgets it.
void RemoveWindow(HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr) return;
  std::vector<HWND>* pSiblings = &t.m_topLevel;
  if (pWnd->IsChild()) {
    CSimWindow* pParent = t.Find(pWnd->hParent);
    pSiblings = pParent != nullptr ? &pParent->children : nullptr;
  }
  if (pSiblings != nullptr) pSiblings->erase(std::remove(pSiblings->begin(), pSiblings->end(), hWnd), pSiblings->end());
  if (CSimClass* pClass = t.FindClass(pWnd->strClassName.c_str())) --pClass->nWindows;
  t.m_drawn.erase(hWnd);
  t.m_queue.erase(std::remove_if(t.m_queue.begin(), t.m_queue.end(), [hWnd](const MSG& m) { return m.hwnd == hWnd; }),
                  t.m_queue.end());
  t.m_windows.erase(hWnd);
}

// Marks the window and its descendants as being destroyed and drops the
// focus, activation, capture and caret that any of them holds.
void BeginDestroy(HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr) return;
  pWnd->bDestroying = true;
  pWnd->dwStyle &= ~WS_VISIBLE;
  if (t.m_hFocus == hWnd) t.m_hFocus = nullptr;
  if (t.m_hActive == hWnd) t.m_hActive = nullptr;
  if (t.m_hCapture == hWnd) t.m_hCapture = nullptr;
  if (t.m_caret.hOwner == hWnd) t.m_caret = CSimCaret();
  for (HWND hChild : std::vector<HWND>(pWnd->children)) BeginDestroy(hChild);
}

// WM_DESTROY: parents before children.
void SendDestroy(HWND hWnd) {
  if (Table().Find(hWnd) == nullptr) return;
  SendMessage(hWnd, WM_DESTROY, 0, 0);
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return;
  for (HWND hChild : std::vector<HWND>(pWnd->children)) SendDestroy(hChild);
}

// WM_NCDESTROY: children before parents; each window is gone afterwards.
void SendNcDestroy(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return;
  for (HWND hChild : std::vector<HWND>(pWnd->children)) SendNcDestroy(hChild);
  SendMessage(hWnd, WM_NCDESTROY, 0, 0);
  RemoveWindow(hWnd);
}

// Position in the hook chain of the hook running now (-1: none), so that
// CallNextHookEx knows which hook is next, as the system tracks it.
int g_nCurrentHook = -1;

// Calls the hook at index nHook and the ones it passes the call to.
LRESULT CallHookAt(int nHook, int nCode, WPARAM wParam, LPARAM lParam) {
  auto& hooks = Table().m_cbtHooks;
  if (nHook < 0 || static_cast<size_t>(nHook) >= hooks.size()) return 0;
  int nSaved = g_nCurrentHook;
  g_nCurrentHook = nHook;
  LRESULT lResult = hooks[static_cast<size_t>(nHook)].second(nCode, wParam, lParam);
  g_nCurrentHook = nSaved;
  return lResult;
}

// Calls the newest CBT hook; nonzero cancels the creation.
LRESULT CallCbtHooks(HWND hWnd, CREATESTRUCT* pcs) {
  CBT_CREATEWND cbt = {pcs, nullptr};
  int nNewest = static_cast<int>(Table().m_cbtHooks.size()) - 1;
  return CallHookAt(nNewest, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hWnd), reinterpret_cast<LPARAM>(&cbt));
}

}  // namespace

ATOM WINAPI RegisterClass(const WNDCLASS* lpWndClass) {
  if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || lpWndClass->lpszClassName[0] == '\0' ||
      lpWndClass->lpfnWndProc == nullptr)
    return 0;
  CSimWindowTable& t = Table();
  if (t.FindClass(lpWndClass->lpszClassName) != nullptr) return 0;
  static ATOM s_nNextAtom = 0xC000;
  CSimClass& cls = t.m_classes[lpWndClass->lpszClassName];
  cls.strName = lpWndClass->lpszClassName;
  cls.wc = *lpWndClass;
  cls.wc.lpszClassName = cls.strName.c_str();
  cls.wc.lpszMenuName = nullptr;
  return s_nNextAtom++;
}

BOOL WINAPI UnregisterClass(LPCSTR lpClassName, HINSTANCE hInstance) {
  (void)hInstance;
  CSimWindowTable& t = Table();
  CSimClass* pClass = t.FindClass(lpClassName);
  if (pClass == nullptr || pClass->nWindows > 0) return FALSE;
  t.m_classes.erase(lpClassName);
  return TRUE;
}

BOOL WINAPI GetClassInfo(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASS lpWndClass) {
  (void)hInstance;
  CSimClass* pClass = Table().FindClass(lpClassName);
  if (pClass == nullptr || lpWndClass == nullptr) return FALSE;
  *lpWndClass = pClass->wc;
  return TRUE;
}

HWND WINAPI CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x,
                           int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                           LPVOID lpParam) {
  CSimWindowTable& t = Table();
  CSimClass* pClass = t.FindClass(lpClassName);
  if (pClass == nullptr) return nullptr;
  bool bChild = (dwStyle & WS_CHILD) != 0;
  CSimWindow* pParent = t.Find(hWndParent);
  if (bChild && (pParent == nullptr || pParent->bDestroying)) return nullptr;
  if (!bChild && hWndParent != nullptr && pParent == nullptr) return nullptr;

  auto pWnd = std::make_unique<CSimWindow>();
  HWND hWnd = SimNewHandle<HWND>();
  pWnd->hWnd = hWnd;
  pWnd->strClassName = pClass->strName;
  pWnd->pfnWndProc = pClass->wc.lpfnWndProc;
  pWnd->dwStyle = dwStyle & ~WS_VISIBLE;
  pWnd->dwExStyle = dwExStyle;
  if (bChild) {
    pWnd->hParent = hWndParent;
    pWnd->nID = static_cast<int>(reinterpret_cast<intptr_t>(hMenu));
  } else {
    pWnd->hOwner = t.Root(hWndParent);  // owners are always top-level windows
  }
  pWnd->x = x == CW_USEDEFAULT ? 0 : x;
  pWnd->y = y == CW_USEDEFAULT ? 0 : y;
  pWnd->cx = nWidth == CW_USEDEFAULT ? 0 : std::max(nWidth, 0);
  pWnd->cy = nHeight == CW_USEDEFAULT ? 0 : std::max(nHeight, 0);
  pWnd->hInstance = hInstance;
  t.m_windows[hWnd] = std::move(pWnd);
  if (bChild)
    pParent->children.push_back(hWnd);
  else
    t.m_topLevel.push_back(hWnd);
  ++pClass->nWindows;
  t.m_created.push_back(CSimCreatedWindow{hWnd, pClass->strName, lpWindowName != nullptr ? lpWindowName : "",
                                           dwStyle, dwExStyle, hWndParent});

  std::string strClass = pClass->strName;  // the class record may move while messages run
  CREATESTRUCT cs = {lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x,
                     static_cast<LONG>(dwStyle), lpWindowName, strClass.c_str(), dwExStyle};
  if (CallCbtHooks(hWnd, &cs) != 0) {
    BeginDestroy(hWnd);
    RemoveWindow(hWnd);
    return nullptr;
  }
  if (SendMessage(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) == 0) {
    if (IsWindow(hWnd)) {
      BeginDestroy(hWnd);
      SendNcDestroy(hWnd);
    }
    return nullptr;
  }
  if (!IsWindow(hWnd)) return nullptr;
  if (SendMessage(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hWnd);
    return nullptr;
  }
  CSimWindow* pCreated = t.Find(hWnd);
  if (pCreated == nullptr || pCreated->bDestroying) return nullptr;
  SendMessage(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(pCreated->cx, pCreated->cy));
  pCreated = t.Find(hWnd);
  if (pCreated == nullptr) return nullptr;
  SendMessage(hWnd, WM_MOVE, 0, MAKELPARAM(pCreated->x, pCreated->y));
  if ((dwStyle & WS_VISIBLE) != 0 && IsWindow(hWnd)) ShowWindow(hWnd, SW_SHOW);
  return IsWindow(hWnd) ? hWnd : nullptr;
}

HWND WINAPI CreateWindow(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth,
                         int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  return CreateWindowEx(0, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu,
                        hInstance, lpParam);
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || pWnd->bDestroying) return FALSE;
  // Owned windows go first, each with its own destruction.
  for (HWND hOwned : std::vector<HWND>(t.m_topLevel)) {
    CSimWindow* p = t.Find(hOwned);
    if (p != nullptr && p->hOwner == hWnd) DestroyWindow(hOwned);
  }
  pWnd = t.Find(hWnd);
  if (pWnd == nullptr || pWnd->bDestroying) return TRUE;
  BeginDestroy(hWnd);
  SendDestroy(hWnd);
  SendNcDestroy(hWnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return Table().Find(hWnd) != nullptr ? TRUE : FALSE; }

HHOOK WINAPI SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId) {
  (void)hmod;
  (void)dwThreadId;
  if (idHook != WH_CBT || lpfn == nullptr) return nullptr;
  HHOOK hHook = SimNewHandle<HHOOK>();
  Table().m_cbtHooks.emplace_back(hHook, lpfn);
  return hHook;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk) {
  auto& hooks = Table().m_cbtHooks;
  auto it = std::find_if(hooks.begin(), hooks.end(), [hhk](const auto& h) { return h.first == hhk; });
  if (it == hooks.end()) return FALSE;
  hooks.erase(it);
  return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  (void)hhk;  // the chain position is known from the hook running now, as in Win32
  if (g_nCurrentHook <= 0) return 0;
  return CallHookAt(g_nCurrentHook - 1, nCode, wParam, lParam);
}
