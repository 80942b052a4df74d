// CObject, run-time class records and the class list.
#include "CObject.h"

#include <cstring>

#include "AfxModuleState.h"
#include "CDynLinkLibrary.h"

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

void CObject::Serialize(CArchive& ar) { (void)ar; }

bool CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

bool CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

CObject* CRuntimeClass::CreateObject() {
  if (m_pfnCreateObject == nullptr) return nullptr;
  return (*m_pfnCreateObject)();
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass)
    if (p == pBaseClass) return true;
  return false;
}

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass) {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  pNewClass->m_pNextClass = state->m_pClassList;
  state->m_pClassList = pNewClass;
}

CRuntimeClass* AFXAPI AfxFindRuntimeClass(LPCSTR pszClassName) {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  for (CRuntimeClass* p = state->m_pClassList; p != nullptr; p = p->m_pNextClass)
    if (std::strcmp(p->m_lpszClassName, pszClassName) == 0) return p;
  for (CDynLinkLibrary* dll = state->m_pLibraryList; dll != nullptr; dll = dll->m_pNextDLL)
    for (CRuntimeClass* p = dll->m_pClassList; p != nullptr; p = p->m_pNextClass)
      if (std::strcmp(p->m_lpszClassName, pszClassName) == 0) return p;
  return nullptr;
}
