// CException: pointer-thrown exception objects.
#include "CException.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  if (lpszError != nullptr && nMaxError > 0) *lpszError = '\0';
  return FALSE;
}

BOOL CException::CopyMessage(const CString& strText, LPTSTR lpszError, UINT nMaxError) {
  if (lpszError == nullptr || nMaxError == 0) return FALSE;
  size_t nCopy = static_cast<size_t>(strText.GetLength());
  if (nCopy > nMaxError - 1) nCopy = nMaxError - 1;
  std::memcpy(lpszError, strText.GetString(), nCopy);
  lpszError[nCopy] = '\0';
  return TRUE;
}
