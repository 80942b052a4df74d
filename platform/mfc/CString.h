// CString: MFC's 8-bit string with value semantics.
//
// Copies share one reference-counted text block; a string that is about to
// change gets a block of its own first (copy on write), so copying and
// passing strings by value costs a counter increment. Blocks of small texts
// come from the fixed-size pools of CFixedAlloc. A string may be copied and
// destroyed on any thread; one string object is used by one thread at a time.
//
// Text is a sequence of bytes in the host's code page. The string always has
// a terminating zero after its last byte, so it converts to a C string; it
// may also hold zero bytes inside (built with the (text, length) constructor
// or appended byte by byte), and then GetLength counts them while every C
// string view stops at the first. Ordering and equality compare as C strings
// with _mbscmp, as MFC does.
#pragma once

#include <atomic>
#include <climits>
#include <cstdarg>
#include <string>

#include "Win32Def.h"

// The header in front of a CString's text; the text follows it and ends with
// a zero byte at nDataLength.
struct CStringData {
  std::atomic<int> nRefs;  // the strings sharing the block; -1 for the shared empty text, never freed
  int nDataLength;         // bytes of text, zero bytes included
  int nAllocLength;        // room for text in the block, the terminating zero not counted
  char* data() { return reinterpret_cast<char*>(this + 1); }
};

class CString {
 public:
  // The longest text a string holds, so that the index of its terminating
  // zero is still an int; making a longer one throws std::bad_alloc.
  static const int kMaxLength = INT_MAX - 1;

  CString();
  CString(const char* psz);                 // NOLINT: implicit, as in MFC
  CString(const char* pch, int nLength);    // exactly nLength bytes, zeros included
  CString(char ch, int nRepeat = 1);        // NOLINT
  CString(const std::string& text);         // NOLINT
  CString(const CString& other) noexcept;   // shares other's text
  CString(CString&& other) noexcept;        // takes other's text; other is left empty
  ~CString() {
    if (GetData()->nRefs.load(std::memory_order_relaxed) >= 0) Release();  // the empty text is never released
  }
  CString& operator=(const CString& other) noexcept;
  CString& operator=(CString&& other) noexcept;

  int GetLength() const { return GetData()->nDataLength; }
  bool IsEmpty() const { return GetLength() == 0; }
  void Empty();

  // A byte of the text: nIndex from 0 to GetLength() - 1, else
  // std::out_of_range (the terminating zero is not the caller's to change).
  char GetAt(int nIndex) const {
    if (static_cast<unsigned>(nIndex) >= static_cast<unsigned>(GetLength())) ThrowBadIndex();
    return m_pchData[nIndex];
  }
  void SetAt(int nIndex, char ch);
  char operator[](int nIndex) const { return GetAt(nIndex); }

  operator LPCTSTR() const { return m_pchData; }  // NOLINT: as in MFC
  LPCTSTR GetString() const { return m_pchData; }
  std::string Str() const { return std::string(m_pchData, static_cast<size_t>(GetLength())); }

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
  // Makes the text exactly nLength bytes of pch, zeros included; a text
  // this string alone holds is overwritten in place when it has the room.
  void SetString(const char* pch, int nLength);
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

  // Direct access for C-style writers: GetBuffer gives a text of its own
  // with at least nMinLength writable bytes (a shorter text is lengthened to
  // nMinLength with zero bytes); ReleaseBuffer(-1) cuts at the first zero
  // byte.
  char* GetBuffer(int nMinLength);
  void ReleaseBuffer(int nNewLength = -1);

 private:
  CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
  [[noreturn]] static void ThrowBadIndex();
  // Drops this string's share of its block and points it at the empty text.
  void Release() noexcept;
  // Makes the text nLength bytes long in a block of this string's own,
  // keeping the first nKeep bytes of the present text (and growing the room
  // geometrically when the text is kept, so that appending byte by byte
  // stays linear); returns the text. The terminating zero is set; the bytes
  // from nKeep to nLength are left to the caller.
  char* PrepareWrite(int nLength, int nKeep);
  void AssignCopy(const char* pch, int nLength);
  void Append(const char* pch, int nLength);

  char* m_pchData;  // the text inside its block (see CStringData)
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
