// CEditSession: typed text, keys, clicks, the focus and the file list's keys.
#include "tools/edit/EditSession.h"

#include <algorithm>
#include <cctype>

#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "module/SharedCatalogs.h"

void CEditSession::TypeChar(char ch) {
  NewInput();
  if (m_bFilesFocused) return;
  if (ch == '\n' || ch == '\r') {
    PressKey(VK_RETURN);
    return;
  }
  if (ch == '\b' || ch == '\t' || ch == '\x1b') {
    PressKey(ch == '\b' ? VK_BACK : ch == '\t' ? VK_TAB : VK_ESCAPE);
    return;
  }
  const bool bNarrows = IsIdentChar(ch);
  if (IsListOpen() && !bNarrows) CloseList();
  m_pHarness->TypeChar(ch);
  if (IsListOpen()) NarrowList();
}

void CEditSession::TypeText(const std::string& strText) {
  for (char ch : strText) TypeChar(ch);
}

void CEditSession::PressKey(UINT nVirtKey) {
  NewInput();
  if (m_bFilesFocused) {
    FilesKey(nVirtKey);
    return;
  }
  if (IsListOpen() && ListKey(nVirtKey)) return;
  const CCodeMaxEditor* pView = GetEditorView();
  switch (nVirtKey) {
    case VK_RETURN: m_pHarness->TypeChar('\n'); break;
    case VK_BACK:
      m_pHarness->TypeChar('\b');
      if (IsListOpen()) NarrowList();
      break;
    case VK_TAB: m_pHarness->TypeChar('\t'); break;
    case VK_PRIOR:
    case VK_NEXT: {
      // The editor knows no page keys: a page is as many line steps.
      const int nRows = m_layout.EditorCells().bottom - m_layout.EditorCells().top;
      for (int i = 0; i < std::max(nRows - 1, 1) && pView != nullptr; ++i)
        m_pHarness->PressKey(nVirtKey == VK_PRIOR ? VK_UP : VK_DOWN);
      break;
    }
    default: m_pHarness->PressKey(nVirtKey); break;
  }
}

void CEditSession::Command(EEditCommand command) {
  const bool bOverwriteArmed = m_bOverwriteArmed;
  NewInput();
  m_bOverwriteArmed = command == kCmdSave && bOverwriteArmed;
  switch (command) {
    case kCmdComplete:
      if (!m_bFilesFocused) OpenList();
      break;
    case kCmdSave: SaveCommand(); break;
    case kCmdToggleFiles:
      if (m_bFilesFocused)
        FocusEditor();
      else
        FocusFiles();
      break;
  }
}

void CEditSession::SaveCommand() {
  if (!m_bOverwriteArmed && IsChangedOnDisk()) {
    m_strMessage = m_files[static_cast<size_t>(m_nCurrentFile)].strName +
                   " was changed on disk since it was read: Ctrl+S again overwrites it, any other key keeps it";
    m_bOverwriteArmed = true;
    return;
  }
  m_bOverwriteArmed = false;
  std::string strError;
  if (Save(strError))
    m_strMessage = "saved " + m_files[static_cast<size_t>(m_nCurrentFile)].strName + "; the project defines " +
                   std::to_string(g_FuncInfoUser.size()) + " functions";
  else
    m_strMessage = "not saved: " + strError;
}

void CEditSession::ClickText(int nLine, int nColumn) {
  NewInput();
  if (IsListOpen()) CloseList();
  if (m_bFilesFocused) FocusEditor();
  m_pHarness->ClickAt(nLine, nColumn);
}

void CEditSession::ClickCell(int nRow, int nColumn) {
  NewInput();
  const RECT rcList = m_rcListCells;
  if (IsListOpen() && nRow >= rcList.top && nRow < rcList.bottom && nColumn >= rcList.left && nColumn < rcList.right) {
    ListSelect(m_nListTop + nRow - rcList.top);
    return;
  }
  const RECT rcEditor = m_layout.EditorCells();
  if (nRow >= rcEditor.top && nRow < rcEditor.bottom && nColumn >= rcEditor.left && nColumn < rcEditor.right) {
    if (IsListOpen()) CloseList();
    if (m_bFilesFocused) FocusEditor();
    const CCodeMaxEditor* pView = GetEditorView();
    if (pView == nullptr) return;
    m_pHarness->Click((nColumn - rcEditor.left) * pView->GetCharWidth(),
                      (nRow - rcEditor.top) * pView->GetLineHeight() + 1);
    return;
  }
  const RECT rcFiles = m_layout.FilesCells();
  if (nRow >= rcFiles.top && nRow < rcFiles.bottom && nColumn >= rcFiles.left && nColumn < rcFiles.right) {
    const int nFile = GetFilesTop() + nRow - rcFiles.top;
    if (nFile >= static_cast<int>(m_files.size())) return;
    FocusFiles();
    m_nFilesSelection = nFile;
    FilesKey(VK_RETURN);
  }
}

void CEditSession::FocusOtherApplication() {
  if (IsListOpen()) CloseList();
  m_bFilesFocused = false;
  m_pHarness->FocusOtherWindow();
}

void CEditSession::FocusEditor() {
  const bool bWasFiles = m_bFilesFocused;
  m_bFilesFocused = false;
  m_pHarness->FocusEditor();
  if (bWasFiles) Report(CEditEvent::focusEditor);
}

void CEditSession::FocusFiles() {
  if (IsListOpen()) CloseList();
  if (m_bFilesFocused) return;
  m_bFilesFocused = true;
  if (m_nCurrentFile >= 0) m_nFilesSelection = m_nCurrentFile;
  Report(CEditEvent::focusFiles);
  m_filesWnd.SetFocus();
  m_pHarness->Pump();
}

void CEditSession::FilesKey(UINT nVirtKey) {
  const int nCount = static_cast<int>(m_files.size());
  switch (nVirtKey) {
    case VK_UP: m_nFilesSelection = std::max(m_nFilesSelection - 1, 0); break;
    case VK_DOWN: m_nFilesSelection = std::max(std::min(m_nFilesSelection + 1, nCount - 1), 0); break;
    case VK_HOME: m_nFilesSelection = 0; break;
    case VK_END: m_nFilesSelection = std::max(nCount - 1, 0); break;
    case VK_RETURN: {
      std::string strError;
      if (m_nFilesSelection < nCount && !OpenFile(m_nFilesSelection, strError)) {
        m_strMessage = strError;
        return;
      }
      FocusEditor();
      break;
    }
    case VK_ESCAPE: FocusEditor(); break;
    default: break;
  }
}
