// CIniFile: run-time class, path and modified flag, and the archive form of
// the document.
#include "ini/CIniFile.h"

#include <algorithm>
#include <cstring>

#include "CArchive.h"
#include "CArchiveException.h"

IMPLEMENT_SERIAL_NOINIT(CIniFile, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

const DWORD kRecordVersion = 1;
const DWORD_PTR kMaxReservedSections = 16 * 1024;
// The records of one section in a row after which the rest of the document
// is taken to be more of them.
const DWORD_PTR kLongRun = 1024;

bool SameBytes(const CString& a, const CString& b) {
  return a.GetLength() == b.GetLength() &&
         std::memcmp(static_cast<LPCTSTR>(a), static_cast<LPCTSTR>(b), static_cast<size_t>(a.GetLength())) == 0;
}

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
  // Records of one section often follow each other (a file written record
  // by record): such a run is appended to its section as it is read and
  // indexed once at its end - before another section is looked up or added
  // (which may move the sections), and before an exception leaves.
  CString strName;
  CIniFileSection* pSection = nullptr;  // the section of the run, or null
  int nRunSection = 0;                  // its place in the document
  int nRunFirst = 0;                    // its first entry not yet indexed
  DWORD_PTR nRunRecords = 0;            // the records of the run so far
  auto EndRun = [&]() {
    if (pSection == nullptr) return;
    pSection->IndexAppended(nRunFirst);
    // What a guess (below) reserved and the run did not use.
    if (nRunRecords >= kLongRun) pSection->TrimExcess();
    pSection = nullptr;
  };
  try {
    for (DWORD_PTR i = 0; i < nCount; ++i) {
      // The run's own name, met again, is only compared where it lies; any
      // other name is read and looked up.
      if (pSection == nullptr || !ar.ReadIfNextString(m_items[static_cast<size_t>(nRunSection)].first)) {
        ar >> strName;
        if (pSection == nullptr || !SameBytes(m_items[static_cast<size_t>(nRunSection)].first, strName)) {
          EndRun();
          CItem& item = FindOrAdd(CItem(strName, CIniFileSection()));
          nRunSection = static_cast<int>(&item - m_items.data());
          pSection = &item.second;
          nRunFirst = pSection->GetCount();
          nRunRecords = 0;
        }
      }
      // A long run is taken to go on to the document's end, with as many
      // entries per record as so far, and room is made for it once, as a
      // single record of that many entries would have: growing a large
      // array step by step costs more in fresh memory than the reading.
      if (++nRunRecords == kLongRun) {
        const DWORD_PTR nPerRecord = std::max<DWORD_PTR>(
            1, static_cast<DWORD_PTR>(pSection->GetCount() - nRunFirst) / (kLongRun - 1));
        const DWORD_PTR nLeft = nCount - i;
        pSection->ReserveForCount(nLeft > DWORD_PTR(-1) / nPerRecord ? DWORD_PTR(-1) : nLeft * nPerRecord);
      }
      // Sections are held by value, so this is the function a virtual
      // Serialize call would reach; its result tells a record of another
      // version, after which the remaining bytes cannot be read as sections.
      if (!pSection->AppendRecord(ar)) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    }
  } catch (...) {
    EndRun();
    throw;
  }
  EndRun();
}
