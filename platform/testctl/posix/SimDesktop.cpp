// Controls of the simulated desktop.
#include "SimDesktop.h"

#include <vector>

#include "Win32User.h"
#include "WinWindowTable.h"

namespace {
CSimWindowTable& Table() { return CSimWindowTable::Get(); }
}  // namespace

void CSimDesktop::SetScreenSize(int cx, int cy) {
  CSimWindowTable& t = Table();
  t.m_screen = {cx, cy};
  t.m_workArea = {0, 0, cx, cy - 40 > 0 ? cy - 40 : 0};
}

void CSimDesktop::SetWorkArea(const RECT& rcWork) { Table().m_workArea = rcWork; }

void CSimDesktop::SetLogPixels(int nLogPixelsX, int nLogPixelsY) {
  Table().m_nLogPixelsX = nLogPixelsX;
  Table().m_nLogPixelsY = nLogPixelsY;
}

SIZE CSimDesktop::GetScreenSize() { return Table().m_screen; }
RECT CSimDesktop::GetWorkArea() { return Table().m_workArea; }
int CSimDesktop::GetLogPixelsX() { return Table().m_nLogPixelsX; }
int CSimDesktop::GetLogPixelsY() { return Table().m_nLogPixelsY; }

void CSimDesktop::SetKeyDown(int nVirtKey, bool bDown) {
  if (nVirtKey < 0 || nVirtKey >= 256) return;
  CSimWindowTable& t = Table();
  if (bDown && !t.m_keyDown[nVirtKey]) t.m_keyToggled[nVirtKey] = !t.m_keyToggled[nVirtKey];
  t.m_keyDown[nVirtKey] = bDown;
}

bool CSimDesktop::IsKeyDown(int nVirtKey) { return nVirtKey >= 0 && nVirtKey < 256 && Table().m_keyDown[nVirtKey]; }

void CSimDesktop::AdvanceTickCount(DWORD nMilliseconds) { Table().m_nTickOffset += nMilliseconds; }

HWND CSimDesktop::GetCaretOwner() { return Table().m_caret.hOwner; }

bool CSimDesktop::IsCaretShown() {
  const CSimCaret& caret = Table().m_caret;
  return caret.hOwner != nullptr && caret.nHideLevel == 0;
}

SIZE CSimDesktop::GetCaretSize() { return {Table().m_caret.cx, Table().m_caret.cy}; }

const std::vector<CSimCreatedWindow>& CSimDesktop::GetCreatedWindows() { return Table().m_created; }

std::vector<CSimDrawnText> CSimDesktop::GetDrawnText(HWND hWnd) {
  auto& drawn = Table().m_drawn;
  auto it = drawn.find(hWnd);
  return it == drawn.end() ? std::vector<CSimDrawnText>() : it->second;
}

void CSimDesktop::ClearLogs() {
  Table().m_created.clear();
  Table().m_drawn.clear();
}

void CSimDesktop::Reset() {
  CSimWindowTable& t = Table();
  // Owners destroy what they own, so destroying the top-level windows
  // (newest first) takes every window with them.
  while (!t.m_topLevel.empty()) {
    HWND hWnd = t.m_topLevel.back();
    if (!DestroyWindow(hWnd)) t.m_topLevel.pop_back();  // stuck mid-destruction: forget it
  }
  t.m_hFocus = nullptr;
  t.m_hActive = nullptr;
  t.m_hCapture = nullptr;
  t.m_caret = CSimCaret();
  t.m_queue.clear();
  t.m_bQuit = false;
  for (int i = 0; i < 256; ++i) t.m_keyDown[i] = t.m_keyToggled[i] = false;
  t.ResetDesktop();
  ClearLogs();
}
