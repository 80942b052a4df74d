// CPathEx: a file-system path held as text, joined with the platform's
// separator by operator^ ("/" on POSIX, a backslash on Windows).
#pragma once

#include "CString.h"

class CPathEx {
 public:
  CPathEx() = default;
  CPathEx(const CString& strPath);  // NOLINT: a path is its text
  CPathEx(LPCTSTR pszPath);         // NOLINT

  // The separator that operator^ puts between the parts. On Windows "/"
  // separates too, and is taken as a separator where it stands already.
  static const char kSeparator;

  // This path with pszName appended after one separator: a separator
  // already at the end of the path or at the start of the name is not
  // doubled. An empty path stays empty whatever is joined to it, so that a
  // name joined to an unknown location never becomes a path relative to the
  // current directory. A null or empty name leaves the path as it is.
  CPathEx operator^(const char* pszName) const;

  operator LPCTSTR() const { return m_strPath; }  // NOLINT: as the host's path class
  const CString& GetPath() const { return m_strPath; }
  bool IsEmpty() const { return m_strPath.IsEmpty(); }

 private:
  static bool IsSeparator(char c);  // defined with kSeparator, per side

  CString m_strPath;
};
