// CMemoryException: an allocation that cannot be satisfied.
#pragma once

#include "CException.h"

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}

  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Throws a pointer to one static CMemoryException (no allocation is needed
// when memory is short); its Delete() does nothing.
[[noreturn]] void AFXAPI AfxThrowMemoryException();
