// The standard catalogue: reading "funcwiz.ini".
#include "catalog/CZoFuncInfoStd.h"

#include "catalog/CFuncWizLines.h"
#include "darnel2/CDirLoc.h"
#include "ini/CIniFile.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CPathEx.h"

namespace {

const char kListSection[] = "FuncWiz - Category - All";
const char kFileName[] = "funcwiz.ini";

}  // namespace

bool CZoFuncInfoStd::Init(CProjectManagerObject* pManager) {
  if (!empty()) return true;
  if (pManager == nullptr) return false;
  TAG_GLOBAL_DATA* pGlobal = pManager->GetGlobalData();
  if (pGlobal == nullptr || pGlobal->pDirLoc == nullptr) return false;
  CPathEx path = pGlobal->pDirLoc->Lookup("Programs", 0, false, nullptr, 0) ^ kFileName;

  CIniFile document;  // released on every return below
  if (!document.Load(path, false)) return false;

  // Looking sections up with FindOrAdd may add to the document and move its
  // sections, so the list is walked over a copy.
  const CIniFileSection list = document.FindOrAdd(CIniFile::CItem(kListSection, CIniFileSection())).second;
  for (const CIniFileSection::CItem& entry : list) {
    const CString& strName = entry.second;
    CIniFileSection& section = document.FindOrAdd(CIniFile::CItem(strName, CIniFileSection())).second;
    const CString& strText = section.FindOrAdd(CIniFileSection::CItem(kFuncWizPrototypeKey, CString())).second;
    insert(value_type(strName, strText));
  }
  return true;
}
