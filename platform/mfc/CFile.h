// CFile: MFC's unbuffered binary file over a Win32 file handle.
//
// Failures of Read, Write, Seek, GetLength, SetLength, Flush and Close throw
// a CFileException* (the catcher Delete()s it); Open reports failure by its
// result and, when asked, fills a caller's CFileException.
#pragma once

#include "CException.h"
#include "CObject.h"
#include "CString.h"
#include "Win32FileHandles.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,      // create; truncates an existing file unless modeNoTruncate
    modeNoTruncate = 0x2000,  // with modeCreate: open an existing file as it is
    typeText = 0x4000,        // accepted for CStdioFile's sake; CFile is always binary
    typeBinary = 0x8000
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  CFile();
  // Opens the file; throws CFileException* on failure.
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  // Closes an open file, ignoring errors (call Close() to learn of them).
  ~CFile() override;
  // A file object owns its handle.
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens lpszFileName. TRUE on success; FALSE on failure, with the cause,
  // the system error and the name in *pError when it is given.
  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

  // Reads up to nCount bytes; returns how many were read (0 at the end).
  virtual UINT Read(void* lpBuf, UINT nCount);
  // Writes all nCount bytes or throws (diskFull when the device is full).
  virtual void Write(const void* lpBuf, UINT nCount);

  // Moves the position and returns the new one; throws badSeek before the start.
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);

  // Commits written data to the device.
  virtual void Flush();
  // Closes the file; throws when the system reports an error, but the
  // handle is released either way.
  virtual void Close();
  // Closes the file ignoring every error.
  virtual void Abort();

  virtual CString GetFilePath() const { return m_strFileName; }
  // The last path component.
  virtual CString GetFileName() const;

  HANDLE m_hFile;  // INVALID_HANDLE_VALUE when no file is open

 protected:
  // Throws the CFileException for the thread's last Win32 error.
  [[noreturn]] void ThrowLastError() const;

  CString m_strFileName;
};
