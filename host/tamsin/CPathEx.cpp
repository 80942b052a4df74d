// CPathEx: joining path components.
#include "tamsin/CPathEx.h"

CPathEx::CPathEx(const CString& strPath) : m_strPath(strPath) {}

CPathEx::CPathEx(LPCTSTR pszPath) : m_strPath(pszPath) {}

CPathEx CPathEx::operator^(const char* pszName) const {
  if (m_strPath.IsEmpty() || pszName == nullptr || *pszName == '\0') return *this;
  while (IsSeparator(*pszName)) ++pszName;
  CString strJoined = m_strPath;
  if (!IsSeparator(strJoined[strJoined.GetLength() - 1])) strJoined += kSeparator;
  strJoined += pszName;
  return CPathEx(strJoined);
}
