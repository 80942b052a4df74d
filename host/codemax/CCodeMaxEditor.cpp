// CCodeMaxEditor: window procedure, keyboard, mouse, caret, font and the
// editor message protocol of the CodeMax window.
#include "codemax/CCodeMaxEditor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Win32Gdi.h"
#include "codemax/CodeMaxMessages.h"
#include "codemax/CodeMaxTextKind.h"

namespace {

const int kCaretWidth = 2;  // pixels

// A signed 16-bit coordinate out of a packed pair.
int SignedWord(WORD w) { return static_cast<int16_t>(w); }

}  // namespace

bool RegisterCodeMaxClass() {
  // Once per process: on Windows a class registered with a null instance
  // belongs to the program's module, which GetClassInfo with a null instance
  // (the system's classes) does not search, so asking again cannot tell.
  static const bool s_bRegistered = [] {
    WNDCLASS wc = {};
    if (GetClassInfo(nullptr, CODEMAX_CLASSNAME, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &CCodeMaxEditor::WndProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));  // erased before painting
    wc.lpszClassName = CODEMAX_CLASSNAME;
    return RegisterClass(&wc) != 0;
  }();
  return s_bRegistered;
}

CCodeMaxEditor* CCodeMaxEditor::FromHandle(HWND hWnd) {
  if (!IsWindow(hWnd)) return nullptr;
  char szClass[16] = {};
  GetClassName(hWnd, szClass, sizeof(szClass));
  if (std::strcmp(szClass, CODEMAX_CLASSNAME) != 0) return nullptr;
  return reinterpret_cast<CCodeMaxEditor*>(GetWindowLongPtr(hWnd, GWLP_USERDATA));
}

CCodeMaxEditor::CCodeMaxEditor(HWND hWnd) : m_hWnd(hWnd) { MeasureFont(); }

LRESULT CALLBACK CCodeMaxEditor::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pEditor = reinterpret_cast<CCodeMaxEditor*>(GetWindowLongPtr(hWnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    pEditor = new CCodeMaxEditor(hWnd);
    SetWindowLongPtr(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pEditor));
  }
  if (pEditor == nullptr) return DefWindowProc(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtr(hWnd, GWLP_USERDATA, 0);
    if (pEditor->m_bHasCaret) DestroyCaret();
    delete pEditor;
    return DefWindowProc(hWnd, message, wParam, lParam);
  }
  return pEditor->WindowProc(message, wParam, lParam);
}

LRESULT CCodeMaxEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CMM_GETLINE:
      return OnGetLine(static_cast<int>(wParam), reinterpret_cast<char*>(lParam));
    case CMM_GETLINELENGTH:
      return m_doc.GetLineLength(static_cast<int>(wParam));
    case CMM_GETSEL: {
      auto* pRecord = reinterpret_cast<int32_t*>(lParam);
      if (pRecord == nullptr) return FALSE;
      // No selection: the anchor is the caret.
      pRecord[0] = pRecord[2] = m_doc.GetCaretLine();
      pRecord[1] = pRecord[3] = m_doc.GetCaretColumn();
      pRecord[4] = 0;
      return TRUE;
    }
    case CMM_POSFROMPOINT: {
      auto* pPos = reinterpret_cast<int32_t*>(lParam);
      if (pPos == nullptr) return FALSE;
      int nLine = 0;
      int nColumn = 0;
      PositionFromPoint(SignedWord(LOWORD(wParam)), SignedWord(HIWORD(wParam)), nLine, nColumn);
      pPos[0] = nLine;
      pPos[1] = nColumn;
      return TRUE;
    }
    case CMM_GETTEXTKIND:
      return CodeMaxTextKindAt(m_doc, m_doc.GetCaretLine(), m_doc.GetCaretColumn());
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(m_hFont);
    case WM_SETFONT:
      OnSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
      return 0;
    case CMM_SETTEXT:
      m_doc.SetText(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      m_nTopLine = 0;
      m_nLeftColumn = 0;
      CaretChanged();
      return TRUE;
    case CMM_GETTEXT:
      return OnGetText(wParam, reinterpret_cast<char*>(lParam));
    case CMM_SETCARETPOS:
      m_doc.SetCaret(static_cast<int>(wParam), static_cast<int>(lParam));
      CaretChanged();
      return TRUE;
    case CMM_INSERTTEXT:
      if (lParam != 0) m_doc.InsertText(reinterpret_cast<const char*>(lParam));
      CaretChanged();
      return TRUE;
    case CMM_SETSCROLLPOS:
      m_nTopLine = std::clamp(static_cast<int>(wParam), 0, m_doc.GetLineCount() - 1);
      m_nLeftColumn = std::max(0, static_cast<int>(lParam));
      UpdateCaretPos();
      InvalidateRect(m_hWnd, nullptr, TRUE);
      return TRUE;
    case CMM_GETLINECOUNT:
      return m_doc.GetLineCount();
    case WM_CHAR:
      OnChar(static_cast<char>(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(m_hWnd);
      int nLine = 0;
      int nColumn = 0;
      PositionFromPoint(SignedWord(LOWORD(lParam)), SignedWord(HIWORD(lParam)), nLine, nColumn);
      m_doc.SetCaret(nLine, nColumn);
      CaretChanged();
      return 0;
    }
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus();
      return 0;
    case WM_SIZE:
      CaretChanged();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      break;
  }
  return DefWindowProc(m_hWnd, message, wParam, lParam);
}

void CCodeMaxEditor::OnChar(char ch) {
  switch (ch) {
    case '\b':
      m_doc.Backspace();
      break;
    case '\r':
    case '\n':
      m_doc.InsertChar('\n');
      break;
    case '\t':
      m_doc.InsertChar('\t');
      break;
    default:
      // Other control characters (Escape, Ctrl+letter) type nothing.
      if (static_cast<unsigned char>(ch) < 32 || ch == 127) return;
      m_doc.InsertChar(ch);
      break;
  }
  CaretChanged();
}

void CCodeMaxEditor::OnKeyDown(UINT nVirtKey) {
  switch (nVirtKey) {
    case VK_LEFT: m_doc.MoveLeft(); break;
    case VK_RIGHT: m_doc.MoveRight(); break;
    case VK_UP: m_doc.MoveUp(); break;
    case VK_DOWN: m_doc.MoveDown(); break;
    case VK_HOME: m_doc.MoveHome(); break;
    case VK_END: m_doc.MoveEnd(); break;
    case VK_DELETE: m_doc.Delete(); break;
    default: return;  // typing keys act through their WM_CHAR
  }
  CaretChanged();
}

void CCodeMaxEditor::OnSetFocus() {
  CreateCaret(m_hWnd, nullptr, kCaretWidth, m_nLineHeight);
  m_bHasCaret = true;
  UpdateCaretPos();
  ShowCaret(m_hWnd);
}

void CCodeMaxEditor::OnKillFocus() {
  if (!m_bHasCaret) return;
  m_bHasCaret = false;
  DestroyCaret();
}

void CCodeMaxEditor::OnSetFont(HFONT hFont, bool bRedraw) {
  m_hFont = hFont;
  MeasureFont();
  if (m_bHasCaret) {
    // The caret's height follows the line height.
    CreateCaret(m_hWnd, nullptr, kCaretWidth, m_nLineHeight);
    ShowCaret(m_hWnd);
  }
  CaretChanged();
  if (bRedraw) UpdateWindow(m_hWnd);
}

void CCodeMaxEditor::OnPaint() {
  PAINTSTRUCT ps = {};
  HDC hDC = BeginPaint(m_hWnd, &ps);
  if (hDC == nullptr) return;
  HGDIOBJ hOldFont = m_hFont != nullptr ? SelectObject(hDC, m_hFont) : nullptr;
  RECT rcClient = {};
  GetClientRect(m_hWnd, &rcClient);
  const int nRows = (rcClient.bottom + m_nLineHeight - 1) / m_nLineHeight;
  for (int nRow = 0; nRow < nRows && m_nTopLine + nRow < m_doc.GetLineCount(); ++nRow) {
    const std::string& line = m_doc.GetLine(m_nTopLine + nRow);
    if (static_cast<int>(line.size()) <= m_nLeftColumn) continue;
    std::string shown = line.substr(static_cast<size_t>(m_nLeftColumn));
    TextOut(hDC, 0, nRow * m_nLineHeight, shown.c_str(), static_cast<int>(shown.size()));
  }
  if (hOldFont != nullptr) SelectObject(hDC, hOldFont);
  EndPaint(m_hWnd, &ps);
}

LRESULT CCodeMaxEditor::OnGetLine(int nLine, char* pBuffer) const {
  if (pBuffer == nullptr) return 0;
  const std::string& line = m_doc.GetLine(nLine);
  std::memcpy(pBuffer, line.c_str(), line.size() + 1);
  return static_cast<LRESULT>(line.size());
}

LRESULT CCodeMaxEditor::OnGetText(size_t nSize, char* pBuffer) const {
  const std::string text = m_doc.GetText();
  if (pBuffer != nullptr && nSize > 0) {
    const size_t nCopy = std::min(nSize - 1, text.size());
    std::memcpy(pBuffer, text.data(), nCopy);
    pBuffer[nCopy] = '\0';
  }
  return static_cast<LRESULT>(text.size());
}

void CCodeMaxEditor::MeasureFont() {
  m_nCharWidth = 8;
  m_nLineHeight = 16;
  HDC hDC = GetDC(m_hWnd);
  if (hDC == nullptr) return;
  HGDIOBJ hOldFont = m_hFont != nullptr ? SelectObject(hDC, m_hFont) : nullptr;
  TEXTMETRIC tm = {};
  if (GetTextMetrics(hDC, &tm)) {
    if (tm.tmAveCharWidth > 0) m_nCharWidth = tm.tmAveCharWidth;
    if (tm.tmHeight > 0) m_nLineHeight = tm.tmHeight;
  }
  if (hOldFont != nullptr) SelectObject(hDC, hOldFont);
  ReleaseDC(m_hWnd, hDC);
}

POINT CCodeMaxEditor::PointFromPosition(int nLine, int nColumn) const {
  POINT pt;
  pt.x = (nColumn - m_nLeftColumn) * m_nCharWidth;
  pt.y = (nLine - m_nTopLine) * m_nLineHeight;
  return pt;
}

void CCodeMaxEditor::PositionFromPoint(int x, int y, int& nLine, int& nColumn) const {
  const int nRow = y < 0 ? 0 : y / m_nLineHeight;
  const int nCell = x < 0 ? 0 : (x + m_nCharWidth / 2) / m_nCharWidth;
  nLine = std::clamp(m_nTopLine + nRow, 0, m_doc.GetLineCount() - 1);
  nColumn = std::clamp(m_nLeftColumn + nCell, 0, m_doc.GetLineLength(nLine));
}

void CCodeMaxEditor::CaretChanged() {
  RECT rcClient = {};
  GetClientRect(m_hWnd, &rcClient);
  const int nRows = std::max(1, static_cast<int>(rcClient.bottom) / m_nLineHeight);
  const int nColumns = std::max(1, static_cast<int>(rcClient.right) / m_nCharWidth);
  const int nLine = m_doc.GetCaretLine();
  const int nColumn = m_doc.GetCaretColumn();
  if (nLine < m_nTopLine) m_nTopLine = nLine;
  if (nLine >= m_nTopLine + nRows) m_nTopLine = nLine - nRows + 1;
  if (nColumn < m_nLeftColumn) m_nLeftColumn = nColumn;
  if (nColumn >= m_nLeftColumn + nColumns) m_nLeftColumn = nColumn - nColumns + 1;
  UpdateCaretPos();
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCodeMaxEditor::UpdateCaretPos() {
  if (!m_bHasCaret) return;
  POINT pt = PointFromPosition(m_doc.GetCaretLine(), m_doc.GetCaretColumn());
  SetCaretPos(pt.x, pt.y);
}
