// CIniFile: typed values (text, numbers, flags) and the existence tests.
#include "ini/CIniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "CrtMbString.h"

namespace {

// The text written for true, and the first text read as true.
const char kYes[] = "Yes";
const char kNo[] = "No";

inline const unsigned char* U(LPCTSTR psz) { return reinterpret_cast<const unsigned char*>(psz); }

// atoi's reading (white space, optional sign, decimal digits), with digits
// beyond the int range held at INT_MIN or INT_MAX instead of wrapping.
int ToInt(LPCTSTR pszText) {
  const long long nValue = std::strtoll(pszText, nullptr, 10);
  if (nValue > INT_MAX) return INT_MAX;
  if (nValue < INT_MIN) return INT_MIN;
  return static_cast<int>(nValue);
}

}  // namespace

bool CIniFile::SectionExists(CString strSection) { return Exists(strSection); }

bool CIniFile::KeyExists(CString strSection, CString strKey) {
  if (!SectionExists(strSection)) return false;
  const CItem* pSection = Find(strSection);
  return pSection != nullptr && pSection->second.Exists(strKey);
}

const CString* CIniFile::ExistingValue(const CString& strSection, const CString& strKey) const {
  const CItem* pSection = Find(strSection);
  if (pSection == nullptr) return nullptr;
  const CIniFileSection::CItem* pEntry = pSection->second.Find(strKey);
  return pEntry == nullptr ? nullptr : &pEntry->second;
}

CString& CIniFile::ValueForWriting(const CString& strSection, const CString& strKey) {
  CIniFileSection& section = FindOrAdd(CItem(strSection, CIniFileSection())).second;
  return section.FindOrAdd(CIniFileSection::CItem(strKey, CString())).second;
}

CString CIniFile::GetString(CString strSection, CString strKey, CString strDefault) {
  const CString* pValue = KeyExists(strSection, strKey) ? ExistingValue(strSection, strKey) : nullptr;
  return pValue == nullptr ? strDefault : *pValue;
}

int CIniFile::GetInt(CString strSection, CString strKey, int nDefault) {
  const CString* pValue = KeyExists(strSection, strKey) ? ExistingValue(strSection, strKey) : nullptr;
  return pValue == nullptr ? nDefault : ToInt(*pValue);
}

bool CIniFile::GetBool(CString strSection, CString strKey, bool bDefault) {
  const CString* pValue = KeyExists(strSection, strKey) ? ExistingValue(strSection, strKey) : nullptr;
  if (pValue == nullptr) return bDefault;
  for (LPCTSTR pszTrue : {kYes, "1", "True"})
    if (_mbsicmp(U(*pValue), U(pszTrue)) == 0) return true;
  return false;
}

void CIniFile::SetString(CString strSection, CString strKey, CString strValue) {
  // The value is text: it ends at its first zero byte.
  ValueForWriting(strSection, strKey) = static_cast<LPCTSTR>(strValue);
  SetModified(true);
}

void CIniFile::SetInt(CString strSection, CString strKey, int nValue) {
  CString strText;
  strText.Format("%d", nValue);
  ValueForWriting(strSection, strKey) = strText;
  SetModified(true);
}

void CIniFile::SetBool(CString strSection, CString strKey, bool bValue) {
  ValueForWriting(strSection, strKey) = bValue ? kYes : kNo;
  SetModified(true);
}

void CIniFile::WriteSection(CString strSection, const CIniFileSection& source) {
  // Adding the target section may move every section of this document, the
  // source among them when it belongs here: work from a copy of its entries.
  const std::vector<CIniFileSection::CItem> entries(source.begin(), source.end());
  for (const CIniFileSection::CItem& entry : entries) SetString(strSection, entry.first, entry.second);
}
