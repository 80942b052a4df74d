// CZoToolTipStaticFunc: creation, layout, parameter marking and painting of
// the function tip window.
#include "tamsin/CZoToolTipStaticFunc.h"

#include <vector>

namespace {

// The character cell of a font in the screen's device context.
SIZE MeasureCell(HFONT hFont) {
  SIZE cell = {8, 16};
  HDC hDC = GetDC(nullptr);
  if (hDC == nullptr) return cell;
  HGDIOBJ hOld = hFont != nullptr ? SelectObject(hDC, hFont) : nullptr;
  TEXTMETRIC tm = {};
  if (GetTextMetrics(hDC, &tm)) {
    if (tm.tmAveCharWidth > 0) cell.cx = tm.tmAveCharWidth;
    if (tm.tmHeight > 0) cell.cy = tm.tmHeight;
  }
  if (hOld != nullptr) SelectObject(hDC, hOld);
  ReleaseDC(nullptr, hDC);
  return cell;
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// The byte ranges [first, end) of the prototype's parameters, untrimmed.
std::vector<std::pair<int, int>> SplitParameters(const CString& strText) {
  std::vector<std::pair<int, int>> params;
  const int nOpen = strText.Find('(');
  if (nOpen < 0) return params;
  int nDepth = 0;
  char chQuote = 0;
  int nStart = nOpen + 1;
  int i = nStart;
  for (; i < strText.GetLength(); ++i) {
    const char ch = strText[i];
    if (chQuote != 0) {
      if (ch == '\\') ++i;
      else if (ch == chQuote) chQuote = 0;
    } else if (ch == '"' || ch == '\'') {
      chQuote = ch;
    } else if (ch == '(' || ch == '[' || ch == '{') {
      ++nDepth;
    } else if (ch == ']' || ch == '}') {
      if (nDepth > 0) --nDepth;
    } else if (ch == ')') {
      if (nDepth == 0) break;
      --nDepth;
    } else if (ch == ',' && nDepth == 0) {
      params.emplace_back(nStart, i);
      nStart = i + 1;
    }
  }
  if (i > strText.GetLength()) i = strText.GetLength();
  params.emplace_back(nStart, i);
  return params;
}

}  // namespace

std::vector<std::pair<int, int>> CZoToolTipStaticFunc::ParameterRanges(const CString& strText) {
  std::vector<std::pair<int, int>> params = SplitParameters(strText);
  for (std::pair<int, int>& param : params) {
    while (param.first < param.second && IsBlank(strText[param.first])) ++param.first;
    while (param.second > param.first && IsBlank(strText[param.second - 1])) --param.second;
  }
  return params;
}

BOOL CZoToolTipStaticFunc::CreateTip(CString strText, const POINT& pt, CWnd* pOwner, int nFlags) {
  (void)nFlags;
  if (IsWindow(m_hWnd)) DestroyWindow();
  m_strText = strText;
  m_nCurrentParam = -1;
  m_nMarkFirst = -1;
  m_nMarkCount = 0;
  HWND hOwner = pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr;
  m_hFont = hOwner != nullptr ? reinterpret_cast<HFONT>(::SendMessage(hOwner, WM_GETFONT, 0, 0)) : nullptr;
  const SIZE cell = MeasureCell(m_hFont);
  const int nWidth = m_strText.GetLength() * cell.cx + 2 * kPadding;
  const int nHeight = cell.cy + 2 * kPadding;
  return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "", WS_POPUP | WS_BORDER | WS_VISIBLE, pt.x, pt.y,
                  nWidth, nHeight, hOwner, nullptr);
}

void CZoToolTipStaticFunc::SetCurrentParam(int nParam) {
  m_nCurrentParam = nParam;
  int nFirst = -1;
  int nCount = 0;
  const std::vector<std::pair<int, int>> params = ParameterRanges(m_strText);
  if (nParam >= 0 && nParam < static_cast<int>(params.size())) {
    const std::pair<int, int>& param = params[static_cast<size_t>(nParam)];
    if (param.second > param.first) {
      nFirst = param.first;
      nCount = param.second - param.first;
    }
  }
  if (nFirst == m_nMarkFirst && nCount == m_nMarkCount) return;
  m_nMarkFirst = nFirst;
  m_nMarkCount = nCount;
  if (IsWindow(m_hWnd)) Invalidate();
}

void CZoToolTipStaticFunc::RelayEvent(MSG* pMsg) {
  if (pMsg == nullptr || !IsWindow(m_hWnd)) return;
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) DestroyWindow();
}

bool CZoToolTipStaticFunc::GetMarkedRange(int& nFirst, int& nCount) const {
  nFirst = m_nMarkFirst;
  nCount = m_nMarkCount;
  return m_nMarkCount > 0;
}

LRESULT CZoToolTipStaticFunc::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    OnPaint();
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CZoToolTipStaticFunc::OnPaint() {
  PAINTSTRUCT ps = {};
  HDC hDC = BeginPaint(m_hWnd, &ps);
  if (hDC == nullptr) return;
  // A tool tip's pale background; the text runs over it.
  RECT rcClient = {0, 0, 0, 0};
  ::GetClientRect(m_hWnd, &rcClient);
  HBRUSH hBackground = CreateSolidBrush(RGB(255, 255, 225));
  FillRect(hDC, &rcClient, hBackground);
  DeleteObject(hBackground);
  SetBkMode(hDC, TRANSPARENT);
  HGDIOBJ hOld = m_hFont != nullptr ? SelectObject(hDC, m_hFont) : nullptr;
  // The marked parameter is drawn in the bold form of the same font.
  LOGFONT lfBold = {};
  HFONT hBold = nullptr;
  if (m_nMarkCount > 0 && m_hFont != nullptr && ::GetObject(m_hFont, sizeof lfBold, &lfBold) != 0) {
    lfBold.lfWeight = FW_BOLD;
    hBold = CreateFontIndirect(&lfBold);
  }
  const SIZE cell = MeasureCell(m_hFont);
  // Runs: before the mark, the mark, after it (empty runs are not drawn).
  const int nFirst = m_nMarkCount > 0 ? m_nMarkFirst : m_strText.GetLength();
  const int nEnd = m_nMarkCount > 0 ? m_nMarkFirst + m_nMarkCount : m_strText.GetLength();
  const int bounds[4] = {0, nFirst, nEnd, m_strText.GetLength()};
  for (int nRun = 0; nRun < 3; ++nRun) {
    const int nCount = bounds[nRun + 1] - bounds[nRun];
    if (nCount <= 0) continue;
    const bool bMark = nRun == 1 && hBold != nullptr;
    HGDIOBJ hRunOld = bMark ? SelectObject(hDC, hBold) : nullptr;
    TextOut(hDC, kPadding + bounds[nRun] * cell.cx, kPadding, m_strText.GetString() + bounds[nRun], nCount);
    if (bMark) SelectObject(hDC, hRunOld);
  }
  if (hBold != nullptr) DeleteObject(hBold);
  if (hOld != nullptr) SelectObject(hDC, hOld);
  EndPaint(m_hWnd, &ps);
}
