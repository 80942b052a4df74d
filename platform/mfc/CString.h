// CString: MFC's 8-bit string with value semantics.
//
// Text is a sequence of bytes in the host's code page. The string always has
// a terminating zero after its last byte, so it converts to a C string; it
// may also hold zero bytes inside (built with the (text, length) constructor
// or appended byte by byte), and then GetLength counts them while every C
// string view stops at the first. Ordering and equality compare as C strings
// with _mbscmp, as MFC does.
#pragma once

#include <cstdarg>
#include <string>

#include "WinDef.h"

class CString {
 public:
  CString() = default;
  CString(const char* psz);                 // NOLINT: implicit, as in MFC
  CString(const char* pch, int nLength);    // exactly nLength bytes, zeros included
  CString(char ch, int nRepeat = 1);        // NOLINT
  CString(const std::string& text);         // NOLINT
  CString(std::string&& text) noexcept;     // NOLINT: takes the text over without copying it

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }

  char GetAt(int nIndex) const { return m_text[static_cast<size_t>(nIndex)]; }
  void SetAt(int nIndex, char ch) { m_text[static_cast<size_t>(nIndex)] = ch; }
  char operator[](int nIndex) const { return GetAt(nIndex); }

  operator LPCTSTR() const { return m_text.c_str(); }  // NOLINT: as in MFC
  LPCTSTR GetString() const { return m_text.c_str(); }
  const std::string& Str() const { return m_text; }

  // Index of the first ch (or substring) at or after nStart, or -1.
  int Find(char ch, int nStart = 0) const;
  int Find(LPCTSTR pszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;

  // Substrings; counts and indices are clamped to the string as MFC does.
  CString Left(int nCount) const;
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Right(int nCount) const;

  CString& operator=(const char* psz);
  CString& operator=(char ch);
  CString& operator+=(const CString& s);
  CString& operator+=(const char* psz);
  CString& operator+=(char ch);

  // printf-style formatting; replaces the content.
  void Format(LPCTSTR pszFormat, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(LPCTSTR pszFormat, va_list args);

  int Compare(LPCTSTR psz) const;        // _mbscmp
  int CompareNoCase(LPCTSTR psz) const;  // _mbsicmp

  void MakeUpper();
  void MakeLower();
  CString& TrimLeft();
  CString& TrimRight();
  int Replace(LPCTSTR pszOld, LPCTSTR pszNew);

  // Direct access for C-style writers: GetBuffer gives at least nMinLength
  // writable bytes; ReleaseBuffer(-1) cuts at the first zero byte.
  char* GetBuffer(int nMinLength);
  void ReleaseBuffer(int nNewLength = -1);

 private:
  std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);
