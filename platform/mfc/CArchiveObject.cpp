// CArchive: object pointers and class tags.
#include <cstring>

#include "CArchive.h"

namespace {

const WORD kNullTag = 0x0000;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassTag = 0x80000000u;
const DWORD kMaxMapCount = 0x3FFFFFFE;  // indices must leave the tag bits free
const size_t kMaxClassName = 64;        // names this long or longer are refused

}  // namespace

void CArchive::CheckMapCount() const {
  if (m_nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  CheckStoring();
  auto it = m_storeMap.find(pClassRef);
  if (it != m_storeMap.end()) {
    if (it->second < kBigObjectTag) {
      WriteUnsigned(kClassTag | it->second, 2);
    } else {
      WriteUnsigned(kBigObjectTag, 2);
      WriteUnsigned(kBigClassTag | it->second, 4);
    }
    return;
  }
  size_t nNameLength = std::strlen(pClassRef->m_lpszClassName);
  if (pClassRef->m_wSchema == 0xFFFF || pClassRef->m_pfnCreateObject == nullptr || nNameLength >= kMaxClassName)
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  CheckMapCount();
  WriteUnsigned(kNewClassTag, 2);
  WriteUnsigned(pClassRef->m_wSchema & 0xFFFF, 2);  // the versionable bit is not stored
  WriteUnsigned(nNameLength, 2);
  WriteBytes(reinterpret_cast<const BYTE*>(pClassRef->m_lpszClassName), static_cast<UINT>(nNameLength));
  m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb) {
  CheckStoring();
  if (pOb == nullptr) {
    WriteUnsigned(kNullTag, 2);
    return;
  }
  auto it = m_storeMap.find(pOb);
  if (it != m_storeMap.end()) {
    if (it->second < kBigObjectTag) {
      WriteUnsigned(it->second, 2);
    } else {
      WriteUnsigned(kBigObjectTag, 2);
      WriteUnsigned(it->second, 4);
    }
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  CheckMapCount();
  // Entered before its data, so that references back to it while it is
  // written become indices.
  m_storeMap[pOb] = m_nMapCount++;
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  CheckLoading();
  WORD wTag = static_cast<WORD>(ReadUnsigned(2));
  DWORD obTag;
  if (wTag == kBigObjectTag)
    obTag = static_cast<DWORD>(ReadUnsigned(4));
  else
    obTag = (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & ~kClassTag);
  if ((obTag & kBigClassTag) == 0) {
    if (pObTag != nullptr) *pObTag = obTag;
    return nullptr;
  }

  CRuntimeClass* pClassRef;
  UINT nSchema;
  if (wTag == kNewClassTag) {
    WORD wSchema = static_cast<WORD>(ReadUnsigned(2));
    WORD nNameLength = static_cast<WORD>(ReadUnsigned(2));
    if (nNameLength >= kMaxClassName) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    char szName[kMaxClassName + 1];
    ReadBytes(reinterpret_cast<BYTE*>(szName), nNameLength);
    szName[nNameLength] = '\0';
    // A zero byte inside the name would make it match a shorter name.
    if (std::strlen(szName) != nNameLength) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    pClassRef = AfxFindRuntimeClass(szName);
    if (pClassRef == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    bool bVersionable = (pClassRef->m_wSchema & VERSIONABLE_SCHEMA) != 0;
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != wSchema && !bVersionable)
      AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
    nSchema = bVersionable ? wSchema : static_cast<UINT>(-1);
    CheckMapCount();
    m_loadArray.push_back({kClass, pClassRef, nSchema});
    ++m_nMapCount;
  } else {
    DWORD nClassIndex = obTag & ~kBigClassTag;
    if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || m_loadArray[nClassIndex].nKind != kClass)
      AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    const CLoadEntry& entry = m_loadArray[nClassIndex];
    pClassRef = const_cast<CRuntimeClass*>(static_cast<const CRuntimeClass*>(entry.pEntry));
    nSchema = entry.nSchema;
  }
  if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (pSchema != nullptr) *pSchema = nSchema;
  if (pObTag != nullptr) *pObTag = 0;
  return pClassRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  CheckLoading();
  UINT nSchema = static_cast<UINT>(-1);
  DWORD obTag = 0;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
  if (pClassRef == nullptr) {
    if (obTag >= m_loadArray.size()) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    const CLoadEntry& entry = m_loadArray[obTag];
    if (entry.nKind == kNull) return nullptr;
    if (entry.nKind != kObject) AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    CObject* pOb = const_cast<CObject*>(static_cast<const CObject*>(entry.pEntry));
    if (pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
      AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    return pOb;
  }

  CObject* pOb = pClassRef->CreateObject();
  if (pOb == nullptr) AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  if (pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested)) {
    delete pOb;
    AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
  }
  try {
    CheckMapCount();
  } catch (...) {
    delete pOb;
    throw;
  }
  size_t nIndex = m_loadArray.size();
  // Entered before its data, so that references back to it can be read.
  m_loadArray.push_back({kObject, pOb, 0});
  ++m_nMapCount;
  UINT nSchemaSave = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    // The object was never handed out: delete it. It and the objects read
    // inside it (which it may own) can no longer be referred to.
    for (size_t i = nIndex; i < m_loadArray.size(); ++i)
      if (m_loadArray[i].nKind == kObject) m_loadArray[i] = {kDead, nullptr, 0};
    m_nObjectSchema = nSchemaSave;
    delete pOb;
    throw;
  }
  m_nObjectSchema = nSchemaSave;
  return pOb;
}

void CArchive::MapObject(const CObject* pOb) {
  CheckMapCount();
  if (IsStoring()) {
    if (m_storeMap.emplace(pOb, m_nMapCount).second) ++m_nMapCount;
  } else {
    m_loadArray.push_back({pOb != nullptr ? kObject : kNull, pOb, 0});
    ++m_nMapCount;
  }
}

UINT CArchive::GetObjectSchema() {
  UINT nResult = m_nObjectSchema;
  m_nObjectSchema = static_cast<UINT>(-1);
  return nResult;
}
