// CArchive: MFC's binary serialization stream over a CFile, in MFC's
// published byte format: little-endian values, counts, length-prefixed
// strings and object pointers with class tags.
//
// An archive either stores (writes) or loads (reads), through a buffer of
// its own. Errors are thrown as CArchiveException* (and CFileException* or
// CMemoryException* from below); the catcher Delete()s them:
//   readOnly   writing to a loading archive
//   writeOnly  reading from a storing archive
//   endOfFile  too few bytes left for a value, a count or a string
//   badIndex, badClass, badSchema  object data that cannot be read
//
// Loading treats the data as untrusted: a string length larger than the
// bytes left raises endOfFile before anything is allocated for it (see
// operator>> for CString), and a count is never trusted for an allocation
// (see ReadCount).
#pragma once

#include <cstring>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "CException.h"
#include "CObject.h"
#include "CString.h"
#include "Win32FileHandles.h"

class CFile;

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // pFile stays the caller's and must outlive the archive. The file is read
  // and written in pieces of the buffer's size; nBufSize below 128 is raised
  // to 128; a caller's lpBuf of nBufSize bytes (128 or more) serves instead
  // of the archive's own buffer. The default buffer is larger than MFC's
  // 4 KB: a document of megabytes then costs a sixteenth of the system calls.
  static const int kDefaultBufSize = 64 * 1024;
  CArchive(CFile* pFile, UINT nMode, int nBufSize = kDefaultBufSize, void* lpBuf = nullptr);
  // A storing archive flushes its buffer to the file unless
  // bNoFlushOnDelete; errors at this point are swallowed, so a caller that
  // must know whether everything was written calls Close() first.
  ~CArchive();
  // An archive owns its buffer and its maps and is tied to one file.
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  // TRUE when a loading archive has no buffered bytes left (the file may
  // still have more).
  BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
  CFile* GetFile() const { return m_pFile; }

  // Storing: writes the buffered bytes to the file and flushes the file.
  // Loading: moves the file back over the bytes read ahead but not used.
  void Flush();
  // Flush, then detach from the file (which stays open).
  void Close();
  // Detach from the file without writing anything; never throws.
  void Abort();

  // Raw bytes. Read returns the number of bytes read, fewer than nMax only
  // at the end of the data (no exception).
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);

  template <class T>
  static constexpr bool kIsOwnLongType = (std::is_same_v<T, LONG> || std::is_same_v<T, DWORD>) &&
                                         !std::is_same_v<T, int> && !std::is_same_v<T, unsigned int>;

  // Values, little-endian: 1 byte for BYTE/char/bool (0 or 1), 2 for
  // WORD/short, 4 for int/LONG/UINT/DWORD/float, 8 for 64-bit and double.
  CArchive& operator<<(BYTE by);
  CArchive& operator<<(WORD w);
  CArchive& operator<<(short w);
  CArchive& operator<<(char ch);
  CArchive& operator<<(bool b);
  CArchive& operator<<(int i);
  CArchive& operator<<(unsigned int u);
  CArchive& operator<<(LONGLONG dwdw);
  CArchive& operator<<(ULONGLONG dwdw);
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);

  // The integer extractors are inline, as MFC's are: a value already in
  // the buffer costs a few instructions, not a call into the library.
  CArchive& operator>>(BYTE& by) { by = static_cast<BYTE>(ReadUnsigned(1)); return *this; }
  CArchive& operator>>(WORD& w) { w = static_cast<WORD>(ReadUnsigned(2)); return *this; }
  CArchive& operator>>(short& w) { w = static_cast<short>(ReadUnsigned(2)); return *this; }
  CArchive& operator>>(char& ch) { ch = static_cast<char>(ReadUnsigned(1)); return *this; }
  CArchive& operator>>(bool& b) { b = ReadUnsigned(1) != 0; return *this; }  // any non-zero byte is true
  CArchive& operator>>(int& i) { i = static_cast<int>(ReadUnsigned(4)); return *this; }
  CArchive& operator>>(unsigned int& u) { u = static_cast<unsigned int>(ReadUnsigned(4)); return *this; }
  CArchive& operator>>(LONGLONG& dwdw) { dwdw = static_cast<LONGLONG>(ReadUnsigned(8)); return *this; }
  CArchive& operator>>(ULONGLONG& dwdw) { dwdw = ReadUnsigned(8); return *this; }
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);

  // LONG and DWORD where they are types of their own (on Windows: long and
  // unsigned long, both 4 bytes), stored as int and UINT are. Elsewhere
  // they are int and UINT themselves and these never apply.
  template <class T, class = std::enable_if_t<kIsOwnLongType<T>>>
  CArchive& operator<<(T value) {
    return *this << static_cast<std::conditional_t<std::is_signed_v<T>, int, unsigned int>>(value);
  }
  template <class T, class = std::enable_if_t<kIsOwnLongType<T>>>
  CArchive& operator>>(T& value) {
    std::conditional_t<std::is_signed_v<T>, int, unsigned int> nRead = 0;
    *this >> nRead;
    value = nRead;
    return *this;
  }

  // Counts: below 0xFFFF a WORD; otherwise WORD 0xFFFF, then the count as a
  // DWORD. A count above 0xFFFFFFFF has no encoding (genericException).
  void WriteCount(DWORD_PTR dwCount);
  // Reads a count, as written; it is not checked against the bytes left, so
  // that a caller reading element by element keeps every element that is
  // complete before the data ends. A caller must therefore never reserve
  // room from a count: it grows per element read, and its reads run into
  // endOfFile where the data ends.
  DWORD_PTR ReadCount() {
    const DWORD_PTR dwCount = static_cast<DWORD_PTR>(ReadUnsigned(2));
    return dwCount == 0xFFFF ? static_cast<DWORD_PTR>(ReadUnsigned(4)) : dwCount;
  }
  // Loading: when the next string is str's bytes in the short 8-bit form
  // (below 255 bytes) and already buffered, reads it and returns true;
  // otherwise reads nothing and returns false, and the caller reads the
  // string as usual. For a reader that meets the same name again and again
  // (records of one section) and need not make a string of it each time.
  bool ReadIfNextString(const CString& str) {
    const size_t nLength = static_cast<size_t>(str.GetLength());
    if (!IsLoading() || nLength >= 0xFF || static_cast<size_t>(m_lpBufMax - m_lpBufCur) <= nLength ||
        *m_lpBufCur != nLength || std::memcmp(m_lpBufCur + 1, str.GetString(), nLength) != 0)
      return false;
    m_lpBufCur += 1 + nLength;
    return true;
  }

  // Object pointers. WriteObject writes the null tag, the index of an
  // object already written, or the class (new class record or its index)
  // followed by the object's Serialize data. Writing an object whose class
  // is not serializable, or whose name is 64 bytes or longer, raises
  // badClass (such data could not be read back).
  void WriteObject(const CObject* pOb);
  // Reads what WriteObject wrote: null, an object already read (shared, not
  // copied) or a new object created by its run-time class and filled by
  // its Serialize; the new object belongs to the caller. With pClass, the
  // object must be of that class or derived from it (badClass otherwise).
  // When the new object's Serialize throws, the object is deleted before
  // the exception passes on, and later references to it raise badIndex.
  CObject* ReadObject(const CRuntimeClass* pClass);

  // The class part of the object format, for callers that write a class
  // tag themselves. ReadClass returns the class, or null for an object tag
  // (then *pObTag receives the object index, 0 for null); *pSchema
  // receives the schema as GetObjectSchema would report it.
  void WriteClass(const CRuntimeClass* pClassRef);
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);

  // Enters an object in the archive's table without writing it, so that
  // later references to it are written (or read) as an index.
  void MapObject(const CObject* pOb);

  // Inside Serialize of a loading object whose class is versionable: the
  // schema number the archive holds for the class. It is reported once;
  // later calls, and calls for classes that are not versionable, give
  // (UINT)-1.
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  CArchive& operator<<(const CObject* pOb) {
    WriteObject(pOb);
    return *this;
  }
  CArchive& operator>>(CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }
  CArchive& operator>>(const CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }

  CString m_strFileName;  // the file's path, for exceptions

 private:
  friend CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
  friend CArchive& AFXAPI operator>>(CArchive& ar, CString& string);

  enum EntryKind { kNull, kClass, kObject, kDead };
  struct CLoadEntry {
    EntryKind nKind;
    const void* pEntry;  // CRuntimeClass* or CObject*
    UINT nSchema;        // for classes: the schema number read from the archive
  };

  // Throw writeOnly / readOnly unless the archive goes the right way (or
  // genericException once it is detached from its file).
  void CheckLoading() const {
    if (!IsLoading() || m_pFile == nullptr) ThrowNotLoading();
  }
  void CheckStoring() const;
  [[noreturn]] void ThrowNotLoading() const;
  // Makes nBytes readable in the buffer, or throws endOfFile.
  void EnsureReadable(UINT nBytes);
  // Refills the buffer from the file, keeping unread bytes; returns
  // whether at least nBytesNeeded are now buffered.
  bool FillBuffer(UINT nBytesNeeded);
  // Writes the buffer's bytes to the file.
  void FlushBuffer();
  // The bytes still to be read (buffer plus file); false when the file
  // cannot tell.
  bool GetBytesLeft(ULONGLONG& nLeft) const;
  // Throws endOfFile when nBytes are known to exceed what is left.
  void CheckBytesLeft(ULONGLONG nBytes) const;

  void WriteBytes(const BYTE* pData, UINT nBytes);
  void ReadBytes(BYTE* pData, UINT nBytes);  // exactly nBytes, or endOfFile
  void WriteUnsigned(ULONGLONG nValue, UINT nBytes);
  // Little-endian, nBytes of 1 to 8; endOfFile when the data ends first.
  ULONGLONG ReadUnsigned(UINT nBytes) {
    CheckLoading();
    if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) < nBytes) FillOrThrow(nBytes);
    const BYTE* p = m_lpBufCur;
    m_lpBufCur += nBytes;
    // Spelled out per size, so that the compiler sees one load of each.
    switch (nBytes) {
      case 1:
        return p[0];
      case 2:
        return p[0] | static_cast<UINT>(p[1]) << 8;
      case 4:
        return p[0] | static_cast<UINT>(p[1]) << 8 | static_cast<UINT>(p[2]) << 16 | static_cast<UINT>(p[3]) << 24;
      default:
        ULONGLONG nValue = 0;
        for (UINT i = 0; i < nBytes; ++i) nValue |= static_cast<ULONGLONG>(p[i]) << (8 * i);
        return nValue;
    }
  }
  // FillBuffer(nBytes), or endOfFile.
  void FillOrThrow(UINT nBytes);

  void CheckMapCount() const;

  CFile* m_pFile;
  UINT m_nMode;
  UINT m_nBufSize;
  std::vector<BYTE> m_ownBuffer;  // used unless the caller gave a buffer
  BYTE* m_lpBufStart;
  BYTE* m_lpBufCur;  // next byte to read or write
  BYTE* m_lpBufMax;  // loading: end of the valid bytes; storing: end of the buffer
  UINT m_nObjectSchema;
  DWORD m_nMapCount;  // next index for a class or an object (0 is null)
  std::unordered_map<const void*, DWORD> m_storeMap;
  std::vector<CLoadEntry> m_loadArray;
};

// Strings: the length in bytes (below 255 one byte; up to 0xFFFD 0xFF and a
// WORD; beyond, 0xFF, WORD 0xFFFF and a DWORD), then the bytes, no zero.
CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
// Reads that form and also the wide form (0xFF, WORD 0xFFFE, then a length
// in UTF-16 characters and 2 bytes per character): a character up to 0xFF
// becomes that byte, any other (a surrogate pair counting as one) "?".
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
