// CFont: the framework's font object.
#pragma once

#include "CGdiObject.h"

class CDC;

class CFont : public CGdiObject {
 public:
  CFont() = default;

  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT: as in MFC

  // FALSE when this object already holds a font or creation failed.
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  // A font nPointSize tenths of a point high on pDC (the screen when null):
  // lfHeight = -MulDiv(nPointSize, logical pixels per inch, 720).
  BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
  // Fills the font's LOGFONT; 0 when there is no font.
  int GetLogFont(LOGFONT* pLogFont) const;

  // A temporary object wrapping hFont (kept until DeleteTempMap; it never
  // deletes the font); null for null.
  static CFont* FromHandle(HFONT hFont);
  static void DeleteTempMap();
};
