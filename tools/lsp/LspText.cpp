// LspText: position encodings, line splitting and 8-bit text for JSON.
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

namespace {

// The length of the well-formed UTF-8 sequence at p[0..nLeft), or 0 when the
// byte there does not begin one (overlong forms and surrogates included).
size_t Utf8SequenceLength(const unsigned char* p, size_t nLeft) {
  const unsigned char c = p[0];
  if (c < 0x80) return 1;
  size_t nLength = 0;
  unsigned int nMin = 0;
  unsigned int nCode = 0;
  if ((c & 0xE0) == 0xC0) {
    nLength = 2, nMin = 0x80, nCode = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    nLength = 3, nMin = 0x800, nCode = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    nLength = 4, nMin = 0x10000, nCode = c & 0x07;
  } else {
    return 0;
  }
  if (nLeft < nLength) return 0;
  for (size_t i = 1; i < nLength; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    nCode = (nCode << 6) | (p[i] & 0x3F);
  }
  if (nCode < nMin || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) return 0;
  return nLength;
}

// Units of one character in the encoding: a 4-byte sequence is a surrogate
// pair in UTF-16; a byte that is not UTF-8 counts one unit.
long long UnitsOf(size_t nSequence, EPositionEncoding eEncoding) {
  if (nSequence == 0) return 1;
  if (eEncoding == encodingUtf8) return static_cast<long long>(nSequence);
  return nSequence == 4 ? 2 : 1;
}

}  // namespace

size_t ByteOffsetOfColumn(const std::string& strLine, long long nColumn, EPositionEncoding eEncoding) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(strLine.data());
  const size_t nSize = strLine.size();
  if (eEncoding == encodingUtf8) {
    if (nColumn <= 0) return 0;
    return nColumn >= static_cast<long long>(nSize) ? nSize : static_cast<size_t>(nColumn);
  }
  size_t i = 0;
  long long nUnits = 0;
  while (i < nSize && nUnits < nColumn) {
    const size_t nSequence = Utf8SequenceLength(p + i, nSize - i);
    const long long nWidth = UnitsOf(nSequence, eEncoding);
    if (nUnits + nWidth > nColumn) break;  // inside a surrogate pair: stay before it
    nUnits += nWidth;
    i += nSequence == 0 ? 1 : nSequence;
  }
  return i;
}

long long ColumnOfByteOffset(const std::string& strLine, size_t nOffset, EPositionEncoding eEncoding) {
  if (nOffset > strLine.size()) nOffset = strLine.size();
  if (eEncoding == encodingUtf8) return static_cast<long long>(nOffset);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(strLine.data());
  size_t i = 0;
  long long nUnits = 0;
  while (i < nOffset) {
    const size_t nSequence = Utf8SequenceLength(p + i, strLine.size() - i);
    nUnits += UnitsOf(nSequence, eEncoding);
    i += nSequence == 0 ? 1 : nSequence;
  }
  return nUnits;
}

std::vector<std::string> SplitLines(const std::string& strText) {
  std::vector<std::string> lines;
  size_t nStart = 0;
  for (size_t i = 0; i < strText.size(); ++i) {
    const char ch = strText[i];
    if (ch != '\n' && ch != '\r') continue;
    lines.emplace_back(strText, nStart, i - nStart);
    if (ch == '\r' && i + 1 < strText.size() && strText[i + 1] == '\n') ++i;
    nStart = i + 1;
  }
  lines.emplace_back(strText, nStart, strText.size() - nStart);
  return lines;
}

std::string ToUtf8(const std::string& strText) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(strText.data());
  std::string strResult;
  strResult.reserve(strText.size());
  for (size_t i = 0; i < strText.size();) {
    const size_t nSequence = Utf8SequenceLength(p + i, strText.size() - i);
    if (nSequence > 0) {
      strResult.append(strText, i, nSequence);
      i += nSequence;
    } else {
      strResult += static_cast<char>(0xC0 | (p[i] >> 6));
      strResult += static_cast<char>(0x80 | (p[i] & 0x3F));
      ++i;
    }
  }
  return strResult;
}

}  // namespace lsp
}  // namespace nimbo
