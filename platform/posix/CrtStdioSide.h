// The posix side of CrtStdio.h (include that header): a C runtime of its
// own with the Windows text mode, since the C library here has none.
// "+" (update) modes are not supported. Streams are buffered and unlocked;
// fgetc is inline and takes a byte straight from the buffer unless it is a
// CR, a Ctrl-Z or the buffer is empty.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace crt {

const int kEof = -1;  // EOF of <cstdio>, without including it

struct FILE {
  int nFd;
  bool bText;
  bool bWriting;
  bool bEof;     // the end of the file (or a Ctrl-Z in text mode) was reached
  bool bError;   // a read or write failed
  unsigned char* pBase;  // the buffer
  unsigned char* pNext;   // reading: next byte to hand out; writing: next free byte
  unsigned char* pEnd;    // reading: end of the bytes read; writing: the buffer's start (nothing to read)
  unsigned char* pLimit;  // writing: end of the buffer
};

// A new stream, or null when the file cannot be opened or the mode is not
// understood (errno tells why).
FILE* fopen(const char* pszPath, const char* pszMode);
// Flushes (when writing), closes and frees the stream. 0 on success, kEof
// when a write, the flush or the close failed at any time.
int fclose(FILE* pStream);
// The next byte as an unsigned char value, or kEof at the end of the text
// or on a read error (feof / ferror tell which).
inline int fgetc(FILE* pStream);
int feof(FILE* pStream);
int ferror(FILE* pStream);
// Formats as printf does and writes the text. The number of bytes of the
// formatted text, or a negative value on an error (then ferror is set).
int fprintf(FILE* pStream, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));
int vfprintf(FILE* pStream, const char* pszFormat, va_list args);
// Writes nSize * nCount bytes; the number of whole items written.
size_t fwrite(const void* pData, size_t nSize, size_t nCount, FILE* pStream);
// Writes the buffered bytes. 0, or kEof on a write error.
int fflush(FILE* pStream);

// The refill and text-mode part of fgetc.
int FillAndGet(FILE* pStream);

inline int fgetc(FILE* pStream) {
  if (pStream->pNext < pStream->pEnd) {
    const unsigned char c = *pStream->pNext;
    if (c != '\r' && c != 0x1A) {
      ++pStream->pNext;
      return c;
    }
  }
  return FillAndGet(pStream);
}

}  // namespace crt
