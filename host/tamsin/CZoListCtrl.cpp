// CZoListCtrl: creation, and finding and selecting items by name.
#include "tamsin/CZoListCtrl.h"

BEGIN_MESSAGE_MAP(CZoListCtrl, CListCtrl)
END_MESSAGE_MAP()

CZoListCtrl::CZoListCtrl(bool bFullRowSelect, DWORD dwExStyle)
    : m_bFullRowSelect(bFullRowSelect), m_dwExStyle(dwExStyle) {}

BOOL CZoListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!CListCtrl::Create(dwStyle, rect, pParentWnd, nID)) return FALSE;
  SetExtendedStyle(m_dwExStyle | (m_bFullRowSelect ? LVS_EX_FULLROWSELECT : 0));
  InsertListColumns();
  InsertListData();
  return TRUE;
}

void CZoListCtrl::InsertListColumns() { InsertColumn(0, "Name", LVCFMT_LEFT, 160); }

void CZoListCtrl::InsertListData() {}

int CZoListCtrl::FindItemByName(CString strName, bool bPrefix, int nStart) {
  if (m_hWnd == nullptr || strName.IsEmpty()) return -1;
  int nCount = GetItemCount();
  for (int nItem = nStart < 0 ? 0 : nStart + 1; nItem < nCount; ++nItem) {
    CString strText = GetItemText(nItem, 0);
    if (bPrefix) strText = strText.Left(strName.GetLength());
    if (strText.CompareNoCase(strName) == 0) return nItem;
  }
  return -1;
}

void CZoListCtrl::SelectItemByIndex(int nIndex, bool bSelect, bool bFocus, bool bEnsureVisible) {
  if (m_hWnd == nullptr || nIndex < 0 || nIndex >= GetItemCount()) return;
  if (bSelect) {
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(nIndex, LVIS_SELECTED, LVIS_SELECTED);
    SetSelectionMark(nIndex);
  }
  if (bFocus) SetItemState(nIndex, LVIS_FOCUSED, LVIS_FOCUSED);
  if (bEnsureVisible) EnsureVisible(nIndex, FALSE);
}
