// Where a window is on the screen and how large a font's cell is, as the
// window system reports them. Tests read them here, beside the code they
// check, so that an expected place holds on any desktop: the Linux stand-in,
// whose frames have no caption or borders, and a real one, whose captions,
// borders, font metrics and pixels per inch are the system's own.
#pragma once

#include <cstdlib>

#include "Win32Def.h"
#include "Win32Gdi.h"
#include "Win32User.h"

// The screen point of a window's client origin.
inline POINT ClientOrigin(HWND hWnd) {
  POINT pt = {0, 0};
  ClientToScreen(hWnd, &pt);
  return pt;
}

// A font's character cell in the screen's device context: the average
// character width by the full height (ascent and descent). A null font
// measures the device context's own.
inline SIZE FontCell(HFONT hFont) {
  SIZE cell = {0, 0};
  HDC hDC = GetDC(nullptr);
  HGDIOBJ hOld = hFont != nullptr ? SelectObject(hDC, hFont) : nullptr;
  TEXTMETRIC tm = {};
  if (GetTextMetrics(hDC, &tm)) cell = SIZE{tm.tmAveCharWidth, tm.tmHeight};
  if (hOld != nullptr) SelectObject(hDC, hOld);
  ReleaseDC(nullptr, hDC);
  return cell;
}

// The vertical pixels per logical inch of a window's client device context.
inline int LogPixelsY(HWND hWnd) {
  HDC hDC = GetDC(hWnd);
  const int nPixels = GetDeviceCaps(hDC, LOGPIXELSY);
  ReleaseDC(hWnd, hDC);
  return nPixels;
}

// A height of nHeight points, its sign dropped, in pixels at nLogPixels per
// inch, rounded to the nearest pixel (halves up).
inline int PointsToPixels(LONG nHeight, int nLogPixels) {
  return static_cast<int>((std::labs(nHeight) * nLogPixels + 36) / 72);
}

// The work area as the system reports it, with another bottom edge.
inline RECT WorkAreaEndingAt(LONG nBottom) {
  RECT rc = {0, 0, 0, 0};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0);
  rc.bottom = nBottom;
  return rc;
}
