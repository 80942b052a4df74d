// CHarnessFrame and CHarnessEditor: the host's frame window and editor window
// objects, which report the focus leaving them to the harness.
#pragma once

#include <functional>
#include <utility>

#include "CWnd.h"
#include "assist/CCodeMaxCtrl.h"

// Called with the window that is getting the focus (null: none).
typedef std::function<void(HWND hWndNewFocus)> HARNESS_FOCUS_HANDLER;

class CHarnessFrame : public CWnd {
 public:
  explicit CHarnessFrame(HARNESS_FOCUS_HANDLER pfnKillFocus) : m_pfnKillFocus(std::move(pfnKillFocus)) {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HARNESS_FOCUS_HANDLER m_pfnKillFocus;
};

class CHarnessEditor : public CCodeMaxCtrl {
 public:
  explicit CHarnessEditor(HARNESS_FOCUS_HANDLER pfnKillFocus) : m_pfnKillFocus(std::move(pfnKillFocus)) {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HARNESS_FOCUS_HANDLER m_pfnKillFocus;
};
