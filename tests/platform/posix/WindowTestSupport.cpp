// Test support for the window system.
#include "WindowTestSupport.h"

#include <algorithm>

const char kLoggingClass[] = "LoggingWindow";
std::vector<CLoggedMessage> g_messageLog;
std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> g_reaction;

namespace {
LRESULT CALLBACK LoggingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  g_messageLog.push_back({hWnd, nMsg, wParam, lParam});
  if (g_reaction) {
    LRESULT lResult = g_reaction(hWnd, nMsg, wParam, lParam);
    if (lResult != -2) return lResult;
  }
  return DefWindowProc(hWnd, nMsg, wParam, lParam);
}
}  // namespace

void RegisterLoggingClass() {
  WNDCLASS wc = {};
  if (GetClassInfo(nullptr, kLoggingClass, &wc)) return;
  wc.lpfnWndProc = LoggingProc;
  wc.lpszClassName = kLoggingClass;
  RegisterClass(&wc);
}

std::vector<CLoggedMessage> LoggedOf(std::initializer_list<UINT> messages) {
  std::vector<CLoggedMessage> found;
  for (const CLoggedMessage& m : g_messageLog)
    if (std::find(messages.begin(), messages.end(), m.nMsg) != messages.end()) found.push_back(m);
  return found;
}

HWND CreateLoggingWindow(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, DWORD dwExStyle,
                         LPVOID lpParam) {
  return CreateWindowEx(dwExStyle, kLoggingClass, "", dwStyle, x, y, cx, cy, hParent, nullptr, nullptr, lpParam);
}

void WindowTest::SetUp() {
  CSimDesktop::Reset();
  RegisterLoggingClass();
  g_messageLog.clear();
  g_reaction = nullptr;
}

void WindowTest::TearDown() {
  g_reaction = nullptr;
  CSimDesktop::Reset();
  g_messageLog.clear();
}
