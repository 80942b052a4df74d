// CDC and CClientDC: the framework's device context objects.
#pragma once

#include "CFont.h"
#include "CObject.h"
#include "CString.h"
#include "Win32Gdi.h"

class CWnd;

class CDC : public CObject {
 public:
  CDC() = default;
  // Deletes a context made by CreateCompatibleDC; other contexts must be
  // released or detached by their owner first.
  ~CDC() override;
  CDC(const CDC&) = delete;  // owns a device context
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;

  operator HDC() const { return m_hDC; }  // NOLINT: as in MFC
  HDC GetSafeHdc() const { return m_hDC; }

  BOOL Attach(HDC hDC);
  HDC Detach();
  // A temporary object wrapping hDC (kept until the context is released
  // through CWnd::ReleaseDC or DeleteTempMap); null for null.
  static CDC* FromHandle(HDC hDC);
  static void DeleteTempMap();
  // Forgets the temporary object of hDC, if any.
  static void DeleteTempHandle(HDC hDC);

  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();

  // GetDeviceCaps of the context; 0 when there is none.
  int GetDeviceCaps(int nIndex) const;
  // Selects the font; the previously selected one (temporary object), or null.
  CFont* SelectObject(CFont* pFont);
  HGDIOBJ SelectObject(HGDIOBJ hObject);
  HGDIOBJ SelectStockObject(int nIndex);
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
  SIZE GetTextExtent(LPCTSTR lpszString, int nCount) const;
  SIZE GetTextExtent(const CString& str) const;
  BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
  BOOL TextOut(int x, int y, const CString& str);
  COLORREF SetTextColor(COLORREF crColor);
  COLORREF SetBkColor(COLORREF crColor);
  int SetBkMode(int nBkMode);
  void FillSolidRect(const RECT* lpRect, COLORREF clr);
};

// The client-area context of a window for the object's lifetime. A window
// object without a window gives the screen's context, as GetDC(null) does;
// a handle that is no window gives no context (m_hDC null, every query 0).
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd = nullptr;
};
