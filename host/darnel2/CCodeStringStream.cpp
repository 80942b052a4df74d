// CCodeStringStream: reading script text from memory.
#include "darnel2/CCodeStringStream.h"

#include <algorithm>
#include <cstring>

CCodeStringStream::CCodeStringStream(const CString& strText) : m_strText(strText.Str()) {}

int CCodeStringStream::ReadBlock(char* pBuffer, int nMax) {
  if (nMax <= 0) return 0;
  size_t nCount = std::min(m_strText.size() - m_nRead, static_cast<size_t>(nMax));
  std::memcpy(pBuffer, m_strText.data() + m_nRead, nCount);
  m_nRead += nCount;
  return static_cast<int>(nCount);
}
