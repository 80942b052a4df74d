// CCodeStream: buffered byte reading with look-ahead over ReadBlock.
#include "darnel2/CCodeStream.h"

namespace {

const int kBlockSize = 4096;

}  // namespace

CCodeStream::~CCodeStream() = default;

int CCodeStream::PeekCharSlow(int nOffset) {
  if (nOffset < 0) return -1;
  Fill(nOffset + 1);
  size_t nIndex = m_nPos + static_cast<size_t>(nOffset);
  if (nIndex >= m_strBuffer.size()) return -1;
  return static_cast<unsigned char>(m_strBuffer[nIndex]);
}

void CCodeStream::Fill(int nCount) {
  while (!m_bEnd && m_strBuffer.size() - m_nPos < static_cast<size_t>(nCount)) {
    // Drop what was consumed before growing, so the buffer stays one block or so.
    m_strBuffer.erase(0, m_nPos);
    m_nPos = 0;
    char block[kBlockSize];
    int nRead = ReadBlock(block, kBlockSize);
    if (nRead <= 0) {
      m_bEnd = true;
    } else {
      m_strBuffer.append(block, static_cast<size_t>(nRead > kBlockSize ? kBlockSize : nRead));
    }
  }
}
