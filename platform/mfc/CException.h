// CException: the root of MFC's exception classes, thrown as pointers.
//
// MFC throws exceptions as pointers to heap objects: the catcher owns the
// object and releases it with Delete():
//   try { ar >> str; } catch (CArchiveException* e) { int cause = e->m_cause; e->Delete(); }
// This header also brings in the derived exception classes, so that one
// include serves every catcher.
#pragma once

#include "CObject.h"
#include "CString.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  // bAutoDelete false marks an object that Delete() must not free (a static
  // or automatic one).
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  ~CException() override = default;

  // Frees the object when it was allocated for throwing; otherwise nothing.
  void Delete();

  // Copies a one-line description of the error into lpszError (at most
  // nMaxError bytes, zero-terminated). FALSE when there is no text.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

  BOOL m_bAutoDelete;

 protected:
  // Copies strText into the caller's buffer as GetErrorMessage promises.
  static BOOL CopyMessage(const CString& strText, LPTSTR lpszError, UINT nMaxError);
};

#include "CArchiveException.h"
#include "CFileException.h"
#include "CMemoryException.h"
