// Win32 user services of the in-process window system: window classes and
// windows, messages, focus and activation, the caret, coordinates, the message
// queue and the keyboard state, with the real Win32 names and values.
//
// All windows live in this process and belong to its one user-interface
// thread. Handles are never reused while the process lives, so a handle kept
// after its window was destroyed is reliably !IsWindow and every service given
// such a handle fails harmlessly (returns 0/FALSE/null and changes nothing).
// Windows have no non-client frame: the client area is the whole window.
#pragma once

#include "Win32Base.h"
#include "Win32Def.h"

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef LRESULT(CALLBACK* HOOKPROC)(int nCode, WPARAM wParam, LPARAM lParam);

// ---- Window messages ----------------------------------------------------
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_NOTIFY 0x004E
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSELAST 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400

// WM_ACTIVATE's low word of wParam.
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_SIZE's wParam.
#define SIZE_RESTORED 0

// Mouse-message key flags (wParam).
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008

// ---- Window styles ------------------------------------------------------
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_NOACTIVATE 0x08000000L

#define CW_USEDEFAULT ((int)0x80000000)

// Class styles (kept, not interpreted).
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_SAVEBITS 0x0800

// ---- Window data and relations ------------------------------------------
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWLP_USERDATA (-21)

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_SHOWNA 8
#define SW_RESTORE 9

// SetWindowPos flags and insert-after values.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)

// ---- Virtual keys ---------------------------------------------------------
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
// '0'..'9' and 'A'..'Z' are their own virtual keys.
#define VK_F1 0x70
#define VK_OEM_1 0xBA       // ;:
#define VK_OEM_PLUS 0xBB    // =+
#define VK_OEM_COMMA 0xBC   // ,<
#define VK_OEM_MINUS 0xBD   // -_
#define VK_OEM_PERIOD 0xBE  // .>
#define VK_OEM_2 0xBF       // /?
#define VK_OEM_3 0xC0       // `~
#define VK_OEM_4 0xDB       // [{
#define VK_OEM_5 0xDC       // \|
#define VK_OEM_6 0xDD       // ]}
#define VK_OEM_7 0xDE       // '"

// ---- Structures -----------------------------------------------------------
struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
typedef WNDCLASS* LPWNDCLASS;

// What WM_NCCREATE and WM_CREATE receive (lParam): the creation arguments.
struct CREATESTRUCT {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// Header of every WM_NOTIFY record.
struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

// Computer-based-training hook: only HCBT_CREATEWND is reported, with a
// CBT_CREATEWND record, after the window exists and before WM_NCCREATE.
#define WH_CBT 5
#define HCBT_CREATEWND 3
struct CBT_CREATEWND {
  CREATESTRUCT* lpcs;
  HWND hwndInsertAfter;
};

// SystemParametersInfo actions.
#define SPI_GETWORKAREA 0x0030

// GetSystemMetrics indices.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

// PeekMessage options.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// ---- Window classes and windows --------------------------------------------
// Registers a class by name (names compare case-insensitively, as Win32's).
// Returns a nonzero atom, or 0 when the name is missing or already registered
// or the class has no window procedure.
ATOM WINAPI RegisterClass(const WNDCLASS* lpWndClass);
// Removes a class; FALSE when it is unknown or windows of it still exist.
BOOL WINAPI UnregisterClass(LPCSTR lpClassName, HINSTANCE hInstance);
// TRUE and the class record when the class is registered.
BOOL WINAPI GetClassInfo(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASS lpWndClass);

// Creates a window of a registered class. Calls the CBT hooks, then sends
// WM_NCCREATE and WM_CREATE (lParam: the CREATESTRUCT with lpParam as
// lpCreateParams), then WM_SIZE and WM_MOVE, and finally shows (and, for a
// top-level window without WS_EX_NOACTIVATE, activates) it when WS_VISIBLE is
// given. hWndParent is the parent of a WS_CHILD window and the owner of any
// other window; x and y are relative to the parent's client area for a
// child and screen coordinates otherwise; CW_USEDEFAULT means 0. hMenu is the
// child's identifier. Returns null, with nothing left behind, when the class is
// unknown, a child has no valid parent, WM_NCCREATE answers FALSE or
// WM_CREATE answers -1 (the window then gets WM_DESTROY and WM_NCDESTROY).
HWND WINAPI CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x,
                           int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                           LPVOID lpParam);
HWND WINAPI CreateWindow(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth,
                         int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);

// Destroys a window with its owned windows and its children. Owned windows
// are destroyed first; then WM_DESTROY goes to the window and then to its
// children (parents before children), and WM_NCDESTROY to the children and
// then to the window (children before parents). The handles are live during
// both messages and dead afterwards. If the focus window, the active
// window, the capture window or the caret's owner is among the destroyed
// windows, that state becomes null (no messages are sent for it).
// FALSE for an invalid handle or a window already being destroyed.
BOOL WINAPI DestroyWindow(HWND hWnd);

// TRUE while hWnd names a window that exists (including during its
// WM_DESTROY and WM_NCDESTROY).
BOOL WINAPI IsWindow(HWND hWnd);

// Calls the window procedure synchronously and returns its answer; 0 for a
// null or invalid handle.
LRESULT WINAPI SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Calls a window procedure (kept by a subclasser) for a window.
LRESULT WINAPI CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Default processing: WM_NCCREATE stores the window name and answers TRUE;
// WM_SETTEXT/WM_GETTEXT/WM_GETTEXTLENGTH keep the window text;
// WM_ACTIVATE with an active state gives the window the focus; WM_PAINT
// validates the window; WM_CLOSE destroys it; WM_ERASEBKGND answers TRUE;
// everything else answers 0.
LRESULT WINAPI DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// The parent of a child window, the owner of a popup or owned window, null
// for others and for invalid handles.
HWND WINAPI GetParent(HWND hWnd);
// GA_PARENT: the parent (null for top-level windows); GA_ROOT: the top-level
// window above hWnd (hWnd itself when top-level); GA_ROOTOWNER: GA_ROOT
// followed through owners.
HWND WINAPI GetAncestor(HWND hWnd, UINT gaFlags);
// GW_OWNER, GW_CHILD (first child), GW_HWNDFIRST/LAST/NEXT/PREV among the
// siblings (children in creation order; top-level windows in creation order).
HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);
// Child whose identifier is nIDDlgItem, or null.
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
int WINAPI GetDlgCtrlID(HWND hWnd);
// The class name copied (truncated to nMaxCount - 1 bytes); its length, or 0.
int WINAPI GetClassName(HWND hWnd, LPSTR lpClassName, int nMaxCount);

// GWL_STYLE, GWL_EXSTYLE, GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT,
// GWLP_ID, GWLP_USERDATA. The setter returns the previous value; both return
// 0 for an invalid handle or index.
LONG_PTR WINAPI GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR WINAPI SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG WINAPI GetWindowLong(HWND hWnd, int nIndex);
LONG WINAPI SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);

// The window text, through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH.
BOOL WINAPI SetWindowText(HWND hWnd, LPCSTR lpString);
int WINAPI GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount);
int WINAPI GetWindowTextLength(HWND hWnd);

// ---- Position, size and visibility ------------------------------------------
// The window's rectangle in screen coordinates.
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
// (0, 0, width, height).
BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
// Moves and sizes; x, y as for CreateWindowEx. Sends WM_MOVE and WM_SIZE
// when position or size changed; invalidates the window when bRepaint is set.
BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
// Moves, sizes, shows or hides by the SWP_ flags; z-order is not kept.
BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
// Returns whether the window was visible before. SW_SHOW/SW_SHOWNORMAL/
// SW_RESTORE also activate a top-level window (unless WS_EX_NOACTIVATE);
// SW_SHOWNA and SW_SHOWNOACTIVATE do not. Sends WM_SHOWWINDOW on a change.
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
// TRUE when the window and all its ancestors are visible.
BOOL WINAPI IsWindowVisible(HWND hWnd);
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BOOL WINAPI IsWindowEnabled(HWND hWnd);

// Converts between a window's client coordinates and the screen, through the
// whole parent chain. FALSE (point unchanged) for an invalid handle.
BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// Converts cPoints points from hWndFrom's client coordinates to hWndTo's
// (either may be null for the screen); returns the offset packed as
// MAKELONG(dx, dy).
int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
// The deepest visible, enabled window under a screen point (top-level
// windows last created first), or null.
HWND WINAPI WindowFromPoint(POINT Point);

// SPI_GETWORKAREA fills the RECT at pvParam with the simulated work area.
// FALSE for any other action or a null pvParam.
BOOL WINAPI SystemParametersInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
int WINAPI GetSystemMetrics(int nIndex);

// ---- Painting ----------------------------------------------------------------
// Marks the window for painting (lpRect and bErase are not kept apart).
BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect);
// Sends WM_PAINT at once when the window is marked for painting.
BOOL WINAPI UpdateWindow(HWND hWnd);
// A device context for the window's client area; validates the window.
HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);

// ---- Focus, activation and capture ------------------------------------------
// Gives hWnd the keyboard focus. If hWnd's top-level window is not active it
// is activated first (see SetActiveWindow). Then WM_KILLFOCUS goes to the
// old focus window (wParam: hWnd) and WM_SETFOCUS to hWnd (wParam: the old
// focus window); nothing is sent when hWnd already has the focus. A null
// hWnd takes the focus away (WM_KILLFOCUS with wParam 0). Returns the
// previous focus window; null and no change for an invalid or disabled hWnd.
HWND WINAPI SetFocus(HWND hWnd);
HWND WINAPI GetFocus();
// Makes hWnd's top-level window the active window: WM_ACTIVATE(WA_INACTIVE,
// new) to the old one, then WM_ACTIVATE(WA_ACTIVE, old) to the new one; its
// default processing gives it the focus. Returns the previously active window.
HWND WINAPI SetActiveWindow(HWND hWnd);
HWND WINAPI GetActiveWindow();
HWND WINAPI GetForegroundWindow();
BOOL WINAPI SetForegroundWindow(HWND hWnd);
// Mouse capture: the window that all mouse messages go to while set.
HWND WINAPI SetCapture(HWND hWnd);
BOOL WINAPI ReleaseCapture();
HWND WINAPI GetCapture();

// ---- Caret (one for the whole user-interface thread) --------------------------
// Creates the caret for hWnd, destroying any existing caret first (of any
// window). The new caret is hidden, at (0, 0). FALSE for an invalid hWnd.
BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
// Destroys the caret; FALSE when there is none.
BOOL WINAPI DestroyCaret();
// Moves the caret, in client coordinates of its owner; FALSE when there is none.
BOOL WINAPI SetCaretPos(int X, int Y);
// The caret's position in client coordinates of its owner window. With no
// caret the point is set to (0, 0) and FALSE is returned.
BOOL WINAPI GetCaretPos(LPPOINT lpPoint);
// Show/hide nest as in Win32: the caret is visible when shown once more than
// hidden. hWnd null means the caret's owner; FALSE when hWnd does not own it.
BOOL WINAPI ShowCaret(HWND hWnd);
BOOL WINAPI HideCaret(HWND hWnd);

// ---- Message queue -------------------------------------------------------------
// Queues a message for hWnd (null: a thread message); FALSE for an invalid
// non-null hWnd.
BOOL WINAPI PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int nExitCode);
// Takes the first queued message for hWnd (null: any) within the message
// range (0, 0: all); with no queued message, a WM_PAINT for a window marked
// for painting. Retrieving WM_KEYDOWN/WM_KEYUP updates GetKeyState.
// FALSE when there is nothing.
BOOL WINAPI PeekMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Like PeekMessage with PM_REMOVE; returns 0 for WM_QUIT, nonzero for any
// other message. Nothing else can post while this thread waits, so an empty
// queue would block forever: GetMessage then returns -1 instead.
BOOL WINAPI GetMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// For WM_KEYDOWN of a key that types a character (with the current shift and
// control state, US keyboard layout), posts the WM_CHAR (WM_SYSCHAR for
// WM_SYSKEYDOWN). TRUE when a character was posted.
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
// Sends the message to its window's procedure; returns its answer.
LRESULT WINAPI DispatchMessage(const MSG* lpMsg);

// ---- Keyboard state --------------------------------------------------------------
// High bit (negative result) when the key is down, low bit toggled.
short WINAPI GetKeyState(int nVirtKey);
short WINAPI GetAsyncKeyState(int vKey);
// The virtual key in the low byte and the shift state (1 shift, 2 control)
// in the high byte for a character on a US keyboard; -1 when no key types it.
short WINAPI VkKeyScan(CHAR ch);

// ---- Hooks ---------------------------------------------------------------------------
// Only WH_CBT is supported; hooks run newest first.
HHOOK WINAPI SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk);
// Calls the next older hook than the one running now (hhk is not needed to
// find it); 0 when there is none.
LRESULT WINAPI CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
