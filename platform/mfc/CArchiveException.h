// CArchiveException: errors of a CArchive (bad data, wrong direction, end of data).
#pragma once

#include "CException.h"

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)

 public:
  enum {
    none,              // 0
    genericException,  // 1: unspecified
    readOnly,          // 2: writing to an archive that loads
    endOfFile,         // 3: too few bytes left for a value, count or string
    writeOnly,         // 4: reading from an archive that stores
    badIndex,          // 5: an object or class index that is not in the archive
    badClass,          // 6: an unknown, unusable or unexpected class
    badSchema          // 7: a class schema that differs from the program's
  };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

  // "Archive error: <reason>" followed by " in <file>" when the name is known.
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  CString m_strFileName;  // path of the archive's file; empty for memory
};

// Throws new CArchiveException(cause, lpszArchiveName); the catcher Delete()s it.
[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
