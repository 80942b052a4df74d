// CCodeMaxCtrl: the window object through which the controller addresses a
// CodeMax editor window.
#pragma once

#include "CWnd.h"

// Adds no data and keeps every virtual operation of CWnd; its run-time class
// and message map are CWnd's. The controller only ever writes a borrowed
// handle into m_hWnd (and clears it again); it never calls Create.
class CCodeMaxCtrl : public CWnd {
 public:
  CCodeMaxCtrl() = default;
  CCodeMaxCtrl(const CCodeMaxCtrl&) = delete;  // a window object is never copied
  CCodeMaxCtrl& operator=(const CCodeMaxCtrl&) = delete;

  // Creates a new editor window of class "CodeMax" with an empty name and no
  // creation context; the result of CWnd::Create.
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  using CWnd::Create;
};
