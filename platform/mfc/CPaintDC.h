// CPaintDC: BeginPaint/EndPaint around a WM_PAINT handler.
#pragma once

#include "CDC.h"
#include "Win32User.h"

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps;

 protected:
  HWND m_hWnd = nullptr;
};
