// Test controls of the desktop: screen size, work area, logical pixels per
// inch, keyboard state, tick count, and logs of the windows created and the
// text drawn. Declared once for both sides: on posix they control the
// simulated desktop behind the in-process window system; on Windows they act
// on the real desktop, and what the real system cannot do is stated with
// each call. Part of the test-control library (nimbo_testctl), which only
// tests, tools and drivers link: the library and the platform layer that a
// host loads never include this header.
#pragma once

#include <string>
#include <vector>

#include "Win32Def.h"

// One window as CreateWindowEx received it.
struct CSimCreatedWindow {
  HWND hWnd;
  std::string strClassName;
  std::string strWindowName;
  DWORD dwStyle;
  DWORD dwExStyle;
  HWND hWndParent;  // parent or owner as given
};

// One TextOut call into a window's device context.
struct CSimDrawnText {
  int x;
  int y;
  std::string strText;
};

class CSimDesktop {
 public:
  // Defaults on posix: a 1024 x 768 screen, the work area without a 40-pixel
  // task bar at the bottom (0, 0, 1024, 728), 96 logical pixels per inch;
  // SetScreenSize also resets the work area to that rule. Windows: the
  // screen's size and pixels per inch are the display's own, and
  // SetScreenSize and SetLogPixels change nothing (a display's settings apply
  // to new processes only); the work area is set with SPI_SETWORKAREA and
  // restored by Reset.
  static void SetScreenSize(int cx, int cy);
  static void SetWorkArea(const RECT& rcWork);
  static void SetLogPixels(int nLogPixelsX, int nLogPixelsY);
  static SIZE GetScreenSize();
  static RECT GetWorkArea();
  static int GetLogPixelsX();
  static int GetLogPixelsY();

  // Presses or releases a key for GetKeyState/GetAsyncKeyState. Posix:
  // retrieving WM_KEYDOWN/WM_KEYUP from the queue does the same. Windows:
  // this thread's keyboard state (SetKeyboardState), which TranslateMessage
  // reads too.
  static void SetKeyDown(int nVirtKey, bool bDown);
  static bool IsKeyDown(int nVirtKey);

  // The caret's owner (null when there is no caret), whether it is shown
  // (ShowCaret once more than HideCaret), and its size.
  static HWND GetCaretOwner();
  static bool IsCaretShown();
  static SIZE GetCaretSize();

  // Moves GetTickCount forward by nMilliseconds (Windows: the real tick
  // count cannot be moved, and this does nothing).
  static void AdvanceTickCount(DWORD nMilliseconds);

  // Every window created since the last ClearLogs, in creation order
  // (Windows: on this thread, as a computer-based-training hook sees them).
  static const std::vector<CSimCreatedWindow>& GetCreatedWindows();
  // Text drawn into hWnd's device contexts since its last BeginPaint (or
  // since ClearLogs); empty for windows that drew nothing (Windows: always
  // empty, real device contexts keep no record).
  static std::vector<CSimDrawnText> GetDrawnText(HWND hWnd);
  static void ClearLogs();

  // Destroys every window (Windows: of this thread), releases the keys,
  // clears the queue and the logs and restores the screen defaults: a clean
  // desktop for the next test.
  static void Reset();
};
