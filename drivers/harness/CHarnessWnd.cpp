// CHarnessFrame and CHarnessEditor: focus reporting of the harness's windows.
#include "harness/CHarnessWnd.h"

template <class TBase>
LRESULT CHarnessFocusWnd<TBase>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window handles the message first, so the focus has moved on when the
  // handler runs.
  LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
  if (message == WM_KILLFOCUS && m_pfnKillFocus) m_pfnKillFocus(reinterpret_cast<HWND>(wParam));
  return lResult;
}

template class CHarnessFocusWnd<CWnd>;
template class CHarnessFocusWnd<CCodeMaxCtrl>;
