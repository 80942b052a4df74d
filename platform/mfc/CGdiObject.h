// CGdiObject: the framework's owner of one graphics object handle.
#pragma once

#include "CObject.h"
#include "Win32Gdi.h"

class CGdiObject : public CObject {
 public:
  CGdiObject() = default;
  // Deletes the object it holds (DeleteObject), as the framework does.
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;  // two owners would delete one handle twice
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  operator HGDIOBJ() const { return m_hObject; }  // NOLINT: as in MFC
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  // FALSE when hObject is null or this object already holds one.
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  // Deletes the held object; FALSE when there is none or deletion failed.
  BOOL DeleteObject();
  // Takes a stock object (never deleted); FALSE for an unknown index.
  BOOL CreateStockObject(int nIndex);
  // GetObject on the held handle.
  int GetObject(int nCount, LPVOID lpObject) const;
};
