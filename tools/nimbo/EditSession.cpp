// CEditSession: the harness on a screen of cells, the file list, the
// completion-list popup and the editor's key bindings.
#include "EditSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "CommCtrl.h"
#include "FileSave.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "darnel2/CScriptBrowser.h"
#include "module/SharedCatalogs.h"

namespace {

const int kListRowsMax = 8;
const int kListWidthMin = 18;

bool IsIdentChar(char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_'; }

bool ReadFile(const std::string& strPath, std::string& strText, std::string& strError) {
  struct stat info;
  if (stat(strPath.c_str(), &info) != 0) {
    strError = "file not found: " + strPath;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    strError = "not a regular file: " + strPath;
    return false;
  }
  std::ifstream in(strPath, std::ios::binary);
  if (!in) {
    strError = "cannot read file: " + strPath;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    strError = "cannot read file: " + strPath;
    return false;
  }
  strText = text.str();
  return true;
}

std::string BaseName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of('/');
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

}  // namespace

CEditSession::CEditSession(const OPTIONS& options)
    : m_options(options),
      m_layout(options.nColumns, options.nRows),
      m_list(&g_FuncInfoStd, &g_FuncInfoUser, nullptr) {
  CSimDesktop::SetScreenSize(m_layout.ScreenPixels().cx, m_layout.ScreenPixels().cy);
  CSimDesktop::SetWorkArea(m_layout.WorkAreaPixels());
  HARNESS_OPTIONS harnessOptions;
  harnessOptions.rcFrame = m_layout.EditorPixels();
  harnessOptions.nFontHeight = -CEditLayout::kCellHeight;
  harnessOptions.strProgramsDir = options.strProgramsDir.c_str();
  harnessOptions.strProjectDir = options.strProjectDir.c_str();
  m_pHarness = std::make_unique<CEditorHarness>(harnessOptions);
  m_list.m_pImages = &m_pHarness->GetImages();

  // The file list is a window of the host's main window, outside the
  // editor's frame: giving it the focus takes the focus from the frame.
  const RECT rcFiles = m_layout.FilesPixels();
  m_filesWnd.CreateEx(WS_EX_NOACTIVATE, nullptr, "Project files", WS_POPUP | WS_VISIBLE, rcFiles.left, rcFiles.top,
                      rcFiles.right - rcFiles.left, rcFiles.bottom - rcFiles.top, nullptr, nullptr);

  if (CScriptBrowser* pBrowser = m_pHarness->GetProjectManager().GetScriptBrowser()) {
    for (const auto& entry : pBrowser->GetFunctionMap()) {
      CEditFile file;
      file.strPath = entry.second.m_strScriptPath.Str();
      file.strName = entry.second.m_strFileName.IsEmpty() ? BaseName(file.strPath) : entry.second.m_strFileName.Str();
      m_files.push_back(file);
    }
  }
  m_pHarness->FocusEditor();
  m_pHarness->ClearEvents();
}

CEditSession::~CEditSession() {
  m_list.m_pImages = nullptr;
  if (IsListOpen()) m_list.DestroyWindow();
  m_filesWnd.DestroyWindow();
  m_pHarness.reset();
}

bool CEditSession::IsReady() const { return m_pHarness && m_pHarness->IsReady(); }

void CEditSession::Report(EDIT_EVENT::EKind kind, const std::string& strText, int nIndex) {
  if (!m_pfnHandler) return;
  EDIT_EVENT event;
  event.kind = kind;
  event.strText = strText;
  event.nIndex = nIndex;
  m_pfnHandler(event);
}

// ---- Files ----------------------------------------------------------------------

int CEditSession::FindFile(const std::string& strPathOrName) const {
  for (size_t i = 0; i < m_files.size(); ++i)
    if (m_files[i].strPath == strPathOrName) return static_cast<int>(i);
  for (size_t i = 0; i < m_files.size(); ++i)
    if (m_files[i].strName == strPathOrName) return static_cast<int>(i);
  return -1;
}

int CEditSession::AddFile(const std::string& strPath, std::string& strError) {
  std::string strText;
  if (!ReadFile(strPath, strText, strError)) return -1;
  char szReal[4096];
  const std::string strReal = realpath(strPath.c_str(), szReal) != nullptr ? std::string(szReal) : strPath;
  for (size_t i = 0; i < m_files.size(); ++i) {
    char szOther[4096];
    if (realpath(m_files[i].strPath.c_str(), szOther) != nullptr && strReal == szOther) return static_cast<int>(i);
  }
  CEditFile file;
  file.strPath = strPath;
  file.strName = BaseName(strPath);
  m_files.push_back(file);
  return static_cast<int>(m_files.size()) - 1;
}

void CEditSession::StoreCurrentFile() {
  if (m_nCurrentFile < 0) return;
  CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  file.strText = m_pHarness->GetText().Str();
  file.nLine = m_pHarness->GetCaretLine();
  file.nColumn = m_pHarness->GetCaretColumn();
}

bool CEditSession::OpenFile(int nIndex, std::string& strError) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_files.size())) {
    strError = "no such file";
    return false;
  }
  CEditFile& file = m_files[static_cast<size_t>(nIndex)];
  if (!file.bLoaded) {
    std::string strText;
    if (!ReadFile(file.strPath, strText, strError)) return false;
    file.strDiskText = strText;
    file.strText = strText;
    file.bLoaded = true;
  }
  if (IsListOpen()) CloseList();
  StoreCurrentFile();
  m_nCurrentFile = nIndex;
  m_nFilesSelection = nIndex;
  // The host loads the text: no key messages, so the controller sees nothing.
  m_pHarness->SetText(file.strText.c_str());
  m_pHarness->SetCaret(file.nLine, file.nColumn);
  Report(EDIT_EVENT::fileOpened, file.strName);
  return true;
}

int CEditSession::GetFilesTop() const {
  const RECT rc = m_layout.FilesCells();
  const int nShown = m_bFilesFocused ? m_nFilesSelection : m_nCurrentFile;
  return std::max(0, nShown - static_cast<int>(rc.bottom - rc.top) + 1);
}

bool CEditSession::IsModified() const {
  if (m_nCurrentFile < 0) return false;
  return m_pHarness->GetText().Str() != m_files[static_cast<size_t>(m_nCurrentFile)].strDiskText;
}

bool CEditSession::IsAnyModified() const {
  for (size_t i = 0; i < m_files.size(); ++i) {
    if (static_cast<int>(i) == m_nCurrentFile) {
      if (IsModified()) return true;
    } else if (m_files[i].bLoaded && m_files[i].strText != m_files[i].strDiskText) {
      return true;
    }
  }
  return false;
}

bool CEditSession::Save(std::string& strError) {
  if (m_nCurrentFile < 0) {
    strError = "no file to save";
    return false;
  }
  CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  const std::string strText = m_pHarness->GetText().Str();
  if (!SaveWholeFile(file.strPath.c_str(), strText.data(), strText.size())) {
    strError = "cannot write file: " + file.strPath;
    return false;
  }
  file.strDiskText = strText;
  // The host initialises the controller again: the user catalogue is read
  // anew from the project's scripts, so a function just defined is known.
  m_pHarness->AttachController(m_pHarness->GetEditor());
  Report(EDIT_EVENT::fileSaved, file.strName, static_cast<int>(g_FuncInfoUser.size()));
  return true;
}

// ---- Input ----------------------------------------------------------------------

void CEditSession::TypeChar(char ch) {
  m_strMessage.clear();
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
  m_strMessage.clear();
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
  m_strMessage.clear();
  switch (command) {
    case kCmdComplete:
      if (!m_bFilesFocused) OpenList();
      break;
    case kCmdSave: {
      std::string strError;
      if (Save(strError)) {
        m_strMessage = "saved " + m_files[static_cast<size_t>(m_nCurrentFile)].strName + "; the project defines " +
                       std::to_string(g_FuncInfoUser.size()) + " functions";
      } else {
        m_strMessage = "not saved: " + strError;
      }
      break;
    }
    case kCmdToggleFiles:
      if (m_bFilesFocused)
        FocusEditor();
      else
        FocusFiles();
      break;
  }
}

void CEditSession::ClickText(int nLine, int nColumn) {
  m_strMessage.clear();
  if (IsListOpen()) CloseList();
  if (m_bFilesFocused) FocusEditor();
  m_pHarness->ClickAt(nLine, nColumn);
}

void CEditSession::ClickCell(int nRow, int nColumn) {
  m_strMessage.clear();
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
  if (bWasFiles) Report(EDIT_EVENT::focusEditor);
}

void CEditSession::FocusFiles() {
  if (IsListOpen()) CloseList();
  if (m_bFilesFocused) return;
  m_bFilesFocused = true;
  if (m_nCurrentFile >= 0) m_nFilesSelection = m_nCurrentFile;
  Report(EDIT_EVENT::focusFiles);
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

// ---- The completion list ----------------------------------------------------------

bool CEditSession::IsListOpen() const { return IsWindow(m_list.GetSafeHwnd()) != FALSE; }

bool CEditSession::IsBuiltInImage(int nImage) {
  return nImage == m_pHarness->GetImages().GetImageIndex(CImageListEx::kIdFunctionStd);
}

std::string CEditSession::PrototypeOf(const CString& strName) {
  CZoFuncInfo::const_iterator it = g_FuncInfoStd.find(strName);
  if (it != g_FuncInfoStd.end()) return it->second.Str();
  it = g_FuncInfoUser.find(strName);
  return it != g_FuncInfoUser.end() ? it->second.Str() : std::string();
}

int CEditSession::WordStartBeforeCaret() const {
  const CCodeMaxEditor* pView = GetEditorView();
  if (pView == nullptr) return 0;
  const CCodeMaxDocument& doc = pView->GetDocument();
  const std::string& strLine = doc.GetLine(doc.GetCaretLine());
  int nStart = doc.GetCaretColumn();
  while (nStart > 0 && IsIdentChar(strLine[static_cast<size_t>(nStart - 1)])) --nStart;
  return nStart;
}

std::string CEditSession::WordBeforeCaret(int nFrom) const {
  const CCodeMaxEditor* pView = GetEditorView();
  if (pView == nullptr) return std::string();
  const CCodeMaxDocument& doc = pView->GetDocument();
  const std::string& strLine = doc.GetLine(doc.GetCaretLine());
  const int nColumn = doc.GetCaretColumn();
  if (nFrom < 0 || nFrom > nColumn) return std::string();
  return strLine.substr(static_cast<size_t>(nFrom), static_cast<size_t>(nColumn - nFrom));
}

void CEditSession::OpenList() {
  if (IsListOpen()) CloseList();
  const CCodeMaxEditor* pView = GetEditorView();
  if (pView == nullptr) return;
  // A list view of the host's, sorted by name, that never takes the focus:
  // the editor keeps it, so the tip stays as it is.
  HWND hList = CreateWindowEx(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WC_LISTVIEW, "",
                              WS_POPUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING |
                                  LVS_SHAREIMAGELISTS | LVS_NOCOLUMNHEADER,
                              0, 0, 160, 16, m_pHarness->GetFrame()->GetSafeHwnd(), nullptr, nullptr, nullptr);
  if (hList == nullptr) {
    m_strMessage = "cannot create the completion list";
    return;
  }
  m_pHarness->Controller()->InitFunctionList(hList);
  m_list.Attach(hList);

  const CCodeMaxDocument& doc = pView->GetDocument();
  m_nListLine = doc.GetCaretLine();
  m_nListColumn = WordStartBeforeCaret();
  m_nListTop = 0;

  // The popup: below the word's start, or above it when it does not fit.
  const int nCount = m_list.GetItemCount();
  int nWidth = kListWidthMin;
  for (int i = 0; i < nCount; ++i) nWidth = std::max(nWidth, m_list.GetItemText(i, 0).GetLength() + 4);
  const int nRows = std::max(1, std::min(nCount, kListRowsMax));
  if (nCount > nRows) nWidth += 2 * static_cast<int>(std::to_string(nCount).size()) + 2;  // room for "i/n"
  nWidth = std::min(nWidth, m_layout.GetColumns());
  int nCaretRow = 0;
  int nCaretColumn = 0;
  GetCaretCell(nCaretRow, nCaretColumn);
  const int nWordColumn = nCaretColumn - (doc.GetCaretColumn() - m_nListColumn);
  RECT rc;
  rc.left = std::max(0, std::min(nWordColumn - 3, m_layout.GetColumns() - nWidth));
  rc.right = rc.left + nWidth;
  // Below the caret's row when the rows fit there, else above it, else on
  // the side with more room, shortened; never over the caret's row.
  const int nBelow = m_layout.StatusRow() - (nCaretRow + 1);
  const int nAbove = nCaretRow - 1;
  if (nRows <= nBelow || (nRows > nAbove && nBelow >= nAbove)) {
    rc.top = nCaretRow + 1;
    rc.bottom = rc.top + std::max(1, std::min(nRows, nBelow));
  } else {
    rc.bottom = nCaretRow;
    rc.top = rc.bottom - std::max(1, std::min(nRows, nAbove));
  }
  m_rcListCells = rc;
  const RECT rcPixels = CEditLayout::CellsToPixels(rc);
  m_list.MoveWindow(rcPixels.left, rcPixels.top, rcPixels.right - rcPixels.left, rcPixels.bottom - rcPixels.top);
  ::ShowWindow(hList, SW_SHOWNA);
  Report(EDIT_EVENT::listOpened, std::string(), nCount);
  NarrowList();
}

void CEditSession::CloseList() {
  if (!IsListOpen()) return;
  m_list.DestroyWindow();
  Report(EDIT_EVENT::listClosed);
}

void CEditSession::NarrowList() {
  const CCodeMaxEditor* pView = GetEditorView();
  if (pView == nullptr) return;
  const CCodeMaxDocument& doc = pView->GetDocument();
  if (doc.GetCaretLine() != m_nListLine || doc.GetCaretColumn() < m_nListColumn) {
    CloseList();
    return;
  }
  const std::string strWord = WordBeforeCaret(m_nListColumn);
  for (char ch : strWord) {
    if (!IsIdentChar(ch)) {
      CloseList();
      return;
    }
  }
  const int nIndex = m_list.SelectItem(CString(strWord), true);
  // The match goes to the top, so the names that follow it are in view.
  const int nRows = m_rcListCells.bottom - m_rcListCells.top;
  m_nListTop = std::max(0, std::min(nIndex, m_list.GetItemCount() - nRows));
  KeepListSelectionVisible();
  const bool bSelected = m_list.GetItemCount() > 0;
  Report(EDIT_EVENT::listSelected, bSelected ? m_list.GetItemText(nIndex, 0).Str() : std::string(),
         bSelected ? nIndex : -1);
}

void CEditSession::ListSelect(int nIndex) {
  const int nCount = m_list.GetItemCount();
  if (nCount == 0) return;
  nIndex = std::max(0, std::min(nIndex, nCount - 1));
  m_list.SelectItemByIndex(nIndex, true, true, true);
  KeepListSelectionVisible();
  Report(EDIT_EVENT::listSelected, m_list.GetItemText(nIndex, 0).Str(), nIndex);
}

void CEditSession::KeepListSelectionVisible() {
  const int nSelected = m_list.GetNextItem(-1, LVNI_SELECTED);
  const int nRows = m_rcListCells.bottom - m_rcListCells.top;
  if (nSelected < 0) return;
  if (nSelected < m_nListTop) m_nListTop = nSelected;
  if (nSelected >= m_nListTop + nRows) m_nListTop = nSelected - nRows + 1;
}

bool CEditSession::ListKey(UINT nVirtKey) {
  const int nSelected = std::max(m_list.GetNextItem(-1, LVNI_SELECTED), 0);
  const int nRows = m_rcListCells.bottom - m_rcListCells.top;
  switch (nVirtKey) {
    case VK_UP: ListSelect(nSelected - 1); return true;
    case VK_DOWN: ListSelect(m_list.GetNextItem(-1, LVNI_SELECTED) < 0 ? 0 : nSelected + 1); return true;
    case VK_PRIOR: ListSelect(nSelected - nRows + 1); return true;
    case VK_NEXT: ListSelect(nSelected + nRows - 1); return true;
    case VK_HOME: ListSelect(0); return true;
    case VK_END: ListSelect(m_list.GetItemCount() - 1); return true;
    case VK_RETURN:
    case VK_TAB: AcceptList(); return true;
    case VK_ESCAPE: CloseList(); return true;
    case VK_BACK: return false;  // edits the word; the list follows
    default: CloseList(); return false;
  }
}

void CEditSession::AcceptList() {
  const int nSelected = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (nSelected < 0) {
    CloseList();
    return;
  }
  const std::string strName = m_list.GetItemText(nSelected, 0).Str();
  const int nErase = static_cast<int>(WordBeforeCaret(m_nListColumn).size());
  CloseList();
  // The name replaces the word as if the user typed it, so the controller
  // sees every key.
  for (int i = 0; i < nErase; ++i) m_pHarness->TypeChar('\b');
  m_pHarness->TypeText(strName.c_str());
  Report(EDIT_EVENT::listInserted, strName);
}

// ---- State for drawing ------------------------------------------------------------

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
