// CString implementation over std::string.
#include "CString.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "MbString.h"

namespace {

inline const unsigned char* U(const char* p) { return reinterpret_cast<const unsigned char*>(p); }

}  // namespace

CString::CString(const char* psz) : m_text(psz != nullptr ? psz : "") {}

CString::CString(const char* pch, int nLength)
    : m_text(pch != nullptr && nLength > 0 ? std::string(pch, static_cast<size_t>(nLength)) : std::string()) {}

CString::CString(char ch, int nRepeat) : m_text(nRepeat > 0 ? static_cast<size_t>(nRepeat) : 0, ch) {}

CString::CString(const std::string& text) : m_text(text) {}

CString::CString(std::string&& text) noexcept : m_text(std::move(text)) {}

int CString::Find(char ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  size_t pos = m_text.find(ch, static_cast<size_t>(nStart));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
  if (pszSub == nullptr) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  size_t pos = m_text.find(pszSub, static_cast<size_t>(nStart));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
  size_t pos = m_text.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const {
  if (nCount <= 0) return CString();
  if (nCount >= GetLength()) return *this;
  return CString(m_text.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - (nFirst < 0 ? 0 : nFirst)); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst >= GetLength()) return CString();
  if (nCount > GetLength() - nFirst) nCount = GetLength() - nFirst;
  return CString(m_text.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const {
  if (nCount <= 0) return CString();
  if (nCount >= GetLength()) return *this;
  return CString(m_text.substr(m_text.size() - static_cast<size_t>(nCount)));
}

CString& CString::operator=(const char* psz) {
  // psz may point into this string's own buffer.
  std::string copy(psz != nullptr ? psz : "");
  m_text.swap(copy);
  return *this;
}

CString& CString::operator=(char ch) {
  m_text.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const CString& s) {
  m_text += s.m_text;
  return *this;
}

CString& CString::operator+=(const char* psz) {
  if (psz != nullptr) m_text.append(std::string(psz));
  return *this;
}

CString& CString::operator+=(char ch) {
  m_text.push_back(ch);
  return *this;
}

void CString::Format(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args) {
  va_list probe;
  va_copy(probe, args);
  int n = std::vsnprintf(nullptr, 0, pszFormat, probe);
  va_end(probe);
  if (n < 0) {
    m_text.clear();
    return;
  }
  std::vector<char> buffer(static_cast<size_t>(n) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
  m_text.assign(buffer.data(), static_cast<size_t>(n));
}

int CString::Compare(LPCTSTR psz) const { return _mbscmp(U(m_text.c_str()), U(psz != nullptr ? psz : "")); }

int CString::CompareNoCase(LPCTSTR psz) const { return _mbsicmp(U(m_text.c_str()), U(psz != nullptr ? psz : "")); }

void CString::MakeUpper() {
  for (char& c : m_text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void CString::MakeLower() {
  for (char& c : m_text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[i]))) ++i;
  m_text.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = m_text.size();
  while (n > 0 && std::isspace(static_cast<unsigned char>(m_text[n - 1]))) --n;
  m_text.resize(n);
  return *this;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
  if (pszOld == nullptr || *pszOld == 0) return 0;
  std::string from(pszOld), to(pszNew != nullptr ? pszNew : "");
  int count = 0;
  size_t pos = 0;
  while ((pos = m_text.find(from, pos)) != std::string::npos) {
    m_text.replace(pos, from.size(), to);
    pos += to.size();
    ++count;
  }
  return count;
}

char* CString::GetBuffer(int nMinLength) {
  if (nMinLength > GetLength()) m_text.resize(static_cast<size_t>(nMinLength));
  return &m_text[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) nNewLength = static_cast<int>(std::strlen(m_text.c_str()));
  if (nNewLength > GetLength()) nNewLength = GetLength();
  m_text.resize(static_cast<size_t>(nNewLength));
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, const char* b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const char* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
