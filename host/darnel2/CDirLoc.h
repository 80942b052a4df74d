// CDirLoc: the host's directory locator, which maps location names such as
// "Programs" to the directories the host has configured for them.
#pragma once

#include <map>

#include "CString.h"
#include "tamsin/CPathEx.h"

struct platform_info;

class CDirLoc {
 public:
  // Sets (or replaces) the directory of a location. Names match ignoring
  // the case of ASCII letters, as directory names do on the host.
  void SetLocation(const CString& strName, const CString& strDirectory);
  // Forgets a location; false when it was not configured.
  bool RemoveLocation(const CString& strName);

  // The directory configured for strName, or an empty path when the name is
  // unknown. The further arguments (flags, whether to create the directory,
  // the target platform and a reserved value) select variants that this
  // locator does not have; they are accepted and ignored.
  CPathEx Lookup(CString strName, int nFlags, bool bCreate, platform_info* pPlatform, int nReserved);

 private:
  struct CNameLess {
    bool operator()(const CString& a, const CString& b) const;
  };
  std::map<CString, CString, CNameLess> m_mapLocations;  // location name -> directory
};
