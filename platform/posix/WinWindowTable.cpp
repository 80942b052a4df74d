// State of the in-process window system: lookups over the window table.
#include "internal/WinWindowTable.h"

#include <strings.h>

bool CSimNoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}

CSimWindowTable& CSimWindowTable::Get() {
  // Never destroyed: windows may still be destroyed by static destructors
  // of other libraries at exit, and must find the table then.
  static CSimWindowTable* s_pTable = new CSimWindowTable;
  return *s_pTable;
}

CSimWindow* CSimWindowTable::Find(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  auto it = m_windows.find(hWnd);
  return it == m_windows.end() ? nullptr : it->second.get();
}

CSimClass* CSimWindowTable::FindClass(LPCSTR pszName) {
  if (pszName == nullptr) return nullptr;
  auto it = m_classes.find(pszName);
  return it == m_classes.end() ? nullptr : &it->second;
}

POINT CSimWindowTable::ClientOrigin(const CSimWindow& wnd) {
  POINT pt = {wnd.x, wnd.y};
  for (const CSimWindow* p = &wnd; p->IsChild();) {
    p = Find(p->hParent);
    if (p == nullptr) break;
    pt.x += p->x;
    pt.y += p->y;
  }
  return pt;
}

HWND CSimWindowTable::Root(HWND hWnd) {
  CSimWindow* p = Find(hWnd);
  while (p != nullptr && p->IsChild()) {
    CSimWindow* pParent = Find(p->hParent);
    if (pParent == nullptr) break;
    p = pParent;
  }
  return p == nullptr ? nullptr : p->hWnd;
}

bool CSimWindowTable::IsSelfOrDescendant(HWND hWnd, HWND hAncestor) {
  for (CSimWindow* p = Find(hWnd); p != nullptr; p = p->IsChild() ? Find(p->hParent) : nullptr)
    if (p->hWnd == hAncestor) return true;
  return false;
}

void CSimWindowTable::ResetDesktop() {
  m_screen = {1024, 768};
  m_workArea = {0, 0, 1024, 728};
  m_nLogPixelsX = 96;
  m_nLogPixelsY = 96;
}
