// CIniDocumentBuilder: headers and entries into the document.
#include "ini/CIniDocumentBuilder.h"

#include <cstring>
#include <utility>

#include "ini/CIniFile.h"

void CIniDocumentBuilder::Add(const CIniLine& line) {
  if (line.eKind == EIniLine::Header) {
    // The header of the current section again, spelled alike: nothing to find.
    if (m_pSection != nullptr) {
      const CString& strCurrent = m_ini.GetAt(m_nSection).first;
      if (static_cast<size_t>(strCurrent.GetLength()) == line.NameLength() &&
          std::memcmp(static_cast<LPCTSTR>(strCurrent), line.Name(), line.NameLength()) == 0) {
        m_bFirstVisit = false;
        return;
      }
    }
    // A section left after its first visit is most often complete: its
    // spare room is given back, so that a file of many small sections does
    // not hold up to twice the memory its entries need. A section visited
    // again keeps its room, so that a file that reopens one section header
    // after header still grows it geometrically (in linear time).
    if (m_pSection != nullptr && m_bFirstVisit) m_pSection->Compact();
    const int nCount = m_ini.GetCount();
    CIniFile::CItem& item =
        m_ini.FindOrAdd(CIniFile::CItem(CString(line.Name(), static_cast<int>(line.NameLength())), CIniFileSection()));
    m_bFirstVisit = m_ini.GetCount() != nCount;
    m_pSection = &item.second;
    m_nSection = static_cast<int>(&item - &m_ini.GetAt(0));
    return;
  }
  if (line.eKind != EIniLine::Entry || m_pSection == nullptr) return;
  // Key and value divide at the first "=" (the reader found it), as
  // CStringEx's LeftChar and RightChar divide; nothing is trimmed.
  const int nKey = static_cast<int>(line.nEquals);
  CString strValue = line.nEquals < line.nLength
                         ? CString(line.pText + nKey + 1, static_cast<int>(line.nLength - line.nEquals - 1))
                         : CString();
  m_pSection->FindOrAdd(CIniFileSection::CItem(CString(line.pText, nKey), CString())).second = std::move(strValue);
}
