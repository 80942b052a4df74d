// Test support for the window system: a window class whose procedure logs
// every message it gets, and a fixture that starts each test on a clean desktop.
#pragma once

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "SimDesktop.h"
#include "Win32User.h"

struct CLoggedMessage {
  HWND hWnd;
  UINT nMsg;
  WPARAM wParam;
  LPARAM lParam;
};

// The class "LoggingWindow": every message goes to the log, then to an
// optional per-test reaction, then to DefWindowProc.
extern const char kLoggingClass[];
extern std::vector<CLoggedMessage> g_messageLog;
// When set, called for each message; a value other than -2 is the answer
// (DefWindowProc is then skipped).
extern std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> g_reaction;

void RegisterLoggingClass();

// Messages of the log with one of the given numbers, in order.
std::vector<CLoggedMessage> LoggedOf(std::initializer_list<UINT> messages);

HWND CreateLoggingWindow(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent = nullptr,
                         DWORD dwExStyle = 0, LPVOID lpParam = nullptr);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};
