// CArchive: the buffer, raw bytes, values and counts.
#include "CArchive.h"

#include <cstring>

#include "CFile.h"

namespace {

const UINT kMinBufSize = 128;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile),
      m_nMode(nMode),
      m_nBufSize(nBufSize < static_cast<int>(kMinBufSize) ? kMinBufSize : static_cast<UINT>(nBufSize)),
      m_lpBufStart(nullptr),
      m_lpBufCur(nullptr),
      m_lpBufMax(nullptr),
      m_nObjectSchema(static_cast<UINT>(-1)),
      m_nMapCount(1) {
  if (lpBuf != nullptr && nBufSize >= static_cast<int>(kMinBufSize)) {
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
  } else {
    m_ownBuffer.resize(m_nBufSize);
    m_lpBufStart = m_ownBuffer.data();
  }
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
  if (m_pFile != nullptr) m_strFileName = m_pFile->GetFilePath();
  m_loadArray.push_back({kNull, nullptr, 0});  // index 0 is the null pointer
}

CArchive::~CArchive() {
  if (m_pFile != nullptr && (m_nMode & bNoFlushOnDelete) == 0) {
    // A destructor cannot pass an exception on; Close() reports them.
    try {
      Close();
    } catch (CException* e) {
      e->Delete();
    } catch (...) {
    }
  }
  Abort();
}

void CArchive::Flush() {
  if (m_pFile == nullptr) return;
  if (IsLoading()) {
    // Give the read-ahead back to the file so that its position is the
    // archive's.
    if (m_lpBufCur != m_lpBufMax) m_pFile->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  } else {
    FlushBuffer();
    m_pFile->Flush();
  }
}

void CArchive::Close() {
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_pFile = nullptr;
  m_lpBufCur = m_lpBufStart;
  if (IsLoading()) m_lpBufMax = m_lpBufStart;
}

void CArchive::ThrowNotLoading() const {
  if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
  AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
}

void CArchive::CheckStoring() const {
  if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
  if (m_pFile == nullptr) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
}

bool CArchive::FillBuffer(UINT nBytesNeeded) {
  size_t nUnread = static_cast<size_t>(m_lpBufMax - m_lpBufCur);
  if (nUnread > 0 && m_lpBufCur != m_lpBufStart) std::memmove(m_lpBufStart, m_lpBufCur, nUnread);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + nUnread;
  while (static_cast<size_t>(m_lpBufMax - m_lpBufStart) < nBytesNeeded) {
    UINT nRoom = m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart);
    UINT nRead = m_pFile->Read(m_lpBufMax, nRoom);
    if (nRead == 0) return false;
    m_lpBufMax += nRead;
  }
  return true;
}

void CArchive::FlushBuffer() {
  UINT nBytes = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
  // The buffer counts as written even when the file refuses it, so that a
  // failed write is not repeated by the destructor.
  m_lpBufCur = m_lpBufStart;
  if (nBytes > 0) m_pFile->Write(m_lpBufStart, nBytes);
}

bool CArchive::GetBytesLeft(ULONGLONG& nLeft) const {
  if (m_pFile == nullptr) return false;
  try {
    ULONGLONG nLength = m_pFile->GetLength();
    ULONGLONG nPosition = m_pFile->GetPosition();
    nLeft = (nLength > nPosition ? nLength - nPosition : 0) + static_cast<ULONGLONG>(m_lpBufMax - m_lpBufCur);
    return true;
  } catch (CFileException* e) {
    // A stream that cannot seek does not know what is left.
    e->Delete();
    return false;
  }
}

void CArchive::CheckBytesLeft(ULONGLONG nBytes) const {
  if (nBytes <= static_cast<ULONGLONG>(m_lpBufMax - m_lpBufCur)) return;
  ULONGLONG nLeft = 0;
  if (GetBytesLeft(nLeft) && nBytes > nLeft) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  CheckLoading();
  BYTE* pOut = static_cast<BYTE*>(lpBuf);
  UINT nDone = 0;
  while (nDone < nMax) {
    UINT nAvail = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (nAvail == 0) {
      UINT nRest = nMax - nDone;
      if (nRest >= m_nBufSize) {
        // Large reads bypass the buffer.
        UINT nRead = m_pFile->Read(pOut + nDone, nRest);
        if (nRead == 0) break;
        nDone += nRead;
        continue;
      }
      if (!FillBuffer(1)) break;
      continue;
    }
    UINT nCopy = nMax - nDone < nAvail ? nMax - nDone : nAvail;
    std::memcpy(pOut + nDone, m_lpBufCur, nCopy);
    m_lpBufCur += nCopy;
    nDone += nCopy;
  }
  return nDone;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  CheckStoring();
  WriteBytes(static_cast<const BYTE*>(lpBuf), nMax);
}

void CArchive::WriteBytes(const BYTE* pData, UINT nBytes) {
  CheckStoring();
  UINT nRoom = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
  if (nBytes > nRoom) {
    FlushBuffer();
    if (nBytes >= m_nBufSize) {
      m_pFile->Write(pData, nBytes);
      return;
    }
  }
  if (nBytes > 0) std::memcpy(m_lpBufCur, pData, nBytes);
  m_lpBufCur += nBytes;
}

void CArchive::ReadBytes(BYTE* pData, UINT nBytes) {
  if (Read(pData, nBytes) != nBytes) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::WriteUnsigned(ULONGLONG nValue, UINT nBytes) {
  BYTE bytes[8];
  for (UINT i = 0; i < nBytes; ++i) bytes[i] = static_cast<BYTE>(nValue >> (8 * i));
  WriteBytes(bytes, nBytes);
}

void CArchive::FillOrThrow(UINT nBytes) {
  if (!FillBuffer(nBytes)) AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

CArchive& CArchive::operator<<(BYTE by) { WriteUnsigned(by, 1); return *this; }
CArchive& CArchive::operator<<(WORD w) { WriteUnsigned(w, 2); return *this; }
CArchive& CArchive::operator<<(short w) { WriteUnsigned(static_cast<WORD>(w), 2); return *this; }
CArchive& CArchive::operator<<(char ch) { WriteUnsigned(static_cast<BYTE>(ch), 1); return *this; }
CArchive& CArchive::operator<<(bool b) { WriteUnsigned(b ? 1 : 0, 1); return *this; }
CArchive& CArchive::operator<<(int i) { WriteUnsigned(static_cast<unsigned int>(i), 4); return *this; }
CArchive& CArchive::operator<<(unsigned int u) { WriteUnsigned(u, 4); return *this; }
CArchive& CArchive::operator<<(LONGLONG dwdw) { WriteUnsigned(static_cast<ULONGLONG>(dwdw), 8); return *this; }
CArchive& CArchive::operator<<(ULONGLONG dwdw) { WriteUnsigned(dwdw, 8); return *this; }

CArchive& CArchive::operator<<(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  WriteUnsigned(bits, 4);
  return *this;
}

CArchive& CArchive::operator<<(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  WriteUnsigned(bits, 8);
  return *this;
}

CArchive& CArchive::operator>>(float& f) {
  uint32_t bits = static_cast<uint32_t>(ReadUnsigned(4));
  std::memcpy(&f, &bits, sizeof f);
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  uint64_t bits = ReadUnsigned(8);
  std::memcpy(&d, &bits, sizeof d);
  return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    WriteUnsigned(dwCount, 2);
    return;
  }
  if (dwCount > 0xFFFFFFFFu) AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
  WriteUnsigned(0xFFFF, 2);
  WriteUnsigned(dwCount, 4);
}
