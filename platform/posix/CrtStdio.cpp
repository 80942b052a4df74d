// CrtStdio: buffered streams over file descriptors, with the text-mode
// translations done here.
#include "CrtStdio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace crt {

namespace {

const size_t kBufferSize = 64 * 1024;
const unsigned char kCtrlZ = 0x1A;

// Reads the next block into the buffer. False at the end of the file or on
// an error (the stream's flags say which).
bool Refill(FILE* pStream) {
  if (pStream->bEof || pStream->bError || pStream->bWriting) return false;
  for (;;) {
    const ssize_t n = ::read(pStream->nFd, pStream->pBase, kBufferSize);
    if (n > 0) {
      pStream->pNext = pStream->pBase;
      pStream->pEnd = pStream->pBase + n;
      return true;
    }
    pStream->pNext = pStream->pEnd = pStream->pBase;
    if (n == 0) {
      pStream->bEof = true;
      return false;
    }
    if (errno != EINTR) {
      pStream->bError = true;
      return false;
    }
  }
}

// Writes the buffered bytes to the file; sets the error flag on failure.
bool FlushBuffer(FILE* pStream) {
  const unsigned char* p = pStream->pBase;
  while (p < pStream->pNext) {
    const ssize_t n = ::write(pStream->nFd, p, static_cast<size_t>(pStream->pNext - p));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      pStream->bError = true;
      break;
    }
    p += n;
  }
  pStream->pNext = pStream->pBase;
  return !pStream->bError;
}

void PutByte(FILE* pStream, unsigned char c) {
  if (pStream->pNext == pStream->pLimit) FlushBuffer(pStream);
  *pStream->pNext++ = c;
}

// Writes bytes with the text-mode translation; false once an error occurred.
bool PutBytes(FILE* pStream, const char* pData, size_t nLength) {
  if (!pStream->bWriting || pStream->bError) {
    pStream->bError = true;
    return false;
  }
  for (size_t i = 0; i < nLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(pData[i]);
    if (c == '\n' && pStream->bText) PutByte(pStream, '\r');
    PutByte(pStream, c);
  }
  return !pStream->bError;
}

}  // namespace

FILE* fopen(const char* pszPath, const char* pszMode) {
  if (pszPath == nullptr || pszMode == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  int nFlags = O_CLOEXEC;
  bool bWriting = false;
  switch (pszMode[0]) {
    case 'r': nFlags |= O_RDONLY; break;
    case 'w': nFlags |= O_WRONLY | O_CREAT | O_TRUNC; bWriting = true; break;
    case 'a': nFlags |= O_WRONLY | O_CREAT | O_APPEND; bWriting = true; break;
    default: errno = EINVAL; return nullptr;
  }
  bool bText = true;
  for (const char* p = pszMode + 1; *p != 0; ++p) {
    if (*p == 'b') bText = false;
    else if (*p == 't') bText = true;
    else {
      errno = EINVAL;
      return nullptr;
    }
  }
  unsigned char* pBuffer = static_cast<unsigned char*>(std::malloc(kBufferSize));
  if (pBuffer == nullptr) {
    errno = ENOMEM;
    return nullptr;
  }
  int nFd;
  do nFd = ::open(pszPath, nFlags, 0666);
  while (nFd < 0 && errno == EINTR);
  if (nFd < 0) {
    std::free(pBuffer);
    return nullptr;
  }
  FILE* pStream = new (std::nothrow) FILE;
  if (pStream == nullptr) {
    ::close(nFd);
    std::free(pBuffer);
    errno = ENOMEM;
    return nullptr;
  }
  pStream->nFd = nFd;
  pStream->bText = bText;
  pStream->bWriting = bWriting;
  pStream->bEof = false;
  pStream->bError = false;
  pStream->pBase = pBuffer;
  pStream->pNext = pBuffer;
  pStream->pEnd = pBuffer;
  pStream->pLimit = pBuffer + kBufferSize;
  return pStream;
}

int fclose(FILE* pStream) {
  if (pStream == nullptr) return kEof;
  if (pStream->bWriting) FlushBuffer(pStream);
  // Linux closes the descriptor even when close reports an error, so it is
  // never retried; the error still means the data may not have been written.
  if (::close(pStream->nFd) != 0) pStream->bError = true;
  const bool bFailed = pStream->bError;
  std::free(pStream->pBase);
  delete pStream;
  return bFailed ? kEof : 0;
}

int FillAndGet(FILE* pStream) {
  if (pStream->bWriting) {
    pStream->bError = true;
    return kEof;
  }
  if (pStream->pNext == pStream->pEnd && !Refill(pStream)) return kEof;
  const unsigned char c = *pStream->pNext++;
  if (!pStream->bText) return c;
  if (c == kCtrlZ) {
    // The text ends here, whatever follows.
    pStream->bEof = true;
    pStream->pNext = pStream->pEnd = pStream->pBase;
    return kEof;
  }
  if (c == '\r') {
    if (pStream->pNext == pStream->pEnd && !Refill(pStream)) return c;
    if (*pStream->pNext == '\n') {
      ++pStream->pNext;
      return '\n';
    }
  }
  return c;
}

bool ReadLine(FILE* pStream, std::string& strSpill, const char** ppLine, size_t* pnLength) {
  // The common case: the whole line lies in the buffer and holds no byte
  // that the text mode translates (a CR directly before the LF is the CR LF
  // pair, and is left out); it is handed over where it lies.
  unsigned char* pNext = pStream->pNext;
  const size_t nBuffered = static_cast<size_t>(pStream->pEnd - pNext);
  const unsigned char* pLf =
      pStream->bWriting ? nullptr : static_cast<const unsigned char*>(std::memchr(pNext, '\n', nBuffered));
  if (pLf != nullptr) {
    size_t nLine = static_cast<size_t>(pLf - pNext);
    bool bPlain = true;
    if (pStream->bText) {
      if (nLine > 0 && pNext[nLine - 1] == '\r') --nLine;
      bPlain = std::memchr(pNext, '\r', nLine) == nullptr && std::memchr(pNext, kCtrlZ, nLine) == nullptr;
    }
    if (bPlain) {
      *ppLine = reinterpret_cast<const char*>(pNext);
      *pnLength = nLine;
      pStream->pNext = const_cast<unsigned char*>(pLf) + 1;
      return true;
    }
  }
  // Anything else goes byte by byte, through the translations of fgetc.
  return ReadLineByBytes(pStream, strSpill, ppLine, pnLength);
}

int feof(FILE* pStream) { return pStream->bEof ? 1 : 0; }

int ferror(FILE* pStream) { return pStream->bError ? 1 : 0; }

int vfprintf(FILE* pStream, const char* pszFormat, va_list args) {
  char szSmall[512];
  va_list copy;
  va_copy(copy, args);
  const int nLength = std::vsnprintf(szSmall, sizeof szSmall, pszFormat, copy);
  va_end(copy);
  if (nLength < 0) {
    pStream->bError = true;
    return -1;
  }
  bool bOk;
  if (static_cast<size_t>(nLength) < sizeof szSmall) {
    bOk = PutBytes(pStream, szSmall, static_cast<size_t>(nLength));
  } else {
    std::vector<char> large(static_cast<size_t>(nLength) + 1);
    std::vsnprintf(large.data(), large.size(), pszFormat, args);
    bOk = PutBytes(pStream, large.data(), static_cast<size_t>(nLength));
  }
  return bOk ? nLength : -1;
}

int fprintf(FILE* pStream, const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  const int nResult = vfprintf(pStream, pszFormat, args);
  va_end(args);
  return nResult;
}

size_t fwrite(const void* pData, size_t nSize, size_t nCount, FILE* pStream) {
  if (nSize == 0 || nCount == 0) return 0;
  if (!PutBytes(pStream, static_cast<const char*>(pData), nSize * nCount)) return 0;
  return nCount;
}

int fflush(FILE* pStream) {
  if (!pStream->bWriting) return 0;
  return FlushBuffer(pStream) ? 0 : kEof;
}

}  // namespace crt
