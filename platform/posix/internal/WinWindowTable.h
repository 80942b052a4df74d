// State of the in-process window system (internal to the platform layer):
// registered classes, live windows, focus, activation, capture, caret,
// message queue, keyboard, hooks and the simulated desktop.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SimDesktop.h"
#include "Win32User.h"

struct CSimNoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct CSimClass {
  std::string strName;
  WNDCLASS wc;
  int nWindows = 0;  // live windows of the class
};

struct CSimWindow {
  HWND hWnd = nullptr;
  std::string strClassName;
  WNDPROC pfnWndProc = nullptr;
  DWORD dwStyle = 0;
  DWORD dwExStyle = 0;
  HWND hParent = nullptr;  // WS_CHILD windows only
  HWND hOwner = nullptr;   // other windows only
  int x = 0;               // parent client coordinates for a child, else screen
  int y = 0;
  int cx = 0;
  int cy = 0;
  std::string strText;
  LONG_PTR nUserData = 0;
  int nID = 0;
  HINSTANCE hInstance = nullptr;
  std::vector<HWND> children;  // creation order
  bool bDestroying = false;
  bool bNeedsPaint = false;

  bool IsChild() const { return (dwStyle & WS_CHILD) != 0; }
};

struct CSimCaret {
  HWND hOwner = nullptr;  // null: no caret
  POINT pt = {0, 0};
  int cx = 0;
  int cy = 0;
  int nHideLevel = 1;  // visible at 0
};

class CSimWindowTable {
 public:
  static CSimWindowTable& Get();

  // The live window of a handle, or null.
  CSimWindow* Find(HWND hWnd);
  CSimClass* FindClass(LPCSTR pszName);
  // Origin of the window's client area in screen coordinates.
  POINT ClientOrigin(const CSimWindow& wnd);
  // The top-level window above hWnd (hWnd itself when it is top-level).
  HWND Root(HWND hWnd);
  // Whether hWnd is hAncestor or lies below it (children only).
  bool IsSelfOrDescendant(HWND hWnd, HWND hAncestor);

  // Restores the desktop defaults (screen, work area, pixels per inch).
  void ResetDesktop();

  std::map<std::string, CSimClass, CSimNoCaseLess> m_classes;
  std::map<HWND, std::unique_ptr<CSimWindow>> m_windows;  // ordered by handle: creation order
  std::vector<HWND> m_topLevel;                            // creation order

  HWND m_hFocus = nullptr;
  HWND m_hActive = nullptr;
  HWND m_hCapture = nullptr;
  CSimCaret m_caret;

  std::deque<MSG> m_queue;
  bool m_bQuit = false;
  int m_nQuitCode = 0;

  bool m_keyDown[256] = {};
  bool m_keyToggled[256] = {};

  std::vector<std::pair<HHOOK, HOOKPROC>> m_cbtHooks;  // oldest first

  SIZE m_screen = {1024, 768};
  RECT m_workArea = {0, 0, 1024, 728};
  int m_nLogPixelsX = 96;
  int m_nLogPixelsY = 96;
  DWORD m_nTickOffset = 0;

  std::vector<CSimCreatedWindow> m_created;
  std::map<HWND, std::vector<CSimDrawnText>> m_drawn;

 private:
  CSimWindowTable() = default;
};
