// Device contexts: creation and release, capabilities, selected objects,
// text measuring and the record of drawn text.
#include <cstdlib>
#include <cstring>

#include "Win32Gdi.h"
#include "internal/WinGdiTable.h"
#include "internal/WinHandles.h"
#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimGdiTable& Gdi() { return CSimGdiTable::Get(); }

// The font selected into a context (the system font when it is gone).
LOGFONT SelectedFont(const CSimDC& dc) {
  CSimGdiObject* pFont = Gdi().FindObject(dc.hFont);
  if (pFont == nullptr || pFont->eKind != ESimGdiKind::Font) pFont = Gdi().FindObject(GetStockObject(SYSTEM_FONT));
  return pFont != nullptr ? pFont->lf : LOGFONT{};
}

// Cell height and character width of the fixed-pitch model.
void FontCell(const LOGFONT& lf, int* pnHeight, int* pnWidth) {
  int nHeight = lf.lfHeight != 0 ? std::abs(lf.lfHeight) : 16;
  *pnHeight = nHeight;
  *pnWidth = lf.lfWidth > 0 ? lf.lfWidth : (nHeight + 1) / 2;
}

// Sets one colour of the context and returns the one it replaces;
// CLR_INVALID for an unknown context.
COLORREF ReplaceColor(HDC hdc, COLORREF CSimDC::*pmColor, COLORREF color) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr) return CLR_INVALID;
  COLORREF old = pDC->*pmColor;
  pDC->*pmColor = color;
  return old;
}

}  // namespace

CSimDC* CSimGdiTable::FindDC(HDC h) {
  auto it = m_dcs.find(h);
  return it == m_dcs.end() ? nullptr : &it->second;
}

HDC CSimGdiTable::NewDC(HWND hWnd, bool bFromGetDC) {
  HDC h = SimNewHandle<HDC>();
  CSimDC dc;
  dc.hWnd = hWnd;
  dc.bFromGetDC = bFromGetDC;
  dc.hFont = GetStockObject(SYSTEM_FONT);
  dc.hBrush = GetStockObject(WHITE_BRUSH);
  m_dcs[h] = dc;
  return h;
}

void CSimGdiTable::RemoveDC(HDC h) {
  CSimDC* pDC = FindDC(h);
  if (pDC == nullptr) return;
  for (HGDIOBJ hObject : {pDC->hFont, pDC->hBrush})
    if (CSimGdiObject* pObject = FindObject(hObject)) --pObject->nSelected;
  m_dcs.erase(h);
}

HDC WINAPI GetDC(HWND hWnd) {
  if (hWnd != nullptr && !IsWindow(hWnd)) return nullptr;
  return Gdi().NewDC(hWnd, true);
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  CSimDC* pDC = Gdi().FindDC(hDC);
  if (pDC == nullptr || !pDC->bFromGetDC) return 0;
  (void)hWnd;  // Win32 ignores a mismatched window for common contexts
  Gdi().RemoveDC(hDC);
  return 1;
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc != nullptr && Gdi().FindDC(hdc) == nullptr) return nullptr;
  return Gdi().NewDC(nullptr, false);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || pDC->bFromGetDC) return FALSE;
  Gdi().RemoveDC(hdc);
  return TRUE;
}

HWND WINAPI WindowFromDC(HDC hDC) {
  CSimDC* pDC = Gdi().FindDC(hDC);
  return pDC != nullptr ? pDC->hWnd : nullptr;
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (Gdi().FindDC(hdc) == nullptr) return 0;
  CSimWindowTable& t = CSimWindowTable::Get();
  switch (index) {
    case LOGPIXELSX:
      return t.m_nLogPixelsX;
    case LOGPIXELSY:
      return t.m_nLogPixelsY;
    case HORZRES:
      return t.m_screen.cx;
    case VERTRES:
      return t.m_screen.cy;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    default:
      return 0;
  }
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  CSimGdiObject* pObject = Gdi().FindObject(h);
  if (pDC == nullptr || pObject == nullptr || pObject->eKind == ESimGdiKind::Pen) return nullptr;
  HGDIOBJ* pSlot = pObject->eKind == ESimGdiKind::Font ? &pDC->hFont : &pDC->hBrush;
  HGDIOBJ hOld = *pSlot;
  if (CSimGdiObject* pOld = Gdi().FindObject(hOld)) --pOld->nSelected;
  *pSlot = h;
  ++pObject->nSelected;
  return hOld;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || type != OBJ_FONT) return nullptr;
  return pDC->hFont;
}

BOOL WINAPI GetTextMetrics(HDC hdc, LPTEXTMETRIC lptm) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || lptm == nullptr) return FALSE;
  LOGFONT lf = SelectedFont(*pDC);
  int nHeight = 0;
  int nWidth = 0;
  FontCell(lf, &nHeight, &nWidth);
  *lptm = TEXTMETRIC{};
  lptm->tmHeight = nHeight;
  lptm->tmAscent = nHeight * 4 / 5;
  lptm->tmDescent = nHeight - lptm->tmAscent;
  lptm->tmAveCharWidth = nWidth;
  lptm->tmMaxCharWidth = nWidth;
  lptm->tmWeight = lf.lfWeight;
  lptm->tmDigitizedAspectX = GetDeviceCaps(hdc, LOGPIXELSX);
  lptm->tmDigitizedAspectY = GetDeviceCaps(hdc, LOGPIXELSY);
  lptm->tmFirstChar = 0x20;
  lptm->tmLastChar = 0xFF;
  lptm->tmDefaultChar = '?';
  lptm->tmBreakChar = ' ';
  lptm->tmItalic = lf.lfItalic;
  lptm->tmUnderlined = lf.lfUnderline;
  lptm->tmStruckOut = lf.lfStrikeOut;
  lptm->tmPitchAndFamily = lf.lfPitchAndFamily;
  lptm->tmCharSet = lf.lfCharSet;
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32(HDC hdc, LPCSTR lpString, int c, SIZE* psizl) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || psizl == nullptr || c < 0 || (lpString == nullptr && c > 0)) return FALSE;
  int nHeight = 0;
  int nWidth = 0;
  FontCell(SelectedFont(*pDC), &nHeight, &nWidth);
  psizl->cx = nWidth * c;
  psizl->cy = nHeight;
  return TRUE;
}

BOOL WINAPI TextOut(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || c < 0 || (lpString == nullptr && c > 0)) return FALSE;
  if (pDC->hWnd != nullptr && IsWindow(pDC->hWnd))
    CSimWindowTable::Get().m_drawn[pDC->hWnd].push_back(
        CSimDrawnText{x, y, std::string(lpString != nullptr ? lpString : "", static_cast<size_t>(c))});
  return TRUE;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) { return ReplaceColor(hdc, &CSimDC::textColor, color); }

COLORREF WINAPI GetTextColor(HDC hdc) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  return pDC != nullptr ? pDC->textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) { return ReplaceColor(hdc, &CSimDC::bkColor, color); }

int WINAPI SetBkMode(HDC hdc, int mode) {
  CSimDC* pDC = Gdi().FindDC(hdc);
  if (pDC == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = pDC->nBkMode;
  pDC->nBkMode = mode;
  return old;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  CSimGdiObject* pBrush = Gdi().FindObject(hbr);
  if (Gdi().FindDC(hDC) == nullptr || lprc == nullptr || pBrush == nullptr || pBrush->eKind != ESimGdiKind::Brush)
    return FALSE;
  return TRUE;
}
