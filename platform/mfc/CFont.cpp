// CFont: creation and description of fonts, and temporary font objects.
#include "CFont.h"

#include <cstring>

#include "AfxHandleMap.h"
#include "CDC.h"
#include "Win32Base.h"

namespace {
typedef CHandleMap<CFont, HGDIOBJ, &CGdiObject::m_hObject> CFontMap;
CFontMap& Map() { return CFontMap::Get(); }
}  // namespace

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
  if (m_hObject != nullptr) return FALSE;
  return Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
  HDC hDC = pDC != nullptr ? pDC->m_hDC : ::GetDC(nullptr);
  LOGFONT lf = {};
  lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(hDC, LOGPIXELSY), 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (lpszFaceName != nullptr) strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
  if (pDC == nullptr) ::ReleaseDC(nullptr, hDC);
  return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
  if (pLogFont == nullptr) return 0;
  return ::GetObject(m_hObject, sizeof(LOGFONT), pLogFont);
}

CFont* CFont::FromHandle(HFONT hFont) { return Map().FromHandle(hFont); }

void CFont::DeleteTempMap() { Map().DeleteTemp(); }
