// Standard icons on Windows: a small rounded tile with a letter, blue "f"
// for a built-in function and green "u" for one of the project's scripts.
#include "tamsin/StandardIcons.h"

#include "tamsin/CImageListEx.h"

namespace {

// The colour bitmap of the tile, drawn in a memory context.
HBITMAP DrawTile(HDC hScreen, int cx, int cy, COLORREF crTile, char chLetter) {
  HDC hDC = CreateCompatibleDC(hScreen);
  HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
  HGDIOBJ hOldBitmap = SelectObject(hDC, hBitmap);
  RECT rc = {0, 0, cx, cy};
  FillRect(hDC, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH hTile = CreateSolidBrush(crTile);
  HGDIOBJ hOldBrush = SelectObject(hDC, hTile);
  HGDIOBJ hOldPen = SelectObject(hDC, GetStockObject(NULL_PEN));
  RoundRect(hDC, 1, 1, cx, cy, 5, 5);
  SelectObject(hDC, hOldPen);
  SelectObject(hDC, hOldBrush);
  DeleteObject(hTile);
  SetBkMode(hDC, TRANSPARENT);
  SetTextColor(hDC, RGB(255, 255, 255));
  HGDIOBJ hOldFont = SelectObject(hDC, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(hDC, &chLetter, 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(hDC, hOldFont);
  SelectObject(hDC, hOldBitmap);
  DeleteDC(hDC);
  return hBitmap;
}

}  // namespace

HICON StandardIcon(int nId, int cx, int cy) {
  COLORREF crTile = 0;
  char chLetter = 0;
  if (nId == CImageListEx::kIdFunctionStd) {
    crTile = RGB(40, 90, 200);
    chLetter = 'f';
  } else if (nId == CImageListEx::kIdFunctionUser) {
    crTile = RGB(30, 150, 60);
    chLetter = 'u';
  } else {
    return nullptr;
  }
  static HICON s_hIcon = nullptr;  // the last icon handed out
  if (s_hIcon != nullptr) DestroyIcon(s_hIcon);
  HDC hScreen = GetDC(nullptr);
  HBITMAP hColor = DrawTile(hScreen, cx, cy, crTile, chLetter);
  ReleaseDC(nullptr, hScreen);
  HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, nullptr);  // all zero: every pixel opaque
  ICONINFO info = {TRUE, 0, 0, hMask, hColor};
  s_hIcon = CreateIconIndirect(&info);
  DeleteObject(hMask);
  DeleteObject(hColor);
  return s_hIcon;
}
