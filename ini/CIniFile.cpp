// CIniFile: run-time class, path and modified flag, and the archive form of
// the document.
#include "ini/CIniFile.h"

#include <algorithm>

#include "CArchive.h"
#include "CArchiveException.h"

IMPLEMENT_SERIAL_NOINIT(CIniFile, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

const DWORD kRecordVersion = 1;
const DWORD_PTR kMaxReservedSections = 16 * 1024;

}  // namespace

void CIniFile::SetFilePath(LPCTSTR pszPath) { m_strFilePath = pszPath; }

CString CIniFile::GetFilePath() const { return m_strFilePath; }

bool CIniFile::IsModified() { return m_bModified; }

void CIniFile::SetModified(bool bModified) { m_bModified = bModified; }

void CIniFile::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << kRecordVersion;
    ar.WriteCount(static_cast<DWORD_PTR>(m_items.size()));
    for (CItem& item : m_items) {
      ar << item.first;
      CObject& section = item.second;
      section.Serialize(ar);
    }
    return;
  }
  DWORD dwVersion = 0;
  ar >> dwVersion;
  if (dwVersion != kRecordVersion) return;
  const DWORD_PTR nCount = ar.ReadCount();
  // Room for the sections ahead, bounded: a damaged count can be anything.
  m_items.reserve(m_items.size() + static_cast<size_t>(std::min<DWORD_PTR>(nCount, kMaxReservedSections)));
  for (DWORD_PTR i = 0; i < nCount; ++i) {
    CString strName;
    ar >> strName;
    CIniFileSection& section = FindOrAdd(CItem(std::move(strName), CIniFileSection())).second;
    // Sections are held by value, so this is the function a virtual
    // Serialize call would reach; its result tells a record of another
    // version, after which the remaining bytes cannot be read as sections.
    if (!section.LoadRecord(ar)) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
  }
}
