// CZoListCtrl: the host's list control: a list view that fills itself
// through two virtual steps and finds and selects items by name.
#pragma once

#include "CListCtrl.h"

class CZoListCtrl : public CListCtrl {
 public:
  // bFullRowSelect and dwExStyle are the list view's extended style
  // (LVS_EX_FULLROWSELECT added for the flag), applied when this object
  // creates its window. No window is created here.
  CZoListCtrl(bool bFullRowSelect, DWORD dwExStyle);
  ~CZoListCtrl() override = default;

  using CListCtrl::Create;
  // Creates the list view, applies the extended style, then calls
  // InsertListColumns and InsertListData. TRUE on success; FALSE (and
  // neither step runs) when the window cannot be created.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

  // Inserts the columns of a report view; here one column, "Name".
  virtual void InsertListColumns();
  // Inserts the items; here none. Derived lists supply their data.
  virtual void InsertListData();

  // The index of the first item after nStart (-1: from the first item)
  // whose text is strName ignoring case, or that begins with strName
  // ignoring case when bPrefix is true; -1 when none matches, when no
  // window is attached, or for an empty strName.
  int FindItemByName(CString strName, bool bPrefix, int nStart);
  // For an existing item: bSelect makes it the only selected item and the
  // selection mark, bFocus gives it the focus state, bEnsureVisible scrolls
  // it into view. An index that names no item changes nothing.
  void SelectItemByIndex(int nIndex, bool bSelect, bool bFocus, bool bEnsureVisible);

 protected:
  bool m_bFullRowSelect;
  DWORD m_dwExStyle;

  DECLARE_MESSAGE_MAP()
};
