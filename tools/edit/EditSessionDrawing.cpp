// CEditSession: the state the screen is drawn from (layout, caret cell, status).
#include "tools/edit/EditSession.h"

#include <algorithm>
#include <cctype>

#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "module/SharedCatalogs.h"

const CCodeMaxEditor* CEditSession::GetEditorView() const {
  return m_pHarness ? CCodeMaxEditor::FromHandle(m_pHarness->GetEditorHwnd()) : nullptr;
}

void CEditSession::ApplyLayout() {
  CSimDesktop::SetScreenSize(m_layout.ScreenPixels().cx, m_layout.ScreenPixels().cy);
  CSimDesktop::SetWorkArea(m_layout.WorkAreaPixels());
  const RECT rc = m_layout.EditorPixels();
  const int cx = rc.right - rc.left;
  const int cy = rc.bottom - rc.top;
  if (CWnd* pFrame = m_pHarness->GetFrame()) pFrame->MoveWindow(rc.left, rc.top, cx, cy);
  if (CWnd* pEditor = m_pHarness->GetEditor()) pEditor->MoveWindow(0, 0, cx, cy);
  const RECT rcFiles = m_layout.FilesPixels();
  if (m_filesWnd.GetSafeHwnd() != nullptr)
    m_filesWnd.MoveWindow(rcFiles.left, rcFiles.top, rcFiles.right - rcFiles.left, rcFiles.bottom - rcFiles.top);
}

void CEditSession::Resize(int nColumns, int nRows) {
  CEditLayout layout(nColumns, nRows);
  if (layout.GetColumns() == m_layout.GetColumns() && layout.GetRows() == m_layout.GetRows()) return;
  if (IsListOpen()) CloseList();
  m_layout = layout;
  ApplyLayout();
}

bool CEditSession::GetCaretCell(int& nRow, int& nColumn) const {
  const CCodeMaxEditor* pView = GetEditorView();
  if (pView == nullptr) return false;
  const CCodeMaxDocument& doc = pView->GetDocument();
  POINT pt = pView->PointFromPosition(doc.GetCaretLine(), doc.GetCaretColumn());
  ClientToScreen(m_pHarness->GetEditorHwnd(), &pt);
  nRow = CEditLayout::RowOfPixel(pt.y, pView->GetLineHeight());
  nColumn = CEditLayout::ColumnOfPixel(pt.x, pView->GetCharWidth());
  return !m_bFilesFocused && GetFocus() == m_pHarness->GetEditorHwnd();
}

std::string CEditSession::GetStatusFunction(std::string& strPrototype) {
  strPrototype.clear();
  if (m_pHarness->IsTipOpen()) {
    std::string strText = m_pHarness->GetTip()->GetText().Str();
    if (!strText.empty() && strText[0] == ' ') strText.erase(0, 1);
    strPrototype = strText;
    const size_t nOpen = strText.find('(');
    return nOpen == std::string::npos ? strText : strText.substr(0, nOpen);
  }
  if (m_bFilesFocused) return std::string();
  CString strProto;
  const CString strName = m_pHarness->Controller()->GetCurrentFunctionName(&strProto);
  if (!strName.IsEmpty()) strPrototype = strProto.Str();
  return strName.Str();
}
