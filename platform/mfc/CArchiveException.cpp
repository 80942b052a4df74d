// CArchiveException and its thrower.
#include "CArchiveException.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext != nullptr) *pnHelpContext = 0;
  static const char* const s_reasons[] = {
      "no error",        "unexpected error",   "cannot write to an archive opened for reading",
      "unexpected end of data", "cannot read from an archive opened for writing",
      "invalid object or class index", "unknown or unexpected class", "unsupported class version"};
  const char* pszReason = m_cause >= 0 && m_cause <= badSchema ? s_reasons[m_cause] : s_reasons[genericException];
  CString strText("Archive error: ");
  strText += pszReason;
  if (!m_strFileName.IsEmpty()) strText += " in " + m_strFileName;
  return CopyMessage(strText, lpszError, nMaxError);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
  throw new CArchiveException(cause, lpszArchiveName);
}
