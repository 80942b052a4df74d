// CCodeStringStream: a code stream over script text held in memory.
#pragma once

#include "CString.h"
#include "darnel2/CCodeStream.h"

class CCodeStringStream : public CCodeStream {
 public:
  // The stream reads a copy of strText, zero bytes inside it included.
  explicit CCodeStringStream(const CString& strText);

 protected:
  int ReadBlock(char* pBuffer, int nMax) override;

 private:
  std::string m_strText;
  size_t m_nRead = 0;  // bytes handed out so far
};
