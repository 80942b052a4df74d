// CCodeFileStream: a code stream over one script file.
#pragma once

#include <cstdio>

#include "CString.h"
#include "darnel2/CCodeStream.h"

class CCodeFileStream : public CCodeStream {
 public:
  // The stream names the file; nothing is opened until OpenFile.
  explicit CCodeFileStream(const CString& strPath);
  ~CCodeFileStream() override;  // closes the file

  // Opens the file for reading. True when it is open (also when it already
  // was); false when it does not exist, cannot be read or is a directory.
  // A stream that is not open reads as an empty text.
  bool OpenFile();
  bool IsOpen() const { return m_pFile != nullptr; }
  const CString& GetPath() const { return m_strPath; }

  // Simulation control for tests: when set, the hook is called with the
  // file's path before every block read from an open file, so a test can
  // make reading fail by throwing from it (as a real read error raises an
  // exception in the host). Null, the default, turns it off.
  typedef void (*PFNREADHOOK)(const CString& strPath);
  static void SetReadHook(PFNREADHOOK pfnHook);

 protected:
  int ReadBlock(char* pBuffer, int nMax) override;

 private:
  CString m_strPath;
  FILE* m_pFile = nullptr;
};
