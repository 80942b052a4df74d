// CZoToolTipStaticFunc: the function tip window, a small popup that shows a
// function's prototype and marks the parameter the caret is in.
//
// Layout uses the owner window's font (WM_GETFONT; the system font when it has
// none) as a fixed-pitch cell: the window is exactly the text's cells wide and
// one cell high, plus kPadding pixels on every side. Painting draws the text
// in three runs (before, inside and after the marked parameter), so the marked
// range is what a drawing tool sees as the middle run.
#pragma once

#include <utility>
#include <vector>

#include "CString.h"
#include "CWnd.h"

class CZoToolTipStaticFunc : public CWnd {
 public:
  static const int kPadding = 2;  // pixels between the border and the text

  // No window until CreateTip.
  CZoToolTipStaticFunc() = default;
  // The window, if open, is destroyed with the object (CWnd's destructor).
  ~CZoToolTipStaticFunc() override = default;
  CZoToolTipStaticFunc(const CZoToolTipStaticFunc&) = delete;  // owns a window
  CZoToolTipStaticFunc& operator=(const CZoToolTipStaticFunc&) = delete;

  // Opens the tip with strText, its top-left corner at the screen point pt,
  // owned by pOwner (may be null), and no parameter marked. A tip already
  // open is closed first. The window is shown activated, as a popup shown
  // normally is, so it takes the keyboard focus from the owner; the caller
  // gives the focus back. nFlags is reserved and ignored. TRUE when the
  // window exists afterwards; FALSE (no window) when the window system
  // refused it.
  virtual BOOL CreateTip(CString strText, const POINT& pt, CWnd* pOwner, int nFlags);

  // Marks parameter nParam (zero-based) of the prototype: the text between
  // the first "(" and its matching ")" (or the end of the text), split at
  // the commas outside nested brackets and quotes, each part trimmed of
  // blanks. An index without such a parameter (negative, beyond the last, or
  // a text without "(") marks nothing. Repaints only when the mark changed.
  // Works with or without a window.
  virtual void SetCurrentParam(int nParam);

  // The parameters that SetCurrentParam marks, in order: for each, the byte
  // range [first, end) of strText, trimmed of blanks (empty, first == end,
  // for a parameter of blanks only). No element for a text without "(".
  static std::vector<std::pair<int, int>> ParameterRanges(const CString& strText);

  // Closes the tip on WM_KEYDOWN with VK_ESCAPE while it is open; every
  // other message is left alone. pMsg may be null (ignored).
  virtual void RelayEvent(MSG* pMsg);

  // The index last given to SetCurrentParam since CreateTip; -1 before.
  int GetCurrentParam() const { return m_nCurrentParam; }
  // The marked byte range of the text: true with its first byte and length,
  // or false with first -1 and count 0 when nothing is marked.
  bool GetMarkedRange(int& nFirst, int& nCount) const;
  // The text given to the last CreateTip (kept after the tip closes).
  const CString& GetText() const { return m_strText; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();

 private:
  CString m_strText;
  HFONT m_hFont = nullptr;  // the owner's font when the tip was created, not owned
  int m_nCurrentParam = -1;
  int m_nMarkFirst = -1;  // byte index into m_strText
  int m_nMarkCount = 0;   // bytes
};
