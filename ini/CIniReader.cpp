// CIniReader: cutting a byte source into INI lines, and its two sources.
#include "ini/CIniReader.h"

#include <cerrno>
#include <cstring>

namespace {

const char kCtrlZ = '\x1A';
// How often a memory source's progress is published, in bytes.
const long long kProgressStep = 256 * 1024;

}  // namespace

bool CIniMemorySource::NextBlock(const char** ppData, size_t* pnSize, int* pnError) {
  *pnError = 0;
  if (m_bGiven || m_nSize == 0) return false;
  m_bGiven = true;
  *ppData = m_pData;
  *pnSize = m_nSize;
  return true;
}

CIniFileSource::CIniFileSource(const char* pszPath) {
  errno = 0;
  m_pFile = pszPath == nullptr ? nullptr : crt::fopen(pszPath, "rb");
  if (m_pFile == nullptr) m_nOpenError = errno != 0 ? errno : ENOENT;
}

CIniFileSource::~CIniFileSource() {
  if (m_pFile != nullptr) crt::fclose(m_pFile);
}

bool CIniFileSource::NextBlock(const char** ppData, size_t* pnSize, int* pnError) {
  *pnError = m_pFile == nullptr ? m_nOpenError : 0;
  if (m_pFile == nullptr || m_bEnded) return false;
  const char* pLine = nullptr;
  size_t nLength = 0;
  errno = 0;
  if (crt::ReadLine(m_pFile, m_strSpill, &pLine, &nLength)) {
    // A line handed over where it lies in binary mode is followed there by
    // its LF; one gathered in the spill gets it back.
    if (pLine != m_strSpill.data() && pLine[nLength] == '\n') {
      *ppData = pLine;
    } else {
      if (pLine != m_strSpill.data()) m_strSpill.assign(pLine, nLength);
      m_strSpill.push_back('\n');
      *ppData = m_strSpill.data();
    }
    *pnSize = nLength + 1;
    return true;
  }
  m_bEnded = true;
  if (crt::ferror(m_pFile) != 0) {
    *pnError = errno != 0 ? errno : EIO;
    return false;
  }
  // The end: ReadLine gathers a last line without its LF in the spill and
  // drops it; it is handed over as the last block.
  if (m_strSpill.empty()) return false;
  *ppData = m_strSpill.data();
  *pnSize = m_strSpill.size();
  return true;
}

CIniReader::CIniReader(CIniSource& source, bool bStrict, std::atomic<long long>* pProgress, size_t nMaxLine)
    : m_source(source), m_pProgress(pProgress), m_nMaxLine(nMaxLine), m_bStrict(bStrict) {
  if (source.OpenError() != 0) {
    m_result.nError = source.OpenError();
    Stop(EIniRead::CannotOpen);
  }
}

bool CIniReader::Stop(EIniRead eStatus) {
  m_bStopped = true;
  m_result.eStatus = eStatus;
  if (m_pProgress != nullptr && eStatus == EIniRead::Read) m_pProgress->store(m_result.nTextEnd);
  return false;
}

bool CIniReader::NextBlock() {
  if (m_bTextEnded) return false;
  m_nBlockOffset += m_pEnd - m_pBlock;
  const char* pData = nullptr;
  size_t nSize = 0;
  int nError = 0;
  if (!m_source.NextBlock(&pData, &nSize, &nError)) {
    m_bTextEnded = true;
    m_pBlock = m_pNext = m_pEnd = nullptr;
    if (nError != 0) {
      m_result.nError = nError;
      m_bStopped = true;
      m_result.eStatus = EIniRead::ReadError;
    }
    m_result.nTextEnd = m_nBlockOffset;
    return false;
  }
  m_pBlock = m_pNext = pData;
  m_pEnd = pData + nSize;
  if (const void* pCtrlZ = std::memchr(pData, kCtrlZ, nSize)) {
    // The text ends here, whatever follows.
    m_pEnd = static_cast<const char*>(pCtrlZ);
    m_bTextEnded = true;
    m_result.nTextEnd = m_nBlockOffset + (m_pEnd - m_pBlock);
  }
  if (m_bStrict) {
    const void* pZero = std::memchr(m_pNext, 0, static_cast<size_t>(m_pEnd - m_pNext));
    m_pZero = pZero != nullptr ? static_cast<const char*>(pZero) : m_pEnd;
  }
  if (m_pProgress != nullptr) m_pProgress->store(m_nBlockOffset + static_cast<long long>(nSize));
  return true;
}

bool CIniReader::Next(CIniLine& line) {
  if (m_bStopped) return false;
  m_strSpill.clear();
  long long nOffset = -1;
  bool bBinary = false;
  for (;;) {
    if (m_pNext == m_pEnd && !NextBlock()) {
      if (m_bStopped) return false;  // a read error
      break;                         // the end of the text
    }
    if (nOffset < 0) nOffset = m_nBlockOffset + (m_pNext - m_pBlock);
    const size_t nRest = static_cast<size_t>(m_pEnd - m_pNext);
    const char* pLf = static_cast<const char*>(std::memchr(m_pNext, '\n', nRest));
    const char* pStop = pLf != nullptr ? pLf : m_pEnd;
    if (m_bStrict && m_pZero < pStop) bBinary = true;
    if (m_strSpill.size() + static_cast<size_t>(pStop - m_pNext) > m_nMaxLine) {
      m_result.nLine = m_nLine + 1;
      return Stop(EIniRead::LineTooLong);
    }
    if (pLf == nullptr) {
      // The line goes on in the next block.
      m_strSpill.append(m_pNext, nRest);
      m_pNext = m_pEnd;
      continue;
    }
    const char* pText = m_pNext;
    size_t nLength = static_cast<size_t>(pLf - m_pNext);
    if (!m_strSpill.empty()) {
      m_strSpill.append(m_pNext, nLength);
      pText = m_strSpill.data();
      nLength = m_strSpill.size();
    }
    m_pNext = pLf + 1;
    line.nEndLength = 1;
    if (nLength > 0 && pText[nLength - 1] == '\r') {
      --nLength;
      line.nEndLength = 2;
    }
    line.pText = pText;
    line.nLength = nLength;
    if (!Place(line, nOffset, bBinary)) return false;
    Classify(line);
    if (m_pProgress != nullptr && nOffset >= m_nNextProgress) {
      m_pProgress->store(nOffset);
      m_nNextProgress = nOffset + kProgressStep;
    }
    return true;
  }
  // The end of the text: what is gathered is a last line without its LF.
  if (m_strSpill.empty()) return Stop(EIniRead::Read);
  line.eKind = EIniLine::Tail;
  line.pText = m_strSpill.data();
  line.nLength = m_strSpill.size();
  line.nEndLength = 0;
  line.nEquals = line.nLength;
  return Place(line, nOffset, bBinary);  // the next call ends the read
}

bool CIniReader::Place(CIniLine& line, long long nOffset, bool bBinary) {
  line.nOffset = nOffset;
  line.nNumber = ++m_nLine;
  if (!bBinary) return true;
  m_result.nLine = m_nLine;
  m_result.bBinary = true;
  return Stop(EIniRead::NotText);
}

void CIniReader::Classify(CIniLine& line) {
  line.nEquals = line.nLength;
  if (line.nLength == 0) {
    line.eKind = EIniLine::Blank;
    return;
  }
  const char cFirst = line.pText[0];
  if (cFirst == ';') {
    line.eKind = EIniLine::Comment;
    return;
  }
  if (cFirst == '[') {
    if (line.nLength >= 2 && line.pText[line.nLength - 1] == ']') {
      line.eKind = EIniLine::Header;
      m_bNamedSection = line.nLength > 2;
      return;
    }
  } else if (m_bNamedSection) {
    line.eKind = EIniLine::Entry;
    if (const void* pEquals = std::memchr(line.pText, '=', line.nLength))
      line.nEquals = static_cast<size_t>(static_cast<const char*>(pEquals) - line.pText);
    return;
  }
  line.eKind = EIniLine::Unreadable;
  m_result.nLine = line.nNumber;
  m_bStopped = true;
  m_result.eStatus = EIniRead::NotText;
}
