// State of the graphics services (internal to the platform layer): the live
// graphics objects and device contexts.
#pragma once

#include <map>

#include "Win32Gdi.h"

enum class ESimGdiKind { Font, Brush, Pen };

struct CSimGdiObject {
  ESimGdiKind eKind = ESimGdiKind::Font;
  LOGFONT lf = {};         // fonts
  COLORREF color = 0;      // brushes and pens
  bool bStock = false;     // never deleted
  int nSelected = 0;       // device contexts it is selected into
};

struct CSimDC {
  HWND hWnd = nullptr;     // window it draws into; null: screen or memory
  bool bFromGetDC = false; // released with ReleaseDC (else deleted with DeleteDC)
  HGDIOBJ hFont = nullptr;
  HGDIOBJ hBrush = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int nBkMode = OPAQUE;
};

class CSimGdiTable {
 public:
  static CSimGdiTable& Get();
  CSimGdiObject* FindObject(HGDIOBJ h);
  CSimDC* FindDC(HDC h);
  // Creates a context, with the system font and white brush selected.
  HDC NewDC(HWND hWnd, bool bFromGetDC);
  // Forgets a context, unselecting its objects.
  void RemoveDC(HDC h);

  std::map<HGDIOBJ, CSimGdiObject> m_objects;
  std::map<HDC, CSimDC> m_dcs;

 private:
  CSimGdiTable() = default;
};
