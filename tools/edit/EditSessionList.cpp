// CEditSession: the completion-list popup, filled by the controller's list.
#include "tools/edit/EditSession.h"

#include <algorithm>
#include <cctype>

#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "module/SharedCatalogs.h"

namespace {

const int kListRowsMax = 8;
const int kListWidthMin = 18;

}  // namespace

bool CEditSession::IsListOpen() const { return IsWindow(m_list.GetSafeHwnd()) != FALSE; }

bool CEditSession::IsBuiltInImage(int nImage) {
  return nImage == m_pHarness->GetImages().GetImageIndex(CImageListEx::kIdFunctionStd);
}

std::string CEditSession::PrototypeOf(const CString& strName) {
  const CString* pPrototype = FindSharedPrototype(strName);
  return pPrototype != nullptr ? pPrototype->Str() : std::string();
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
  Report(CEditEvent::listOpened, std::string(), nCount);
  NarrowList();
}

void CEditSession::CloseList() {
  if (!IsListOpen()) return;
  m_list.DestroyWindow();
  Report(CEditEvent::listClosed);
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
  Report(CEditEvent::listSelected, bSelected ? m_list.GetItemText(nIndex, 0).Str() : std::string(),
         bSelected ? nIndex : -1);
}

void CEditSession::ListSelect(int nIndex) {
  const int nCount = m_list.GetItemCount();
  if (nCount == 0) return;
  nIndex = std::max(0, std::min(nIndex, nCount - 1));
  m_list.SelectItemByIndex(nIndex, true, true, true);
  KeepListSelectionVisible();
  Report(CEditEvent::listSelected, m_list.GetItemText(nIndex, 0).Str(), nIndex);
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
  Report(CEditEvent::listInserted, strName);
}
