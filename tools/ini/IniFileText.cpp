// CIniFileText: the lines of an INI file, changes to some of them, and the
// reading back of the changed bytes.
#include "tools/ini/IniFileText.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "CrtMbString.h"
#include "tools/ini/IniCommandSupport.h"

namespace nimbo {
namespace ini {

bool SameName(const std::string& a, const std::string& b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                  reinterpret_cast<const unsigned char*>(b.c_str())) == 0;
}

CBlankParts SplitBlanks(const std::string& str) {
  const size_t nFirst = str.find_first_not_of(" \t");
  if (nFirst == std::string::npos) return {str, std::string(), std::string()};
  const size_t nEnd = str.find_last_not_of(" \t") + 1;
  return {str.substr(0, nFirst), str.substr(nFirst, nEnd - nFirst), str.substr(nEnd)};
}

std::string CIniFileText::KeepBlanks(const std::string& strOld, const std::string& strNew) {
  if (strNew.empty()) return strNew;
  const CBlankParts parts = SplitBlanks(strOld);
  return parts.strLead + strNew + parts.strTrail;
}

bool CIniFileText::Read(const char* pBytes, size_t nBytes, bool bKeyOnly, std::string& strWhy,
                        std::atomic<long long>* pProgress) {
  m_pBytes = pBytes;
  m_nBytes = nBytes;
  m_bKeyOnly = bKeyOnly;
  m_lines.clear();
  m_splices.clear();
  // Room for lines of 16 bytes: what is not used is never touched.
  m_lines.reserve(nBytes / 16 + 16);
  CIniMemorySource source(pBytes, nBytes);
  CIniReader reader(source, true, pProgress);
  CIniLine line;
  int nHeader = -1;
  std::string strStopLine;
  while (reader.Next(line)) {
    if (line.eKind == EIniLine::Header) nHeader = static_cast<int>(m_lines.size());
    if (line.nLength > UINT_MAX) {
      strWhy = "line " + std::to_string(line.nNumber) + " is too long";
      return false;
    }
    CLine& stored = m_lines.emplace_back();
    stored.nOffset = line.nOffset;
    stored.nLength = static_cast<unsigned>(line.nLength);
    stored.nEquals = static_cast<unsigned>(line.nEquals);
    stored.nHeader = nHeader;
    stored.eKind = line.eKind;
    stored.nEndLength = static_cast<unsigned>(line.nEndLength);
    if (line.eKind == EIniLine::Unreadable) strStopLine.assign(line.pText, line.nLength);
  }
  m_nTextEnd = reader.Result().nTextEnd;
  strWhy = WhyNotRead(reader.Result(), strStopLine, pBytes, nBytes);
  return strWhy.empty();
}

std::string CIniFileText::NameOf(int nLine) const {
  const CLine& line = m_lines[static_cast<size_t>(nLine)];
  const char* pText = m_pBytes + line.nOffset;
  if (line.eKind == EIniLine::Header) return std::string(pText + 1, line.nLength - 2);
  return std::string(pText, line.nEquals);
}

CNameMatch CIniFileText::FindSection(const std::string& strName) const {
  return MatchName(
      static_cast<int>(m_lines.size()),
      [this](int i, std::string& str) {
        const CLine& line = m_lines[static_cast<size_t>(i)];
        if (line.eKind != EIniLine::Header) return false;
        str.assign(m_pBytes + line.nOffset + 1, line.nLength - 2);
        return true;
      },
      strName);
}

CNameMatch CIniFileText::FindKey(int nHeader, const std::string& strName) const {
  std::vector<char> inSection(m_lines.size());
  for (size_t nLine : HeadersOf(nHeader)) inSection[nLine] = 1;
  return MatchName(
      static_cast<int>(m_lines.size()),
      [this, &inSection](int i, std::string& str) {
        const CLine& line = m_lines[static_cast<size_t>(i)];
        if (line.eKind != EIniLine::Entry || !inSection[static_cast<size_t>(line.nHeader)]) return false;
        str.assign(m_pBytes + line.nOffset, line.nEquals);
        return true;
      },
      strName);
}

std::vector<size_t> CIniFileText::HeadersOf(int nHeader) const {
  const std::string strName = NameOf(nHeader);
  std::vector<size_t> headers;
  std::string str;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (m_lines[i].eKind != EIniLine::Header) continue;
    str.assign(m_pBytes + m_lines[i].nOffset + 1, m_lines[i].nLength - 2);
    if (SameName(str, strName)) headers.push_back(i);
  }
  return headers;
}

std::vector<size_t> CIniFileText::EntriesOf(int nHeader, int nEntry) const {
  std::vector<char> inSection(m_lines.size());
  for (size_t nLine : HeadersOf(nHeader)) inSection[nLine] = 1;
  const std::string strKey = nEntry >= 0 ? NameOf(nEntry) : std::string();
  std::vector<size_t> entries;
  std::string str;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    const CLine& line = m_lines[i];
    if (line.eKind != EIniLine::Entry || !inSection[static_cast<size_t>(line.nHeader)]) continue;
    str.assign(m_pBytes + line.nOffset, line.nEquals);
    if (nEntry < 0 || SameName(str, strKey)) entries.push_back(i);
  }
  return entries;
}

std::string CIniFileText::NoLineEnd(const std::string& strBefore) const {
  return "line " + std::to_string(m_lines.size()) + ", the last, has no line end, so the store does not read it; end it before " + strBefore;
}

std::string CIniFileText::LineEnd() const {
  for (const CLine& line : m_lines)
    if (line.nEndLength > 0) return line.nEndLength == 2 ? "\r\n" : "\n";
  return "\r\n";  // the store's own
}

void CIniFileText::Replace(size_t nLine, EIniLine eKind, const std::string& strText) {
  const size_t nEnd = m_lines[nLine].nEndLength;
  m_splices.push_back({nLine, nLine + 1, {{eKind, strText, nEnd == 2 ? "\r\n" : nEnd == 1 ? "\n" : ""}}});
}

void CIniFileText::Remove(size_t nFirst, size_t nEnd) { m_splices.push_back({nFirst, nEnd, {}}); }

bool CIniFileText::SetValue(int nHeader, int nEntry, const std::string& strSection, const std::string& strKey,
                            const std::string& strValue, std::string& strWhy) {
  const std::string strLineEnd = LineEnd();
  const std::string strEntry = strKey + (strValue.empty() && m_bKeyOnly ? "" : "=" + strValue);
  if (nEntry >= 0) {
    // The store takes the value of the key's last line.
    const size_t nLine = EntriesOf(nHeader, nEntry).back();
    const std::string strText = TextOf(nLine);
    const size_t nEquals = m_lines[nLine].nEquals;
    if (nEquals < strText.size())
      Replace(nLine, EIniLine::Entry, strText.substr(0, nEquals + 1) + KeepBlanks(strText.substr(nEquals + 1), strValue));
    else
      Replace(nLine, EIniLine::Entry, strValue.empty() && m_bKeyOnly ? strText : strText + "=" + strValue);
    return true;
  }
  if (nHeader >= 0) {
    // A last line without its line end that names the key is not read by
    // the store; a second line of the key beside it would only mislead.
    const CLine& last = m_lines.back();
    const std::vector<size_t> headers = HeadersOf(nHeader);
    if (last.eKind == EIniLine::Tail && last.nHeader >= 0 &&
        std::find(headers.begin(), headers.end(), static_cast<size_t>(last.nHeader)) != headers.end()) {
      const std::string strTail = TextOf(m_lines.size() - 1);
      if (SameName(SplitBlanks(strTail.substr(0, strTail.find('='))).strCore, SplitBlanks(strKey).strCore)) {
        strWhy = NoLineEnd("a key is set");
        return false;
      }
    }
    // After the section's last entry, or its last header when it has none,
    // where the store appends a key. A "#" line is a comment to many
    // readers but an entry to the store, so a new key goes after it too:
    // the keys keep the order the store gives them.
    const std::vector<size_t> entries = EntriesOf(nHeader, -1);
    const size_t nAfter = entries.empty() ? headers.back() : entries.back();
    m_splices.push_back({nAfter + 1, nAfter + 1, {{EIniLine::Entry, strEntry, strLineEnd}}});
    return true;
  }
  // A new section at the end of the text.
  CSplice splice{m_lines.size(), m_lines.size(), {}};
  EIniLine eLast = m_lines.empty() ? EIniLine::Blank : m_lines.back().eKind;
  if (eLast == EIniLine::Tail) {
    // A last line without its line end is not read; ended, it would be -
    // which changes nothing only for a comment.
    const std::string strTail = TextOf(m_lines.size() - 1);
    if (strTail[0] != ';') {
      strWhy = NoLineEnd("a section is added");
      return false;
    }
    --splice.nFirstLine;
    splice.lines.push_back({EIniLine::Comment, strTail, strLineEnd});
    eLast = EIniLine::Comment;
  }
  if (!m_lines.empty() && eLast != EIniLine::Blank) splice.lines.push_back({EIniLine::Blank, "", strLineEnd});
  splice.lines.push_back({EIniLine::Header, "[" + strSection + "]", strLineEnd});
  splice.lines.push_back({EIniLine::Entry, strEntry, strLineEnd});
  m_splices.push_back(splice);
  return true;
}

void CIniFileText::RenameSection(int nHeader, const std::string& strNew) {
  for (size_t nLine : HeadersOf(nHeader)) {
    const std::string strText = TextOf(nLine);
    Replace(nLine, EIniLine::Header, "[" + KeepBlanks(strText.substr(1, strText.size() - 2), strNew) + "]");
  }
}

void CIniFileText::RenameKey(int nHeader, int nEntry, const std::string& strNew) {
  for (size_t nLine : EntriesOf(nHeader, nEntry)) {
    const std::string strText = TextOf(nLine);
    const size_t nEquals = m_lines[nLine].nEquals;
    Replace(nLine, EIniLine::Entry, KeepBlanks(strText.substr(0, nEquals), strNew) + strText.substr(nEquals));
  }
}

void CIniFileText::RemoveKey(int nHeader, int nEntry) {
  for (size_t nLine : EntriesOf(nHeader, nEntry)) Remove(nLine, nLine + 1);
}

void CIniFileText::ClearSection(int nHeader) {
  for (size_t nLine : EntriesOf(nHeader, -1)) Remove(nLine, nLine + 1);
}

void CIniFileText::RemoveSection(int nHeader) {
  // Each of its headers goes with its entries, what lies between them, and
  // the blank lines after the last; comments after its last entry are left
  // to the next section, which they most often describe.
  for (size_t nFirst : HeadersOf(nHeader)) {
    size_t nLast = nFirst;
    size_t nNext = nFirst + 1;
    for (; nNext < m_lines.size() && m_lines[nNext].eKind != EIniLine::Header; ++nNext) {
      const EIniLine eKind = m_lines[nNext].eKind;
      // A last line without its line end is no entry to the store, but looks
      // like one of this section - unless it looks like a comment or a header.
      if (eKind == EIniLine::Entry || (eKind == EIniLine::Tail && std::strchr(";[", TextOf(nNext)[0]) == nullptr))
        nLast = nNext;
    }
    size_t nEnd = nLast + 1;
    while (nEnd < nNext && m_lines[nEnd].eKind == EIniLine::Blank) ++nEnd;
    Remove(nFirst, nEnd);
  }
}

bool CIniFileText::Finish(std::string& strChanged, std::string& strWhy) {
  std::stable_sort(m_splices.begin(), m_splices.end(),
                   [](const CSplice& a, const CSplice& b) { return a.nFirstLine < b.nFirstLine; });
  auto fnOffset = [this](size_t nLine) {
    return nLine < m_lines.size() ? static_cast<size_t>(m_lines[nLine].nOffset) : static_cast<size_t>(m_nTextEnd);
  };

  // The changed bytes: the original ones between the changes.
  strChanged.clear();
  strChanged.reserve(m_nBytes + 256);
  size_t nLine = 0;
  for (const CSplice& splice : m_splices) {
    strChanged.append(m_pBytes + fnOffset(nLine), fnOffset(splice.nFirstLine) - fnOffset(nLine));
    for (const CPlanned& planned : splice.lines) strChanged += planned.strText + planned.strEnd;
    nLine = splice.nEndLine;
  }
  strChanged.append(m_pBytes + fnOffset(nLine), m_nBytes - fnOffset(nLine));  // with what follows a Ctrl-Z

  // The whole changed text is read back, from its first line: a line's kind
  // depends on every header above it (an entry needs one that names a
  // section), so no part of the text can be judged apart from what comes
  // before it. Each line must come back as the changes mean it: the kept
  // lines as they are, the new ones as planned. The expected lines are
  // walked, not gathered, so that a large file's check holds no second
  // list of its lines.
  size_t nSplice = 0;
  size_t nPlanned = 0;
  nLine = 0;
  auto fnExpected = [&](EIniLine& eKind, const char*& pText, size_t& nLength) {
    for (;;) {
      const CSplice* pSplice = nSplice < m_splices.size() ? &m_splices[nSplice] : nullptr;
      if (nLine < (pSplice != nullptr ? pSplice->nFirstLine : m_lines.size())) {
        const CLine& kept = m_lines[nLine++];
        eKind = kept.eKind;
        pText = m_pBytes + kept.nOffset;
        nLength = kept.nLength;
        return true;
      }
      if (pSplice == nullptr) return false;
      if (nPlanned < pSplice->lines.size()) {
        const CPlanned& planned = pSplice->lines[nPlanned++];
        eKind = planned.eKind;
        pText = planned.strText.data();
        nLength = planned.strText.size();
        return true;
      }
      nLine = std::max(nLine, pSplice->nEndLine);
      ++nSplice;
      nPlanned = 0;
    }
  };
  CIniMemorySource source(strChanged.data(), strChanged.size());
  CIniReader reader(source, true);
  CIniLine line;
  EIniLine eKind = EIniLine::Blank;
  const char* pText = nullptr;
  size_t nLength = 0;
  bool bSame = true;
  while (bSame && reader.Next(line))
    bSame = fnExpected(eKind, pText, nLength) && line.eKind == eKind && line.nLength == nLength &&
            (nLength == 0 || std::memcmp(line.pText, pText, nLength) == 0);
  if (bSame && reader.Result().eStatus == EIniRead::Read && !fnExpected(eKind, pText, nLength)) return true;
  strWhy = "the changed text would not read back as intended";
  return false;
}

}  // namespace ini
}  // namespace nimbo
