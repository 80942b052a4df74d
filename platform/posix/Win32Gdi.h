// Win32 graphics services of the in-process window system: fonts, stock
// objects, device contexts and their capabilities, text measuring, and a
// record of the text drawn into each window.
//
// Text metrics follow a simple fixed-pitch model, so that layout is exact
// and testable: a font's cell height is |lfHeight| (or 16 when lfHeight is
// 0), every character is lfWidth wide (or half the height, rounded up, when
// lfWidth is 0), the ascent is four fifths of the height.
#pragma once

#include "Win32Def.h"

typedef DWORD COLORREF;
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF

#define LF_FACESIZE 32

struct LOGFONT {
  LONG lfHeight;  // < 0: character height in pixels; > 0: cell height
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONT* LPLOGFONT;
static_assert(sizeof(LOGFONT) == 60, "LOGFONT has the Win32 layout of 60 bytes");

#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_MODERN (3 << 4)

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRIC* LPTEXTMETRIC;

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// GetDeviceCaps indices.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// ---- Objects -------------------------------------------------------------------
// A new font with the given attributes; null for a null lpLogFont.
HFONT WINAPI CreateFontIndirect(const LOGFONT* lpLogFont);
HFONT WINAPI CreateFont(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                        DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                        DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
// Copies up to cbBuffer bytes of the object's description (a LOGFONT for a
// font) and returns the number of bytes copied; with a null lpvObject,
// returns the size of the description. 0 for an invalid or deleted handle.
int WINAPI GetObject(HGDIOBJ h, int cbBuffer, LPVOID lpvObject);
// Deletes a font or brush; TRUE. Stock objects stay (TRUE, nothing done).
// FALSE for an invalid handle, an already deleted object, or an object
// selected into a device context.
BOOL WINAPI DeleteObject(HGDIOBJ ho);
// One of the stock objects above; null for other indices.
HGDIOBJ WINAPI GetStockObject(int i);

// ---- Device contexts -------------------------------------------------------
// A device context for the client area of hWnd, or of the screen when hWnd
// is null; null for an invalid window. It starts with SYSTEM_FONT selected.
HDC WINAPI GetDC(HWND hWnd);
// Releases a context from GetDC; 1 when released, 0 otherwise.
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
// A memory context compatible with hdc (null: the screen); free with DeleteDC.
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
// The window a context draws into (null for the screen or memory).
HWND WINAPI WindowFromDC(HDC hDC);
// LOGPIXELSX/LOGPIXELSY: the simulated logical pixels per inch;
// HORZRES/VERTRES: the screen size; BITSPIXEL 32; PLANES 1. 0 for an invalid
// context or an unknown index.
int WINAPI GetDeviceCaps(HDC hdc, int index);
// Selects a font or brush; returns the previously selected one of that kind,
// or null for an invalid context or object.
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
// The currently selected font of the context (kind must be OBJ_FONT).
#define OBJ_FONT 6
HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);

// ---- Text ---------------------------------------------------------------------
BOOL WINAPI GetTextMetrics(HDC hdc, LPTEXTMETRIC lptm);
// The extent of the first c characters of lpString in the selected font.
BOOL WINAPI GetTextExtentPoint32(HDC hdc, LPCSTR lpString, int c, SIZE* psizl);
// Records the text (see CSimDesktop::GetDrawnText) and returns TRUE.
BOOL WINAPI TextOut(HDC hdc, int x, int y, LPCSTR lpString, int c);
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetTextColor(HDC hdc);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
int WINAPI SetBkMode(HDC hdc, int mode);
// Fills nothing visible; TRUE for a valid context and brush.
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
