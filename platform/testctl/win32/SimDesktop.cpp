// CSimDesktop on the real desktop: the work area through SPI_SETWORKAREA,
// the keyboard state through SetKeyboardState, the caret through the GUI
// thread information, and a log of created windows through a CBT hook.
#include "SimDesktop.h"

namespace {

std::vector<CSimCreatedWindow>& CreatedWindows() {
  static std::vector<CSimCreatedWindow>* s_pCreated = new std::vector<CSimCreatedWindow>;
  return *s_pCreated;
}

// The work area before the first SetWorkArea; Reset puts it back.
RECT g_rcOriginalWork = {0, 0, 0, 0};
bool g_bWorkAreaChanged = false;

LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_CREATEWND) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    const CREATESTRUCTA* pCs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    char szClass[256] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    // The input method's window comes with a thread's first window; it is
    // the system's, not the program's.
    if (lstrcmpiA(szClass, "IME") == 0) return CallNextHookEx(nullptr, nCode, wParam, lParam);
    CSimCreatedWindow created;
    created.hWnd = hWnd;
    created.strClassName = szClass;
    created.strWindowName = pCs->lpszName != nullptr && !IS_INTRESOURCE(pCs->lpszName) ? pCs->lpszName : "";
    created.dwStyle = static_cast<DWORD>(pCs->style);
    created.dwExStyle = pCs->dwExStyle;
    created.hWndParent = pCs->hwndParent;
    CreatedWindows().push_back(created);
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The hook watches the thread that loaded the platform layer, the test's
// user-interface thread.
struct CCreationWatch {
  CCreationWatch() : hHook(SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, GetCurrentThreadId())) {}
  ~CCreationWatch() {
    if (hHook != nullptr) UnhookWindowsHookEx(hHook);
  }
  CCreationWatch(const CCreationWatch&) = delete;  // owns the hook
  CCreationWatch& operator=(const CCreationWatch&) = delete;
  HHOOK hHook;
};
CCreationWatch g_creationWatch;

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
  return TRUE;
}

GUITHREADINFO CaretInfo() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetCurrentThreadId(), &info);
  return info;
}

}  // namespace

void CSimDesktop::SetScreenSize(int cx, int cy) {
  (void)cx;
  (void)cy;
}

void CSimDesktop::SetWorkArea(const RECT& rcWork) {
  if (!g_bWorkAreaChanged) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &g_rcOriginalWork, 0);
    g_bWorkAreaChanged = true;
  }
  RECT rc = rcWork;
  SystemParametersInfoA(SPI_SETWORKAREA, 0, &rc, 0);
}

void CSimDesktop::SetLogPixels(int nLogPixelsX, int nLogPixelsY) {
  (void)nLogPixelsX;
  (void)nLogPixelsY;
}

SIZE CSimDesktop::GetScreenSize() { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT CSimDesktop::GetWorkArea() {
  RECT rc = {0, 0, 0, 0};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
  return rc;
}

int CSimDesktop::GetLogPixelsX() {
  HDC hDC = GetDC(nullptr);
  int nPixels = GetDeviceCaps(hDC, LOGPIXELSX);
  ReleaseDC(nullptr, hDC);
  return nPixels;
}

int CSimDesktop::GetLogPixelsY() {
  HDC hDC = GetDC(nullptr);
  int nPixels = GetDeviceCaps(hDC, LOGPIXELSY);
  ReleaseDC(nullptr, hDC);
  return nPixels;
}

void CSimDesktop::SetKeyDown(int nVirtKey, bool bDown) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[nVirtKey & 0xFF] = bDown ? 0x80 : 0;
  SetKeyboardState(state);
}

bool CSimDesktop::IsKeyDown(int nVirtKey) { return (GetKeyState(nVirtKey) & 0x8000) != 0; }

HWND CSimDesktop::GetCaretOwner() { return CaretInfo().hwndCaret; }

bool CSimDesktop::IsCaretShown() { return (CaretInfo().flags & GUI_CARETBLINKING) != 0; }

SIZE CSimDesktop::GetCaretSize() {
  const RECT rc = CaretInfo().rcCaret;
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void CSimDesktop::AdvanceTickCount(DWORD nMilliseconds) { (void)nMilliseconds; }

const std::vector<CSimCreatedWindow>& CSimDesktop::GetCreatedWindows() { return CreatedWindows(); }

std::vector<CSimDrawnText> CSimDesktop::GetDrawnText(HWND hWnd) {
  (void)hWnd;
  return {};
}

void CSimDesktop::ClearLogs() { CreatedWindows().clear(); }

void CSimDesktop::Reset() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND hWnd : windows) {
    // The input method's own window belongs to the system, not to the test.
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, "IME") != 0 && IsWindow(hWnd)) DestroyWindow(hWnd);
  }
  BYTE state[256] = {};
  SetKeyboardState(state);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  if (g_bWorkAreaChanged) {
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &g_rcOriginalWork, 0);
    g_bWorkAreaChanged = false;
  }
  ClearLogs();
}
