// CCodeStream: a source of script text read byte by byte, with a short
// look-ahead, from which the tokenizer reads.
#pragma once

#include <string>

class CCodeStream {
 public:
  CCodeStream() = default;
  virtual ~CCodeStream();
  CCodeStream(const CCodeStream&) = delete;  // a stream has one read position
  CCodeStream& operator=(const CCodeStream&) = delete;

  // The byte nOffset places ahead of the read position (0 is the next one),
  // as a value 0..255, without consuming it; -1 past the end of the text.
  // nOffset must not be negative. Inline while the byte is already buffered.
  inline int PeekChar(int nOffset = 0);
  // The next byte (0..255), consumed; -1 at the end of the text.
  inline int GetChar();

 protected:
  // Reads up to nMax further bytes of the text into pBuffer and returns how
  // many it read; 0 means the end of the text. Exceptions pass to the reader.
  virtual int ReadBlock(char* pBuffer, int nMax) = 0;

 private:
  // Makes at least nCount unread bytes available unless the text ends first.
  void Fill(int nCount);
  // PeekChar for a byte that is not buffered yet.
  int PeekCharSlow(int nOffset);

  std::string m_strBuffer;  // bytes read from the source; m_nPos is the next unread one
  size_t m_nPos = 0;
  bool m_bEnd = false;      // the source reported its end
};

int CCodeStream::PeekChar(int nOffset) {
  if (nOffset >= 0 && static_cast<size_t>(nOffset) < m_strBuffer.size() - m_nPos)
    return static_cast<unsigned char>(m_strBuffer[m_nPos + static_cast<size_t>(nOffset)]);
  return PeekCharSlow(nOffset);
}

int CCodeStream::GetChar() {
  const int nChar = PeekChar(0);
  if (nChar >= 0) ++m_nPos;
  return nChar;
}
