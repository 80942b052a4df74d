// CFile over the Win32 file services.
#include "CFile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(INVALID_HANDLE_VALUE) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error))
    AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != INVALID_HANDLE_VALUE) Abort();
  DWORD dwAccess;
  switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default:
      if (pError != nullptr) *pError = CFileException(CFileException::genericException, -1, lpszFileName);
      return FALSE;
  }
  DWORD dwShare = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    default: break;
  }
  DWORD dwCreate = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  HANDLE hFile = CreateFile(lpszFileName, dwAccess, dwShare, nullptr, dwCreate, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) {
    if (pError != nullptr) {
      LONG lOsError = static_cast<LONG>(GetLastError());
      pError->m_cause = CFileException::OsErrorToException(lOsError);
      pError->m_lOsError = lOsError;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = hFile;
  m_strFileName = lpszFileName;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD dwRead = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr)) ThrowLastError();
  return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD dwWritten = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr)) ThrowLastError();
  if (dwWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER liOff;
  liOff.QuadPart = lOff;
  LARGE_INTEGER liNew;
  if (nFrom > end) AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
  if (!SetFilePointerEx(m_hFile, liOff, &liNew, nFrom)) ThrowLastError();
  return static_cast<ULONGLONG>(liNew.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER liZero;
  liZero.QuadPart = 0;
  LARGE_INTEGER liPos;
  if (!SetFilePointerEx(m_hFile, liZero, &liPos, FILE_CURRENT)) ThrowLastError();
  return static_cast<ULONGLONG>(liPos.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER liSize;
  if (!GetFileSizeEx(m_hFile, &liSize)) ThrowLastError();
  return static_cast<ULONGLONG>(liSize.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

void CFile::Flush() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  if (!FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  HANDLE hFile = m_hFile;
  m_hFile = INVALID_HANDLE_VALUE;
  BOOL bOk = CloseHandle(hFile);
  LONG lOsError = static_cast<LONG>(GetLastError());
  CString strName = m_strFileName;
  m_strFileName.Empty();
  if (!bOk) AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, strName);
}

void CFile::Abort() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_strFileName.Empty();
}

CString CFile::GetFileName() const {
  int nSlash = m_strFileName.ReverseFind('/');
  int nBackslash = m_strFileName.ReverseFind('\\');
  int nCut = nSlash > nBackslash ? nSlash : nBackslash;
  return m_strFileName.Mid(nCut + 1);
}

void CFile::ThrowLastError() const {
  LONG lOsError = static_cast<LONG>(GetLastError());
  int nCause = CFileException::OsErrorToException(lOsError);
  if (m_hFile == INVALID_HANDLE_VALUE) nCause = CFileException::invalidFile;
  AfxThrowFileException(nCause, lOsError, m_strFileName);
}
