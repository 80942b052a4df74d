// Relations between windows: parents, owners, siblings and children.
#include <algorithm>

#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

// The sibling list a window belongs to.
const std::vector<HWND>* Siblings(const CSimWindow& wnd) {
  if (!wnd.IsChild()) return &Table().m_topLevel;
  CSimWindow* pParent = Table().Find(wnd.hParent);
  return pParent != nullptr ? &pParent->children : nullptr;
}

}  // namespace

HWND WINAPI GetParent(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  if (pWnd->IsChild()) return pWnd->hParent;
  return (pWnd->dwStyle & WS_POPUP) != 0 ? pWnd->hOwner : nullptr;
}

HWND WINAPI GetAncestor(HWND hWnd, UINT gaFlags) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  switch (gaFlags) {
    case GA_PARENT:
      return pWnd->IsChild() ? pWnd->hParent : nullptr;
    case GA_ROOT:
      return t.Root(hWnd);
    case GA_ROOTOWNER: {
      HWND hRoot = t.Root(hWnd);
      for (CSimWindow* p = t.Find(hRoot); p != nullptr && p->hOwner != nullptr; p = t.Find(p->hOwner))
        hRoot = p->hOwner;
      return hRoot;
    }
    default:
      return nullptr;
  }
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  if (pWnd == nullptr) return nullptr;
  if (uCmd == GW_OWNER) return pWnd->IsChild() ? nullptr : pWnd->hOwner;
  if (uCmd == GW_CHILD) return pWnd->children.empty() ? nullptr : pWnd->children.front();
  const std::vector<HWND>* pSiblings = Siblings(*pWnd);
  if (pSiblings == nullptr || pSiblings->empty()) return nullptr;
  auto it = std::find(pSiblings->begin(), pSiblings->end(), hWnd);
  switch (uCmd) {
    case GW_HWNDFIRST:
      return pSiblings->front();
    case GW_HWNDLAST:
      return pSiblings->back();
    case GW_HWNDNEXT:
      return (it == pSiblings->end() || it + 1 == pSiblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
      return (it == pSiblings->end() || it == pSiblings->begin()) ? nullptr : *(it - 1);
    default:
      return nullptr;
  }
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hWnd);
  if (pWnd == nullptr || !pWnd->IsChild() || t.Find(hWndParent) == nullptr) return FALSE;
  return t.IsSelfOrDescendant(pWnd->hParent, hWndParent) ? TRUE : FALSE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  CSimWindowTable& t = Table();
  CSimWindow* pWnd = t.Find(hDlg);
  if (pWnd == nullptr) return nullptr;
  for (HWND hChild : pWnd->children) {
    CSimWindow* pChild = t.Find(hChild);
    if (pChild != nullptr && pChild->nID == nIDDlgItem) return hChild;
  }
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  CSimWindow* pWnd = Table().Find(hWnd);
  return pWnd != nullptr && pWnd->IsChild() ? pWnd->nID : 0;
}
