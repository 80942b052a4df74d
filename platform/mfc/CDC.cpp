// CDC and CClientDC: device context objects.
#include "CDC.h"

#include <cstring>

#include "AfxHandleMap.h"
#include "CWnd.h"

namespace {
typedef CHandleMap<CDC, HDC, &CDC::m_hDC> CDCMap;
CDCMap& Map() { return CDCMap::Get(); }
}  // namespace

CDC::~CDC() {
  // Only memory contexts are deleted; DeleteDC refuses window contexts.
  if (m_hDC != nullptr) ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr || m_hDC != nullptr) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

CDC* CDC::FromHandle(HDC hDC) {
  CDC* pDC = Map().FromHandle(hDC);
  if (pDC != nullptr) pDC->m_hAttribDC = hDC;
  return pDC;
}

void CDC::DeleteTempMap() { Map().DeleteTemp(); }

void CDC::DeleteTempHandle(HDC hDC) { Map().DeleteTemp(hDC); }

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  if (m_hDC != nullptr) return FALSE;
  return Attach(::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

CFont* CDC::SelectObject(CFont* pFont) {
  if (pFont == nullptr) return nullptr;
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject)));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

HGDIOBJ CDC::SelectStockObject(int nIndex) { return ::SelectObject(m_hDC, ::GetStockObject(nIndex)); }

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hAttribDC, lpMetrics); }

SIZE CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
  return size;
}

SIZE CDC::GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  return ::TextOut(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }

COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }

COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }

int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }

void CDC::FillSolidRect(const RECT* lpRect, COLORREF clr) {
  HBRUSH hBrush = ::CreateSolidBrush(clr);
  ::FillRect(m_hDC, lpRect, hBrush);
  ::DeleteObject(hBrush);
}

CClientDC::CClientDC(CWnd* pWnd) {
  m_hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
  Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
  if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, Detach());
}
