// CZoFuncInfo: the catalogue base.
#include "catalog/CZoFuncInfo.h"

CZoFuncInfo::CZoFuncInfo() = default;

CZoFuncInfo::CZoFuncInfo(const CZoFuncInfo& other) = default;

CZoFuncInfo& CZoFuncInfo::operator=(const CZoFuncInfo& other) {
  if (this != &other) std::map<CString, CString>::operator=(other);
  return *this;
}

CZoFuncInfo::~CZoFuncInfo() = default;

bool CZoFuncInfo::Init(CProjectManagerObject* pManager) {
  (void)pManager;
  return false;
}
