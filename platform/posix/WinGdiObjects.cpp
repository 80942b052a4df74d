// Graphics objects: fonts, brushes, pens and the stock objects.
#include <algorithm>
#include <cstring>

#include "Win32Gdi.h"
#include "internal/WinGdiTable.h"
#include "internal/WinHandles.h"

namespace {

HGDIOBJ NewObject(const CSimGdiObject& object) {
  HGDIOBJ h = SimNewHandle<HGDIOBJ>();
  CSimGdiTable::Get().m_objects[h] = object;
  return h;
}

LOGFONT StockFont(int nIndex) {
  LOGFONT lf = {};
  lf.lfHeight = 16;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  bool bFixed = nIndex == OEM_FIXED_FONT || nIndex == ANSI_FIXED_FONT || nIndex == SYSTEM_FIXED_FONT;
  lf.lfPitchAndFamily = bFixed ? (FIXED_PITCH | FF_MODERN) : VARIABLE_PITCH;
  const char* pszFace = bFixed ? "Courier" : "System";
  if (nIndex == DEFAULT_GUI_FONT) {
    lf.lfHeight = -11;
    pszFace = "MS Shell Dlg";
  }
  strncpy(lf.lfFaceName, pszFace, LF_FACESIZE - 1);
  return lf;
}

}  // namespace

CSimGdiTable& CSimGdiTable::Get() {
  static CSimGdiTable* s_pTable = new CSimGdiTable;  // outlives every static destructor
  return *s_pTable;
}

CSimGdiObject* CSimGdiTable::FindObject(HGDIOBJ h) {
  auto it = m_objects.find(h);
  return it == m_objects.end() ? nullptr : &it->second;
}

HFONT WINAPI CreateFontIndirect(const LOGFONT* lpLogFont) {
  if (lpLogFont == nullptr) return nullptr;
  CSimGdiObject font;
  font.eKind = ESimGdiKind::Font;
  font.lf = *lpLogFont;
  font.lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(NewObject(font));
}

HFONT WINAPI CreateFont(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                        DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                        DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
  LOGFONT lf = {};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic);
  lf.lfUnderline = static_cast<BYTE>(bUnderline);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName != nullptr) strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  CSimGdiObject brush;
  brush.eKind = ESimGdiKind::Brush;
  brush.color = color;
  return static_cast<HBRUSH>(NewObject(brush));
}

int WINAPI GetObject(HGDIOBJ h, int cbBuffer, LPVOID lpvObject) {
  CSimGdiObject* pObject = CSimGdiTable::Get().FindObject(h);
  if (pObject == nullptr) return 0;
  if (pObject->eKind != ESimGdiKind::Font) {
    // Brushes and pens describe themselves by their colour only.
    if (lpvObject == nullptr) return sizeof(COLORREF);
    int nCopy = std::min<int>(cbBuffer, sizeof(COLORREF));
    if (nCopy <= 0) return 0;
    memcpy(lpvObject, &pObject->color, static_cast<size_t>(nCopy));
    return nCopy;
  }
  if (lpvObject == nullptr) return sizeof(LOGFONT);
  int nCopy = std::min<int>(cbBuffer, sizeof(LOGFONT));
  if (nCopy <= 0) return 0;
  memcpy(lpvObject, &pObject->lf, static_cast<size_t>(nCopy));
  return nCopy;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  CSimGdiTable& t = CSimGdiTable::Get();
  CSimGdiObject* pObject = t.FindObject(ho);
  if (pObject == nullptr || pObject->nSelected > 0) return FALSE;
  if (!pObject->bStock) t.m_objects.erase(ho);
  return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int i) {
  static std::map<int, HGDIOBJ> s_stock;
  auto it = s_stock.find(i);
  if (it != s_stock.end()) return it->second;
  CSimGdiObject object;
  object.bStock = true;
  switch (i) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH: {
      static const COLORREF kColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), 0, 0, 0};
      object.eKind = ESimGdiKind::Brush;
      object.color = kColors[i];
      break;
    }
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN:
      object.eKind = ESimGdiKind::Pen;
      object.color = i == WHITE_PEN ? RGB(255, 255, 255) : 0;
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      object.eKind = ESimGdiKind::Font;
      object.lf = StockFont(i);
      break;
    default:
      return nullptr;
  }
  HGDIOBJ h = NewObject(object);
  s_stock[i] = h;
  return h;
}
