// Fonts, stock objects and device contexts.
#include "Win32Gdi.h"

#include <cstring>

#include <gtest/gtest.h>

#include "CDC.h"
#include "CFont.h"
#include "CWnd.h"
#include "WindowTestSupport.h"

namespace {

using Gdi = WindowTest;

LOGFONT MakeLogFont(LONG lfHeight, const char* pszFace) {
  LOGFONT lf = {};
  lf.lfHeight = lfHeight;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  strncpy(lf.lfFaceName, pszFace, LF_FACESIZE - 1);
  return lf;
}

TEST(LogFont, HasTheWin32Layout) {
  EXPECT_EQ(sizeof(LOGFONT), 60u);
  EXPECT_EQ(offsetof(LOGFONT, lfItalic), 20u);
  EXPECT_EQ(offsetof(LOGFONT, lfFaceName), 28u);
}

TEST_F(Gdi, GetObjectGivesBackTheFontsDescription) {
  LOGFONT in = MakeLogFont(-13, "Courier New");
  HFONT hFont = CreateFontIndirect(&in);
  ASSERT_NE(hFont, nullptr);
  EXPECT_EQ(GetObject(hFont, 0, nullptr), 60);
  LOGFONT out;
  memset(&out, 0x55, sizeof(out));
  EXPECT_EQ(GetObject(hFont, sizeof(out), &out), 60);
  EXPECT_EQ(memcmp(&in, &out, sizeof(LOGFONT)), 0);
  // A short buffer gets the first bytes only.
  LONG nHeight = 0;
  EXPECT_EQ(GetObject(hFont, sizeof(nHeight), &nHeight), 4);
  EXPECT_EQ(nHeight, -13);
  EXPECT_TRUE(DeleteObject(hFont));
  EXPECT_EQ(GetObject(hFont, sizeof(out), &out), 0);  // deleted handles are dead
  EXPECT_FALSE(DeleteObject(hFont));
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST_F(Gdi, StockObjectsAreSharedAndSurviveDeletion) {
  HGDIOBJ hSystem = GetStockObject(SYSTEM_FONT);
  ASSERT_NE(hSystem, nullptr);
  EXPECT_EQ(GetStockObject(SYSTEM_FONT), hSystem);
  EXPECT_TRUE(DeleteObject(hSystem));
  LOGFONT lf = {};
  EXPECT_EQ(GetObject(hSystem, sizeof(lf), &lf), 60);
  EXPECT_NE(GetStockObject(DEFAULT_GUI_FONT), hSystem);
  EXPECT_EQ(GetStockObject(3), nullptr);
}

TEST_F(Gdi, DeviceContextsReportTheSimulatedPixelsPerInch) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  HDC hDC = GetDC(hWnd);
  ASSERT_NE(hDC, nullptr);
  EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSY), 96);
  CSimDesktop::SetLogPixels(120, 144);
  EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSX), 120);
  EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSY), 144);
  EXPECT_EQ(WindowFromDC(hDC), hWnd);
  EXPECT_EQ(ReleaseDC(hWnd, hDC), 1);
  EXPECT_EQ(ReleaseDC(hWnd, hDC), 0);  // released once only
  EXPECT_EQ(GetDeviceCaps(hDC, LOGPIXELSY), 0);
  HDC hScreen = GetDC(nullptr);
  EXPECT_NE(hScreen, nullptr);
  EXPECT_EQ(GetDeviceCaps(hScreen, HORZRES), 1024);
  ReleaseDC(nullptr, hScreen);
  DestroyWindow(hWnd);
  EXPECT_EQ(GetDC(hWnd), nullptr);
}

TEST_F(Gdi, SelectedFontsSetTheTextMetricsAndCannotBeDeleted) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  LOGFONT lf = MakeLogFont(-14, "Courier New");
  HFONT hFont = CreateFontIndirect(&lf);
  HDC hDC = GetDC(hWnd);
  HGDIOBJ hOld = SelectObject(hDC, hFont);
  EXPECT_EQ(hOld, GetStockObject(SYSTEM_FONT));
  EXPECT_FALSE(DeleteObject(hFont));  // still selected
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(hDC, &tm));
  EXPECT_EQ(tm.tmHeight, 14);
  EXPECT_EQ(tm.tmAveCharWidth, 7);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32(hDC, "Hello", 5, &size));
  EXPECT_EQ(size.cx, 35);
  EXPECT_EQ(size.cy, 14);
  EXPECT_TRUE(TextOut(hDC, 3, 4, "Hello", 5));
  auto drawn = CSimDesktop::GetDrawnText(hWnd);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].strText, "Hello");
  EXPECT_EQ(drawn[0].x, 3);
  ReleaseDC(hWnd, hDC);
  EXPECT_TRUE(DeleteObject(hFont));  // released with its context
}

TEST_F(Gdi, ClientDCFollowsItsWindowObject) {
  HWND hWnd = CreateLoggingWindow(WS_POPUP, 0, 0, 100, 100);
  CWnd wnd;
  wnd.m_hWnd = hWnd;  // borrowed, as a wrapper holding a host's handle does
  {
    CClientDC dc(&wnd);
    ASSERT_NE(dc.m_hDC, nullptr);
    EXPECT_EQ(WindowFromDC(dc.m_hDC), hWnd);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  }
  wnd.m_hWnd = nullptr;
  {
    CClientDC dc(&wnd);  // no window: the screen
    EXPECT_NE(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
  }
  DestroyWindow(hWnd);
  wnd.m_hWnd = hWnd;
  {
    CClientDC dc(&wnd);  // a dead window: no context, every query 0
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 0);
  }
  wnd.m_hWnd = nullptr;
}

TEST_F(Gdi, CFontOwnsItsFont) {
  HFONT hFont = nullptr;
  {
    CFont font;
    LOGFONT lf = MakeLogFont(-12, "Arial");
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    EXPECT_FALSE(font.CreateFontIndirect(&lf));  // holds one already
    hFont = font;
    LOGFONT out = {};
    EXPECT_EQ(font.GetLogFont(&out), 60);
    EXPECT_STREQ(out.lfFaceName, "Arial");
    EXPECT_EQ(CFont::FromHandle(hFont)->m_hObject, hFont);
  }
  LOGFONT out;
  EXPECT_EQ(GetObject(hFont, sizeof(out), &out), 0);  // deleted with its object
  CFont::DeleteTempMap();

  CFont point;
  ASSERT_TRUE(point.CreatePointFont(100, "Courier New"));
  LOGFONT lf = {};
  point.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -13);  // -MulDiv(100, 96, 720)
}

}  // namespace
