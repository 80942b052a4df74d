// CPaintDC: BeginPaint/EndPaint around a WM_PAINT handler.
#include "CPaintDC.h"

#include <cstring>

#include "CWnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) {
  memset(&m_ps, 0, sizeof(m_ps));
  m_hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
  if (m_hDC != nullptr) {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
  }
}
