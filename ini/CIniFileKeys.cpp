// CIniFile: key lists, renaming and removal of sections and keys.
#include "ini/CIniFile.h"

void CIniFile::GetKeys(CString strSection, CStringArray& array) {
  FindOrAdd(CItem(strSection, CIniFileSection())).second.GetKeys(array);
}

void CIniFile::GetKeys(CString strSection, CStringList& list) {
  FindOrAdd(CItem(strSection, CIniFileSection())).second.GetKeys(list);
}

bool CIniFile::RenameSection(CString strOld, CString strNew) {
  if (!CNoCaseLess()(strOld, strNew) && !CNoCaseLess()(strNew, strOld)) return true;
  if (SectionExists(strNew)) return false;
  return Rename(strOld, strNew);
}

bool CIniFile::RenameKey(CString strSection, CString strOld, CString strNew) {
  CItem* pSection = SectionExists(strSection) ? Find(strSection) : nullptr;
  return pSection != nullptr && pSection->second.Rename(strOld, strNew);
}

bool CIniFile::RemoveSection(CString strSection) { return Remove(strSection); }

bool CIniFile::RemoveKey(CString strSection, CString strKey) {
  CItem* pSection = SectionExists(strSection) ? Find(strSection) : nullptr;
  return pSection != nullptr && pSection->second.Remove(strKey);
}

bool CIniFile::RemoveAllKeys(CString strSection) {
  CItem* pSection = Find(strSection);
  if (pSection == nullptr) return false;
  pSection->second.RemoveAll();
  return true;
}
