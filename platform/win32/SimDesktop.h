// Test controls of the desktop, on the real Windows desktop: the same calls as
// the in-process window system's controls, so that tests, tools and host
// stand-ins run unchanged. What the real system cannot do is stated with each
// call. The library never includes this header.
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
  // The screen's size and pixels per inch are the display's own: SetScreenSize
  // and SetLogPixels change nothing here (a display's settings apply to new
  // processes only). The work area is set with SPI_SETWORKAREA and restored
  // by Reset.
  static void SetScreenSize(int cx, int cy);
  static void SetWorkArea(const RECT& rcWork);
  static void SetLogPixels(int nLogPixelsX, int nLogPixelsY);
  static SIZE GetScreenSize();
  static RECT GetWorkArea();
  static int GetLogPixelsX();
  static int GetLogPixelsY();

  // Presses or releases a key in this thread's keyboard state
  // (SetKeyboardState), which GetKeyState and TranslateMessage read.
  static void SetKeyDown(int nVirtKey, bool bDown);
  static bool IsKeyDown(int nVirtKey);

  // The caret's owner (null when there is no caret), whether it is shown
  // (ShowCaret once more than HideCaret), and its size.
  static HWND GetCaretOwner();
  static bool IsCaretShown();
  static SIZE GetCaretSize();

  // The real tick count cannot be moved: this does nothing.
  static void AdvanceTickCount(DWORD nMilliseconds);

  // Every window created on this thread since the last ClearLogs, in creation
  // order (seen by a computer-based-training hook).
  static const std::vector<SIM_CREATED_WINDOW>& GetCreatedWindows();
  // Real device contexts keep no record of the text drawn: always empty.
  static std::vector<SIM_DRAWN_TEXT> GetDrawnText(HWND hWnd);
  static void ClearLogs();

  // Destroys every window of this thread, releases the keys, clears the
  // queue and the logs and restores the work area: a clean desktop for the
  // next test.
  static void Reset();
};
