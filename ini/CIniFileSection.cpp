// CIniFileSection: copies, key lists and the section's archive record.
#include "ini/CIniFileSection.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "CArchive.h"

IMPLEMENT_SERIAL_NOINIT(CIniFileSection, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

const DWORD kRecordVersion = 1;
const DWORD_PTR kMaxReservedEntries = 64 * 1024;

}  // namespace

CIniFileSection::CIniFileSection(const CIniFileSection& other) : CObject(), CNamedArray<CString>(other) {}

CIniFileSection& CIniFileSection::operator=(const CIniFileSection& other) {
  if (this != &other) CNamedArray<CString>::operator=(other);
  return *this;
}

CIniFileSection::CIniFileSection(CIniFileSection&& other) noexcept
    : CObject(), CNamedArray<CString>(std::move(other)) {}

CIniFileSection& CIniFileSection::operator=(CIniFileSection&& other) noexcept {
  if (this != &other) CNamedArray<CString>::operator=(std::move(other));
  return *this;
}

void CIniFileSection::GetKeys(CStringList& list) const {
  for (const CItem& item : m_items) list.AddTail(item.first);
}

void CIniFileSection::GetKeys(CStringArray& array) const {
  for (const CItem& item : m_items) array.SetAtGrow(array.GetSize(), item.first);
}

void CIniFileSection::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << kRecordVersion;
    ar.WriteCount(static_cast<DWORD_PTR>(m_items.size()));
    for (const CItem& item : m_items) {
      ar << item.first;
      ar << item.second;
    }
  } else {
    LoadRecord(ar);
  }
}

bool CIniFileSection::LoadRecord(CArchive& ar) {
  const int nFirst = GetCount();
  bool bRead;
  try {
    bRead = AppendRecord(ar);
  } catch (...) {
    IndexAppended(nFirst);  // what was read before the damage stays
    throw;
  }
  IndexAppended(nFirst);
  return bRead;
}

void CIniFileSection::ReserveForCount(DWORD_PTR nCount) {
  ReserveMore(static_cast<size_t>(std::min<DWORD_PTR>(nCount, kMaxReservedEntries)));
}

bool CIniFileSection::AppendRecord(CArchive& ar) {
  DWORD dwVersion = 0;
  ar >> dwVersion;
  if (dwVersion != kRecordVersion) return false;
  const DWORD_PTR nCount = ar.ReadCount();
  ReserveForCount(nCount);
  // An entry the damage cut short is dropped.
  CString strKey, strValue;
  for (DWORD_PTR i = 0; i < nCount; ++i) {
    ar >> strKey;
    ar >> strValue;
    // A value is text: it ends at its first zero byte. Keys stay whole.
    if (std::memchr(strValue, 0, static_cast<size_t>(strValue.GetLength())) != nullptr)
      strValue = static_cast<LPCTSTR>(strValue);
    m_items.emplace_back(std::move(strKey), std::move(strValue));
  }
  return true;
}
