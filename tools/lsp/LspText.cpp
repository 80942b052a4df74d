// LspText: position encodings, line splitting, 8-bit text for JSON and
// the repair of JSON text.
#include "tools/lsp/LspText.h"

#include <cstdio>

namespace nimbo {
namespace lsp {

namespace {

// The length of the longest start of a well-formed UTF-8 sequence at
// p[0..nLeft) (Unicode's table of well-formed byte sequences), and in
// bComplete whether it is a whole character. At least 1 for a byte that
// begins none: each such byte is a maximal ill-formed part of its own.
size_t Utf8PrefixLength(const unsigned char* p, size_t nLeft, bool& bComplete) {
  const unsigned char c = p[0];
  bComplete = c < 0x80;
  if (c < 0xC2 || c > 0xF4) return 1;
  const size_t nLength = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  // The second byte's range depends on the first; later ones are 80..BF.
  unsigned char nLow = 0x80;
  unsigned char nHigh = 0xBF;
  if (c == 0xE0) nLow = 0xA0;
  else if (c == 0xED) nHigh = 0x9F;
  else if (c == 0xF0) nLow = 0x90;
  else if (c == 0xF4) nHigh = 0x8F;
  size_t i = 1;
  for (; i < nLength && i < nLeft; ++i) {
    if (p[i] < (i == 1 ? nLow : 0x80) || p[i] > (i == 1 ? nHigh : 0xBF)) break;
  }
  bComplete = i == nLength;
  return i;
}

// The length of the well-formed UTF-8 sequence at p[0..nLeft), or 0 when the
// byte there does not begin one (overlong forms and surrogates included).
size_t Utf8SequenceLength(const unsigned char* p, size_t nLeft) {
  bool bComplete = false;
  const size_t nLength = Utf8PrefixLength(p, nLeft, bComplete);
  return bComplete ? nLength : 0;
}

// Units of one character in the encoding: a 4-byte sequence is a surrogate
// pair in UTF-16; a byte that is not UTF-8 counts one unit.
long long UnitsOf(size_t nSequence, EPositionEncoding eEncoding) {
  if (nSequence == 0) return 1;
  if (eEncoding == encodingUtf8) return static_cast<long long>(nSequence);
  return nSequence == 4 ? 2 : 1;
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// The code unit of a "\uXXXX" escape at strText[nAt], or -1.
long UnicodeEscapeAt(const std::string& strText, size_t nAt) {
  if (nAt + 6 > strText.size() || strText[nAt] != '\\' || strText[nAt + 1] != 'u') return -1;
  long nCode = 0;
  for (size_t i = nAt + 2; i < nAt + 6; ++i) {
    const int nDigit = HexValue(strText[i]);
    if (nDigit < 0) return -1;
    nCode = nCode * 16 + nDigit;
  }
  return nCode;
}

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

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
  return CLspColumnCounter(strLine, eEncoding).ColumnOf(nOffset);
}

long long CLspColumnCounter::ColumnOf(size_t nOffset) {
  if (nOffset > m_strLine.size()) nOffset = m_strLine.size();
  if (m_eEncoding == encodingUtf8) return static_cast<long long>(nOffset);
  if (nOffset < m_nAsked) {
    m_nByte = 0;
    m_nUnits = 0;
  }
  m_nAsked = nOffset;
  // No character boundary lies between the offset asked before and
  // m_nByte, so counting on from there ends where counting from 0 would.
  const unsigned char* p = reinterpret_cast<const unsigned char*>(m_strLine.data());
  while (m_nByte < nOffset) {
    const size_t nSequence = Utf8SequenceLength(p + m_nByte, m_strLine.size() - m_nByte);
    m_nUnits += UnitsOf(nSequence, m_eEncoding);
    m_nByte += nSequence == 0 ? 1 : nSequence;
  }
  return m_nUnits;
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

size_t RepairJsonText(std::string& strText) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(strText.data());
  std::string strResult;
  size_t nChanged = 0;
  bool bInString = false;
  for (size_t i = 0; i < strText.size();) {
    const unsigned char c = p[i];
    if (c >= 0x80) {
      bool bComplete = false;
      const size_t nPrefix = Utf8PrefixLength(p + i, strText.size() - i, bComplete);
      if (bComplete) {
        strResult.append(strText, i, nPrefix);
      } else {
        strResult += kReplacement;
        ++nChanged;
      }
      i += nPrefix;
    } else if (!bInString) {
      bInString = c == '"';
      strResult += static_cast<char>(c);
      ++i;
    } else if (c == '"') {
      bInString = false;
      strResult += '"';
      ++i;
    } else if (c < 0x20) {
      char szEscape[8];
      std::snprintf(szEscape, sizeof(szEscape), "\\u%04x", c);
      strResult += szEscape;
      ++nChanged;
      ++i;
    } else if (c != '\\' || i + 1 == strText.size()) {
      strResult += static_cast<char>(c);
      ++i;
    } else {
      const long nUnit = UnicodeEscapeAt(strText, i);
      if (nUnit >= 0xD800 && nUnit <= 0xDBFF) {
        const long nNext = UnicodeEscapeAt(strText, i + 6);
        if (nNext >= 0xDC00 && nNext <= 0xDFFF) {
          strResult.append(strText, i, 12);  // a whole surrogate pair
          i += 12;
          continue;
        }
      }
      if (nUnit >= 0xD800 && nUnit <= 0xDFFF) {
        strResult += "\\ufffd";
        ++nChanged;
        i += 6;
      } else {
        strResult.append(strText, i, 2);  // any other escape stays as it is
        i += 2;
      }
    }
  }
  if (nChanged > 0) strText.swap(strResult);
  return nChanged;
}

std::string FindJsonStringMember(const std::string& strText, const std::string& strName) {
  const std::string strKey = "\"" + strName + "\"";
  for (size_t nAt = strText.find(strKey); nAt != std::string::npos; nAt = strText.find(strKey, nAt + 1)) {
    size_t i = nAt + strKey.size();
    while (i < strText.size() && IsJsonBlank(strText[i])) ++i;
    if (i >= strText.size() || strText[i] != ':') continue;
    ++i;
    while (i < strText.size() && IsJsonBlank(strText[i])) ++i;
    if (i >= strText.size() || strText[i] != '"') continue;
    const size_t nFirst = ++i;
    while (i < strText.size() && strText[i] != '"') i += strText[i] == '\\' ? 2 : 1;
    if (i >= strText.size()) continue;
    return strText.substr(nFirst, i - nFirst);
  }
  return std::string();
}

}  // namespace lsp
}  // namespace nimbo
