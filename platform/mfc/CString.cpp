// CString implementation: shared, reference-counted text blocks with copy on
// write, small blocks drawn from the fixed-size pools.
#include "CString.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "CFixedAlloc.h"
#include "CrtMbString.h"

namespace {

inline const unsigned char* U(const char* p) { return reinterpret_cast<const unsigned char*>(p); }

// The empty text every empty string points at: never counted, never freed,
// constant-initialised so that strings built during static initialisation
// find it ready.
struct EMPTY_TEXT {
  CStringData header;
  char chZero;
};
EMPTY_TEXT g_empty = {{{-1}, 0, 0}, 0};

inline char* EmptyText() { return g_empty.header.data(); }

const int kMaxLength = CString::kMaxLength;

inline size_t BlockBytes(int nAllocLength) {
  return sizeof(CStringData) + static_cast<size_t>(nAllocLength) + 1;
}

// A block with room for at least nAllocLength bytes of text (all the room
// its pool block gives), one reference and an nLength-byte text whose
// terminating zero is set.
CStringData* NewData(int nAllocLength, int nLength) {
  if (nLength > kMaxLength || nAllocLength < nLength) throw std::bad_alloc();
  if (nAllocLength > kMaxLength) nAllocLength = kMaxLength;
  const size_t nBlock = CFixedAlloc::RoundUp(BlockBytes(nAllocLength));
  CStringData* pData = static_cast<CStringData*>(CFixedAlloc::Alloc(nBlock));
  new (&pData->nRefs) std::atomic<int>(1);
  pData->nAllocLength = static_cast<int>(nBlock - sizeof(CStringData) - 1);
  pData->nDataLength = nLength;
  pData->data()[nLength] = 0;
  return pData;
}

inline void FreeData(CStringData* pData) { CFixedAlloc::Free(pData, BlockBytes(pData->nAllocLength)); }

inline int ToLength(size_t nLength) {
  if (nLength > static_cast<size_t>(kMaxLength)) throw std::bad_alloc();
  return static_cast<int>(nLength);
}

}  // namespace

CString::CString() : m_pchData(EmptyText()) {}

CString::CString(const char* psz) : m_pchData(EmptyText()) {
  if (psz != nullptr) AssignCopy(psz, ToLength(std::strlen(psz)));
}

CString::CString(const char* pch, int nLength) : m_pchData(EmptyText()) {
  // The road of every substring and of every text the INI reader makes.
  if (pch == nullptr || nLength <= 0) return;
  CStringData* pData = NewData(nLength, nLength);
  std::memcpy(pData->data(), pch, static_cast<size_t>(nLength));
  m_pchData = pData->data();
}

CString::CString(char ch, int nRepeat) : m_pchData(EmptyText()) {
  if (nRepeat > 0) std::memset(PrepareWrite(nRepeat, 0), ch, static_cast<size_t>(nRepeat));
}

CString::CString(const std::string& text) : m_pchData(EmptyText()) { AssignCopy(text.data(), ToLength(text.size())); }

CString::CString(const CString& other) noexcept : m_pchData(other.m_pchData) {
  CStringData* pData = GetData();
  if (pData->nRefs.load(std::memory_order_relaxed) >= 0) pData->nRefs.fetch_add(1, std::memory_order_relaxed);
}

CString::CString(CString&& other) noexcept : m_pchData(other.m_pchData) { other.m_pchData = EmptyText(); }

CString& CString::operator=(const CString& other) noexcept {
  if (m_pchData != other.m_pchData) {
    CString copy(other);
    std::swap(m_pchData, copy.m_pchData);
  }
  return *this;
}

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    Release();
    m_pchData = other.m_pchData;
    other.m_pchData = EmptyText();
  }
  return *this;
}

void CString::Release() noexcept {
  CStringData* pData = GetData();
  const int nRefs = pData->nRefs.load(std::memory_order_acquire);
  if (nRefs < 0) return;
  // The only holder needs no atomic decrement: no other string can be
  // copying from this one while it is being released.
  if (nRefs == 1 || pData->nRefs.fetch_sub(1, std::memory_order_acq_rel) == 1) FreeData(pData);
  m_pchData = EmptyText();
}

char* CString::PrepareWrite(int nLength, int nKeep) {
  CStringData* pData = GetData();
  if (pData->nRefs.load(std::memory_order_acquire) == 1 && nLength <= pData->nAllocLength) {
    pData->nDataLength = nLength;
    m_pchData[nLength] = 0;
    return m_pchData;
  }
  int nRoom = nLength;
  if (nKeep > 0 && nLength > pData->nAllocLength)
    nRoom = pData->nAllocLength > kMaxLength / 2 ? kMaxLength : std::max(2 * pData->nAllocLength, nLength);
  CStringData* pNew = NewData(nRoom, nLength);
  if (nKeep > 0) std::memcpy(pNew->data(), m_pchData, static_cast<size_t>(nKeep));
  Release();
  m_pchData = pNew->data();
  return m_pchData;
}

void CString::SetString(const char* pch, int nLength) {
  if (pch == nullptr || nLength < 0) nLength = 0;
  AssignCopy(nLength == 0 ? "" : pch, nLength);
}

void CString::AssignCopy(const char* pch, int nLength) {
  CStringData* pData = GetData();
  if (pData->nRefs.load(std::memory_order_acquire) == 1 && nLength <= pData->nAllocLength) {
    // pch may point into this very text.
    std::memmove(m_pchData, pch, static_cast<size_t>(nLength));
    pData->nDataLength = nLength;
    m_pchData[nLength] = 0;
    return;
  }
  if (nLength == 0) {
    Release();
    return;
  }
  CStringData* pNew = NewData(nLength, nLength);
  std::memcpy(pNew->data(), pch, static_cast<size_t>(nLength));
  Release();
  m_pchData = pNew->data();
}

void CString::Append(const char* pch, int nLength) {
  if (nLength <= 0) return;
  const int nOld = GetLength();
  if (nLength > kMaxLength - nOld) throw std::bad_alloc();
  CStringData* pData = GetData();
  if (pData->nRefs.load(std::memory_order_acquire) == 1 && nOld + nLength <= pData->nAllocLength) {
    // In place; pch may be this text's own bytes, which stay where they are.
    std::memcpy(m_pchData + nOld, pch, static_cast<size_t>(nLength));
    pData->nDataLength = nOld + nLength;
    m_pchData[nOld + nLength] = 0;
    return;
  }
  // A new block: the old one (which pch may point into) is released only
  // after both parts were copied.
  CString grown;
  const int nRoom = nOld > kMaxLength / 2 ? kMaxLength : std::max(2 * nOld, nOld + nLength);
  CStringData* pNew = NewData(nRoom, nOld + nLength);
  std::memcpy(pNew->data(), m_pchData, static_cast<size_t>(nOld));
  std::memcpy(pNew->data() + nOld, pch, static_cast<size_t>(nLength));
  grown.m_pchData = pNew->data();
  std::swap(m_pchData, grown.m_pchData);
}

void CString::Empty() { Release(); }

void CString::SetAt(int nIndex, char ch) {
  if (static_cast<unsigned>(nIndex) >= static_cast<unsigned>(GetLength())) ThrowBadIndex();
  PrepareWrite(GetLength(), GetLength())[nIndex] = ch;
}

void CString::ThrowBadIndex() { throw std::out_of_range("CString: index outside the text"); }

int CString::Find(char ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  const void* p = std::memchr(m_pchData + nStart, ch, static_cast<size_t>(GetLength() - nStart));
  return p == nullptr ? -1 : static_cast<int>(static_cast<const char*>(p) - m_pchData);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
  if (pszSub == nullptr) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  const size_t pos = std::string_view(m_pchData, static_cast<size_t>(GetLength())).find(pszSub, static_cast<size_t>(nStart));
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
  const size_t pos = std::string_view(m_pchData, static_cast<size_t>(GetLength())).rfind(ch);
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const {
  if (nCount <= 0) return CString();
  if (nCount >= GetLength()) return *this;
  return CString(m_pchData, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - (nFirst < 0 ? 0 : nFirst)); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst >= GetLength()) return CString();
  if (nCount > GetLength() - nFirst) nCount = GetLength() - nFirst;
  if (nFirst == 0 && nCount == GetLength()) return *this;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Right(int nCount) const {
  if (nCount <= 0) return CString();
  if (nCount >= GetLength()) return *this;
  return CString(m_pchData + GetLength() - nCount, nCount);
}

CString& CString::operator=(const char* psz) {
  AssignCopy(psz != nullptr ? psz : "", psz != nullptr ? ToLength(std::strlen(psz)) : 0);
  return *this;
}

CString& CString::operator=(char ch) {
  *PrepareWrite(1, 0) = ch;
  return *this;
}

CString& CString::operator+=(const CString& s) {
  if (IsEmpty()) return *this = s;
  Append(s.m_pchData, s.GetLength());
  return *this;
}

CString& CString::operator+=(const char* psz) {
  if (psz != nullptr) Append(psz, ToLength(std::strlen(psz)));
  return *this;
}

CString& CString::operator+=(char ch) {
  Append(&ch, 1);
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
    Empty();
    return;
  }
  std::vector<char> buffer(static_cast<size_t>(n) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
  AssignCopy(buffer.data(), n);
}

int CString::Compare(LPCTSTR psz) const { return _mbscmp(U(m_pchData), U(psz != nullptr ? psz : "")); }

int CString::CompareNoCase(LPCTSTR psz) const { return _mbsicmp(U(m_pchData), U(psz != nullptr ? psz : "")); }

void CString::MakeUpper() {
  char* p = PrepareWrite(GetLength(), GetLength());
  for (int i = 0; i < GetLength(); ++i)
    if (p[i] >= 'a' && p[i] <= 'z') p[i] = static_cast<char>(p[i] - 'a' + 'A');
}

void CString::MakeLower() {
  char* p = PrepareWrite(GetLength(), GetLength());
  for (int i = 0; i < GetLength(); ++i)
    if (p[i] >= 'A' && p[i] <= 'Z') p[i] = static_cast<char>(p[i] - 'A' + 'a');
}

CString& CString::TrimLeft() {
  int i = 0;
  while (i < GetLength() && std::isspace(static_cast<unsigned char>(m_pchData[i]))) ++i;
  if (i > 0) *this = Mid(i);
  return *this;
}

CString& CString::TrimRight() {
  int n = GetLength();
  while (n > 0 && std::isspace(static_cast<unsigned char>(m_pchData[n - 1]))) --n;
  if (n < GetLength()) *this = Left(n);
  return *this;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
  if (pszOld == nullptr || *pszOld == 0) return 0;
  std::string text = Str();
  const std::string from(pszOld), to(pszNew != nullptr ? pszNew : "");
  int count = 0;
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
    ++count;
  }
  if (count > 0) AssignCopy(text.data(), ToLength(text.size()));
  return count;
}

char* CString::GetBuffer(int nMinLength) {
  const int nOld = GetLength();
  if (nMinLength <= nOld) return PrepareWrite(nOld, nOld);
  char* p = PrepareWrite(nMinLength, nOld);
  std::memset(p + nOld, 0, static_cast<size_t>(nMinLength - nOld));
  return p;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) nNewLength = static_cast<int>(std::strlen(m_pchData));
  if (nNewLength >= GetLength()) return;
  if (nNewLength == 0) {
    Empty();
    return;
  }
  PrepareWrite(nNewLength, nNewLength);
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
