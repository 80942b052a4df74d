// CDirLoc: location names and their directories.
#include "darnel2/CDirLoc.h"

#include "CrtMbString.h"

bool CDirLoc::CNameLess::operator()(const CString& a, const CString& b) const {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(a)),
                  reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(b))) < 0;
}

void CDirLoc::SetLocation(const CString& strName, const CString& strDirectory) {
  m_mapLocations[strName] = strDirectory;
}

bool CDirLoc::RemoveLocation(const CString& strName) { return m_mapLocations.erase(strName) > 0; }

CPathEx CDirLoc::Lookup(CString strName, int nFlags, bool bCreate, platform_info* pPlatform, int nReserved) {
  (void)nFlags;
  (void)bCreate;
  (void)pPlatform;
  (void)nReserved;
  auto it = m_mapLocations.find(strName);
  return it == m_mapLocations.end() ? CPathEx() : CPathEx(it->second);
}
