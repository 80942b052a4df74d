// CHarnessFrame and CHarnessEditor: focus reporting of the harness's windows.
#include "harness/CHarnessWnd.h"

LRESULT CHarnessFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window handles the message first, so the focus has moved on when the
  // handler runs.
  LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
  if (message == WM_KILLFOCUS && m_pfnKillFocus) m_pfnKillFocus(reinterpret_cast<HWND>(wParam));
  return lResult;
}

LRESULT CHarnessEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = CCodeMaxCtrl::WindowProc(message, wParam, lParam);
  if (message == WM_KILLFOCUS && m_pfnKillFocus) m_pfnKillFocus(reinterpret_cast<HWND>(wParam));
  return lResult;
}
