// CMemoryException and its thrower.
#include "CMemoryException.h"

IMPLEMENT_DYNAMIC(CMemoryException, CException)

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  return CopyMessage("Out of memory", lpszError, nMaxError);
}

void AFXAPI AfxThrowMemoryException() {
  static CMemoryException s_exception(FALSE);
  throw &s_exception;
}
