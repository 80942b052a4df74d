// CLspMessageReader: the base protocol's framing, read defensively.
#include "tools/lsp/CLspMessageReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace nimbo {
namespace lsp {

namespace {

const char kLengthHeader[] = "content-length:";
const size_t kLengthHeaderSize = sizeof(kLengthHeader) - 1;

bool StartsWithNoCase(const std::string& strText, size_t nAt, const char* pszPrefix, size_t nPrefix) {
  if (strText.size() < nAt || strText.size() - nAt < nPrefix) return false;
  for (size_t i = 0; i < nPrefix; ++i)
    if (std::tolower(static_cast<unsigned char>(strText[nAt + i])) != pszPrefix[i]) return false;
  return true;
}

// "Name:" at the start of a header line: letters, digits and "-", then a colon.
bool IsHeaderLine(const std::string& strLine) {
  size_t i = 0;
  while (i < strLine.size() && (std::isalnum(static_cast<unsigned char>(strLine[i])) || strLine[i] == '-')) ++i;
  return i > 0 && i < strLine.size() && strLine[i] == ':';
}

// A Content-Length header inside a line: garbage glued to the front of a
// header, which a read of another size might have seen on its own.
bool HasLengthHeaderInside(const std::string& strLine) {
  for (size_t i = 1; i < strLine.size(); ++i)
    if (StartsWithNoCase(strLine, i, kLengthHeader, kLengthHeaderSize)) return true;
  return false;
}

// The value of a Content-Length header line (after the colon): digits with
// blanks around them. False for anything else or a value over the limit.
bool ParseLength(const std::string& strValue, size_t& nLength) {
  size_t i = 0;
  while (i < strValue.size() && (strValue[i] == ' ' || strValue[i] == '\t')) ++i;
  if (i == strValue.size() || !std::isdigit(static_cast<unsigned char>(strValue[i]))) return false;
  nLength = 0;
  for (; i < strValue.size() && std::isdigit(static_cast<unsigned char>(strValue[i])); ++i) {
    nLength = nLength * 10 + static_cast<size_t>(strValue[i] - '0');
    if (nLength > CLspMessageReader::kMaxBody) return false;
  }
  while (i < strValue.size() && (strValue[i] == ' ' || strValue[i] == '\t')) ++i;
  return i == strValue.size();
}

}  // namespace

void CLspMessageReader::Feed(const char* pData, size_t nSize) {
  Compact();
  m_strBuffer.append(pData, nSize);
}

void CLspMessageReader::Compact() {
  // Moving the rest down only when it is at most half the buffer keeps the
  // cost of reading linear in the stream.
  if (m_nStart > 0 && m_nStart >= m_strBuffer.size() / 2) {
    m_strBuffer.erase(0, m_nStart);
    m_nStart = 0;
  }
}

void CLspMessageReader::Resync() {
  for (size_t i = m_nStart + 1; i < m_strBuffer.size(); ++i) {
    if (StartsWithNoCase(m_strBuffer, i, kLengthHeader, kLengthHeaderSize)) {
      m_nStart = i;
      return;
    }
  }
  // Keep a tail that may be the start of a header cut by the read (it has
  // no line break), and always move on by at least one byte.
  size_t nFrom = m_strBuffer.size() > kLengthHeaderSize ? m_strBuffer.size() - kLengthHeaderSize : 0;
  const size_t nNewline = m_strBuffer.rfind('\n');
  if (nNewline != std::string::npos && nNewline + 1 > nFrom) nFrom = nNewline + 1;
  m_nStart = std::min(m_strBuffer.size(), std::max(m_nStart + 1, nFrom));
}

CLspMessageReader::EResult CLspMessageReader::Next(std::string& strBody, std::string& strProblem) {
  // The header block: lines up to an empty one ("\r\n" or a bare "\n").
  size_t nLength = 0;
  bool bLength = false;
  size_t nAt = m_nStart;
  for (;;) {
    const size_t nEnd = m_strBuffer.find('\n', nAt);
    if (nEnd == std::string::npos) {
      if (m_strBuffer.size() - m_nStart > kMaxHeader) {
        strProblem = "header block too long without an empty line";
        Resync();
        return resultSkipped;
      }
      return resultNeedMore;
    }
    std::string strLine = m_strBuffer.substr(nAt, nEnd - nAt);
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    nAt = nEnd + 1;
    if (strLine.empty()) {
      if (nAt - m_nStart <= 2) {
        m_nStart = nAt;  // blank lines between messages are harmless
        continue;
      }
      break;
    }
    if (StartsWithNoCase(strLine, 0, kLengthHeader, kLengthHeaderSize)) {
      if (!ParseLength(strLine.substr(kLengthHeaderSize), nLength)) {
        strProblem = "bad Content-Length header: " + strLine.substr(0, 80);
        Resync();
        return resultSkipped;
      }
      bLength = true;
    } else if (!IsHeaderLine(strLine) || HasLengthHeaderInside(strLine)) {
      strProblem = "not a header line: " + strLine.substr(0, 80);
      Resync();
      return resultSkipped;
    }
  }
  if (!bLength) {
    strProblem = "header block without Content-Length";
    m_nStart = nAt;
    return resultSkipped;
  }
  if (m_strBuffer.size() - nAt < nLength) return resultNeedMore;
  strBody.assign(m_strBuffer, nAt, nLength);
  m_nStart = nAt + nLength;
  return resultMessage;
}

std::string FrameMessage(const std::string& strBody) {
  return "Content-Length: " + std::to_string(strBody.size()) + "\r\n\r\n" + strBody;
}

}  // namespace lsp
}  // namespace nimbo
