// Controls of the simulated desktop behind the in-process window system:
// screen size, work area, logical pixels per inch, keyboard state, tick count,
// and logs of the windows created and the text drawn. For tests, tools and
// host stand-ins only; the library never includes this header.
#pragma once

#include <string>
#include <vector>

#include "WinDef.h"

// One window as CreateWindowEx received it.
struct SIM_CREATED_WINDOW {
  HWND hWnd;
  std::string strClassName;
  std::string strWindowName;
  DWORD dwStyle;
  DWORD dwExStyle;
  HWND hWndParent;  // parent or owner as given
};

// One TextOut call into a window's device context.
struct SIM_DRAWN_TEXT {
  int x;
  int y;
  std::string strText;
};

class CSimDesktop {
 public:
  // Defaults: a 1024 x 768 screen, the work area without a 40-pixel task bar
  // at the bottom (0, 0, 1024, 728), 96 logical pixels per inch.
  static void SetScreenSize(int cx, int cy);  // also resets the work area to the default rule
  static void SetWorkArea(const RECT& rcWork);
  static void SetLogPixels(int nLogPixelsX, int nLogPixelsY);
  static SIZE GetScreenSize();
  static RECT GetWorkArea();
  static int GetLogPixelsX();
  static int GetLogPixelsY();

  // Presses or releases a key for GetKeyState/GetAsyncKeyState (retrieving
  // WM_KEYDOWN/WM_KEYUP from the queue does the same).
  static void SetKeyDown(int nVirtKey, bool bDown);
  static bool IsKeyDown(int nVirtKey);

  // The caret's owner (null when there is no caret), whether it is shown
  // (ShowCaret once more than HideCaret), and its size.
  static HWND GetCaretOwner();
  static bool IsCaretShown();
  static SIZE GetCaretSize();

  // Moves GetTickCount forward by nMilliseconds.
  static void AdvanceTickCount(DWORD nMilliseconds);

  // Every window created since the last ClearLogs, in creation order.
  static const std::vector<SIM_CREATED_WINDOW>& GetCreatedWindows();
  // Text drawn into hWnd's device contexts since its last BeginPaint (or
  // since ClearLogs); empty for windows that drew nothing.
  static std::vector<SIM_DRAWN_TEXT> GetDrawnText(HWND hWnd);
  static void ClearLogs();

  // Destroys every window, releases the keys, clears the queue and the logs
  // and restores the screen defaults: a clean desktop for the next test.
  static void Reset();
};
