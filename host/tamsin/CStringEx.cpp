// CStringEx: character tests and splitting at the first divider.
#include "tamsin/CStringEx.h"

#include <utility>

CStringEx::CStringEx(const CString& source) : CString(source) {}

CStringEx::CStringEx(CString&& source) noexcept : CString(std::move(source)) {}

CStringEx::CStringEx(const char* psz) : CString(psz) {}

CStringEx::CStringEx(const CString& source, int nFirst, int nCount) : CString(source.Mid(nFirst, nCount)) {}

bool CStringEx::IsFirstChar(char c) const { return !IsEmpty() && GetAt(0) == c; }

bool CStringEx::IsLastChar(char c) const { return !IsEmpty() && GetAt(GetLength() - 1) == c; }

CString CStringEx::LeftChar(char c) const {
  const int nPos = Find(c);
  return nPos < 0 ? CString(*this) : Left(nPos);
}

CString CStringEx::RightChar(char c) const {
  const int nPos = Find(c);
  return nPos < 0 ? CString() : Mid(nPos + 1);
}
