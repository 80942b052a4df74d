// CLspMessageReader: the base protocol's framing, read defensively.
#include "tools/lsp/CLspMessageReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "tools/lsp/LspText.h"

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
    // The room a large message took (a document opened whole) is given
    // back once it is read, not kept for the rest of the session.
    if (m_strBuffer.capacity() > (1u << 20) && m_strBuffer.size() < m_strBuffer.capacity() / 4)
      m_strBuffer.shrink_to_fit();
    if (m_nBody != std::string::npos) {
      m_nBody -= m_nStart;
      m_nSearched -= m_nStart;
    }
    m_nStart = 0;
  }
}

void CLspMessageReader::MoveTo(size_t nStart) {
  m_nStart = nStart;
  m_nBody = std::string::npos;
}

void CLspMessageReader::Resync() {
  for (size_t i = m_nStart + 1; i < m_strBuffer.size(); ++i) {
    if (StartsWithNoCase(m_strBuffer, i, kLengthHeader, kLengthHeaderSize)) {
      MoveTo(i);
      return;
    }
  }
  // Keep a tail that may be the start of a header cut by the read (it has
  // no line break), and always move on by at least one byte.
  size_t nFrom = m_strBuffer.size() > kLengthHeaderSize ? m_strBuffer.size() - kLengthHeaderSize : 0;
  const size_t nNewline = m_strBuffer.rfind('\n');
  if (nNewline != std::string::npos && nNewline + 1 > nFrom) nFrom = nNewline + 1;
  MoveTo(std::min(m_strBuffer.size(), std::max(m_nStart + 1, nFrom)));
}

CLspMessageReader::EHeader CLspMessageReader::ReadHeader(size_t& nAt, size_t& nLength, size_t& nBody,
                                                         std::string& strProblem) const {
  // The header block: lines up to an empty one ("\r\n" or a bare "\n").
  // On headerBad, nBody is where to go on, or npos to look for the next
  // header after nAt.
  nBody = std::string::npos;
  bool bLength = false;
  size_t nLine = nAt;
  for (;;) {
    const size_t nEnd = m_strBuffer.find('\n', nLine);
    if (nEnd == std::string::npos) {
      if (m_strBuffer.size() - nAt > kMaxHeader) {
        strProblem = "header block too long without an empty line";
        return headerBad;
      }
      return headerNeedMore;
    }
    std::string strLine = m_strBuffer.substr(nLine, nEnd - nLine);
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    nLine = nEnd + 1;
    if (strLine.empty()) {
      if (nLine - nAt <= 2) {
        nAt = nLine;  // blank lines between messages are harmless
        continue;
      }
      break;
    }
    if (StartsWithNoCase(strLine, 0, kLengthHeader, kLengthHeaderSize)) {
      if (!ParseLength(strLine.substr(kLengthHeaderSize), nLength)) {
        strProblem = "bad Content-Length header: " + strLine.substr(0, 80);
        return headerBad;
      }
      bLength = true;
    } else if (!IsHeaderLine(strLine) || HasLengthHeaderInside(strLine)) {
      strProblem = "not a header line: " + strLine.substr(0, 80);
      return headerBad;
    }
  }
  nBody = nLine;
  if (!bLength) {
    strProblem = "header block without Content-Length";
    return headerBad;
  }
  return headerComplete;
}

size_t CLspMessageReader::FindHeaderInside(size_t& nFrom, size_t nTo) const {
  for (; nFrom < nTo; ++nFrom) {
    const size_t nLeft = m_strBuffer.size() - nFrom;
    if (!StartsWithNoCase(m_strBuffer, nFrom, kLengthHeader, std::min(nLeft, kLengthHeaderSize))) continue;
    if (nLeft < kLengthHeaderSize) return std::string::npos;  // cut by the read: decided later
    size_t nAt = nFrom;
    size_t nLength = 0;
    size_t nBody = 0;
    std::string strIgnored;
    const EHeader eHeader = ReadHeader(nAt, nLength, nBody, strIgnored);
    if (eHeader == headerComplete) return nFrom;
    if (eHeader == headerNeedMore) return std::string::npos;
  }
  return std::string::npos;
}

bool CLspMessageReader::SettleOwed(std::string& strProblem) {
  size_t nAt = m_nStart;
  while (m_nOwed > 0 && nAt < m_strBuffer.size() && IsJsonBlank(m_strBuffer[nAt])) {
    ++nAt;
    --m_nOwed;
  }
  MoveTo(nAt);
  if (m_nOwed == 0) return true;
  const size_t nLeft = m_strBuffer.size() - nAt;
  if (nLeft == 0) return false;
  if (StartsWithNoCase(m_strBuffer, nAt, kLengthHeader, std::min(nLeft, kLengthHeaderSize))) {
    if (nLeft < kLengthHeaderSize) return false;
    strProblem = "Content-Length " + std::to_string(m_nOwedLength) + " was " + std::to_string(m_nOwed) +
                 " bytes longer than its message; reading on from the next header";
  }
  // Anything else is garbage, dropped up to the next header by the header reader.
  m_nOwed = 0;
  return true;
}

CLspMessageReader::EResult CLspMessageReader::Next(std::string& strBody, std::string& strProblem) {
  strProblem.clear();
  if (m_nOwed > 0) {
    if (!SettleOwed(strProblem)) return resultNeedMore;
    if (!strProblem.empty()) return resultSkipped;
  }
  size_t nAt = m_nStart;
  size_t nLength = 0;
  size_t nBody = 0;
  const EHeader eHeader = ReadHeader(nAt, nLength, nBody, strProblem);
  if (nAt != m_nStart) MoveTo(nAt);
  if (eHeader == headerNeedMore) return resultNeedMore;
  if (eHeader == headerBad) {
    if (nBody == std::string::npos) Resync();
    else MoveTo(nBody);
    return resultSkipped;
  }
  if (m_nBody != nBody) {
    m_nBody = nBody;
    m_nSearched = nBody;
    m_extent.Reset();
  }
  const size_t nHave = std::min(m_strBuffer.size() - nBody, nLength);
  const bool bComplete = m_extent.Scan(m_strBuffer.data() + nBody, nHave) == CLspJsonExtent::resultComplete;
  const size_t nValueEnd = nBody + (bComplete ? m_extent.End() : nHave);
  const size_t nInside = FindHeaderInside(m_nSearched, nValueEnd);
  if (nInside != std::string::npos) {
    strBody.assign(m_strBuffer, nBody, nInside - nBody);
    strProblem = "a header block inside a body of Content-Length " + std::to_string(nLength) +
                 ": the body is cut there after " + std::to_string(nInside - nBody) + " bytes";
    MoveTo(nInside);
    return resultMessage;
  }
  if (m_nSearched < nValueEnd) return resultNeedMore;  // what may be a header inside is not all here
  if (bComplete) {
    strBody.assign(m_strBuffer, nBody, nValueEnd - nBody);
    m_nOwed = nBody + nLength - nValueEnd;
    m_nOwedLength = nLength;
    MoveTo(nValueEnd);
    return resultMessage;
  }
  if (m_strBuffer.size() - nBody < nLength) return resultNeedMore;
  strBody.assign(m_strBuffer, nBody, nLength);
  MoveTo(nBody + nLength);
  return resultMessage;
}

std::string FrameMessage(const std::string& strBody) {
  return "Content-Length: " + std::to_string(strBody.size()) + "\r\n\r\n" + strBody;
}

}  // namespace lsp
}  // namespace nimbo
