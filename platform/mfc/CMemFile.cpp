// CMemFile: a growable in-memory file.
#include "CMemFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

namespace {

// The largest content a memory file holds: its length must fit the 32-bit
// counts of the archive and of Read/Write.
const size_t kMaxMemFileSize = std::numeric_limits<DWORD>::max();

}  // namespace

CMemFile::CMemFile(UINT nGrowBytes)
    : m_lpBuffer(nullptr),
      m_nBufferSize(0),
      m_nFileSize(0),
      m_nPosition(0),
      m_nGrowBytes(nGrowBytes),
      m_bAutoDelete(true) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  Close();
  m_lpBuffer = lpBuffer;
  m_nBufferSize = lpBuffer != nullptr ? nBufferSize : 0;
  m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_bAutoDelete = false;
}

BYTE* CMemFile::Detach() {
  BYTE* lpBuffer = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = 0;
  m_nFileSize = 0;
  m_nPosition = 0;
  m_bAutoDelete = true;
  return lpBuffer;
}

std::vector<BYTE> CMemFile::GetBytes() const {
  if (m_nFileSize == 0) return {};
  return std::vector<BYTE>(m_lpBuffer, m_lpBuffer + m_nFileSize);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
  size_t nRead = m_nFileSize - m_nPosition;
  if (nRead > nCount) nRead = nCount;
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
  m_nPosition += nRead;
  return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (m_nPosition > kMaxMemFileSize - nCount) AfxThrowMemoryException();
  size_t nEnd = m_nPosition + nCount;
  if (nEnd > m_nBufferSize) GrowFile(nEnd);
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = nEnd;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG nBase;
  switch (nFrom) {
    case begin: nBase = 0; break;
    case current: nBase = static_cast<LONGLONG>(m_nPosition); break;
    case end: nBase = static_cast<LONGLONG>(m_nFileSize); break;
    default: AfxThrowFileException(CFileException::badSeek);
  }
  if (lOff < -nBase || lOff > static_cast<LONGLONG>(kMaxMemFileSize) - nBase)
    AfxThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<size_t>(nBase + lOff);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  if (dwNewLen > kMaxMemFileSize) AfxThrowMemoryException();
  size_t nNewLen = static_cast<size_t>(dwNewLen);
  if (nNewLen > m_nBufferSize) GrowFile(nNewLen);
  if (nNewLen > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
  m_nFileSize = nNewLen;
  if (m_nPosition > m_nFileSize) m_nPosition = m_nFileSize;
}

void CMemFile::Close() {
  if (m_bAutoDelete) std::free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = 0;
  m_nFileSize = 0;
  m_nPosition = 0;
  m_bAutoDelete = true;
}

void CMemFile::GrowFile(size_t nNewSize) {
  if (nNewSize <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  // Grow by whole steps of nGrowBytes, and at least double, so that a
  // stream of small writes costs amortised constant time.
  size_t nNewBufferSize = m_nBufferSize;
  if (nNewBufferSize < kMaxMemFileSize / 2) nNewBufferSize *= 2;
  if (nNewBufferSize < nNewSize) nNewBufferSize = nNewSize;
  size_t nRest = nNewBufferSize % m_nGrowBytes;
  if (nRest != 0 && nNewBufferSize <= kMaxMemFileSize - (m_nGrowBytes - nRest))
    nNewBufferSize += m_nGrowBytes - nRest;
  BYTE* lpNew;
  if (m_bAutoDelete) {
    lpNew = static_cast<BYTE*>(std::realloc(m_lpBuffer, nNewBufferSize));
  } else {
    lpNew = static_cast<BYTE*>(std::malloc(nNewBufferSize));
    if (lpNew != nullptr && m_nFileSize > 0) std::memcpy(lpNew, m_lpBuffer, m_nFileSize);
  }
  if (lpNew == nullptr) AfxThrowMemoryException();
  m_lpBuffer = lpNew;
  m_nBufferSize = nNewBufferSize;
  m_bAutoDelete = true;
}
