// CCodeMaxCtrl: creation of a CodeMax editor window through CWnd.
#include "assist/CCodeMaxCtrl.h"

BOOL CCodeMaxCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("CodeMax", "", dwStyle, rect, pParentWnd, nID, nullptr);
}
