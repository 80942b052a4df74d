// CHarnessFrame and CHarnessEditor: the host's frame window and editor window
// objects, which report the focus leaving them to the harness.
#pragma once

#include <functional>
#include <utility>

#include "CWnd.h"
#include "assist/CCodeMaxCtrl.h"

// Called with the window that is getting the focus (null: none).
typedef std::function<void(HWND hWndNewFocus)> HARNESS_FOCUS_HANDLER;

// A window of class TBase that reports the focus leaving it; defined for
// the two bases below.
template <class TBase>
class CHarnessFocusWnd : public TBase {
 public:
  explicit CHarnessFocusWnd(HARNESS_FOCUS_HANDLER pfnKillFocus) : m_pfnKillFocus(std::move(pfnKillFocus)) {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HARNESS_FOCUS_HANDLER m_pfnKillFocus;
};

typedef CHarnessFocusWnd<CWnd> CHarnessFrame;
typedef CHarnessFocusWnd<CCodeMaxCtrl> CHarnessEditor;
