// CFileException: errors of a CFile (open, read, write, seek, close).
#pragma once

#include "CException.h"

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)

 public:
  enum {
    none,              // 0
    genericException,  // 1
    fileNotFound,      // 2
    badPath,           // 3
    tooManyOpenFiles,  // 4
    accessDenied,      // 5
    invalidFile,       // 6: no open file, or a bad handle
    removeCurrentDir,  // 7
    directoryFull,     // 8
    badSeek,           // 9
    hardIO,            // 10
    sharingViolation,  // 11
    lockViolation,     // 12
    diskFull,          // 13
    endOfFile          // 14
  };

  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);

  // The cause for a Win32 error code (GetLastError); genericException for
  // codes without a better match.
  static int PASCAL OsErrorToException(LONG lOsError);

  // "File error: <reason>" followed by " (<file>)" when the name is known.
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  LONG m_lOsError;  // the Win32 error code, -1 when none
  CString m_strFileName;
};

// Throws new CFileException(cause, lOsError, lpszFileName); the catcher Delete()s it.
[[noreturn]] void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
