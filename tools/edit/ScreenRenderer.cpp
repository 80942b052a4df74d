// RenderEditSession: the editor's screen, part by part.
#include "tools/edit/ScreenRenderer.h"

#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "CListCtrl.h"
#include "codemax/CCodeMaxEditor.h"
#include "module/SharedCatalogs.h"

namespace {

// The folder of a file as a person reads it: absolute, the home folder as
// "~", cut at the left to at most nMax characters.
std::string FolderForTitle(const std::string& strPath, size_t nMax) {
  char szReal[PATH_MAX];
  std::string strFolder = realpath(strPath.c_str(), szReal) != nullptr ? std::string(szReal) : strPath;
  strFolder = strFolder.substr(0, strFolder.find_last_of('/') + 1);
  if (strFolder.size() > 1) strFolder.pop_back();
  const char* pszHome = std::getenv("HOME");
  const std::string strHome = pszHome != nullptr ? pszHome : "";
  if (strHome.size() > 1 && strFolder.compare(0, strHome.size(), strHome) == 0 &&
      (strFolder.size() == strHome.size() || strFolder[strHome.size()] == '/'))
    strFolder = "~" + strFolder.substr(strHome.size());
  if (strFolder.size() > nMax && nMax > 3) strFolder = "..." + strFolder.substr(strFolder.size() - (nMax - 3));
  return strFolder;
}

void RenderTitle(CEditSession& session, CScreenGrid& grid) {
  const int nColumns = grid.GetColumns();
  grid.Fill(0, 0, nColumns, ' ', kAttrTitle);
  std::string strLeft = " Nimbo edit";
  const int nFile = session.GetCurrentFile();
  if (nFile >= 0) {
    const CEditFile& file = session.GetFiles()[static_cast<size_t>(nFile)];
    strLeft += " - " + file.strName;
    const std::string strModified = session.IsModified() ? " [modified]" : "";
    const size_t nUsed = strLeft.size() + 4 + strModified.size() + 1;
    if (session.IsFolderInTitle() && nUsed + 8 < static_cast<size_t>(nColumns))
      strLeft += " in " + FolderForTitle(file.strPath, static_cast<size_t>(nColumns) - nUsed);
    strLeft += strModified;
  }
  const std::string strRight = std::to_string(g_FuncInfoStd.size()) + " built-in + " +
                               std::to_string(g_FuncInfoUser.size()) + " project functions ";
  grid.Put(0, 0, strLeft, kAttrTitle);
  if (static_cast<int>(strLeft.size() + strRight.size()) + 2 <= nColumns)
    grid.Put(0, nColumns - static_cast<int>(strRight.size()), strRight, kAttrTitle);
}

void RenderFiles(CEditSession& session, CScreenGrid& grid) {
  const CEditLayout& layout = session.GetLayout();
  const RECT rc = layout.FilesCells();
  grid.Fill(rc.top - 1, rc.left, rc.right, ' ', kAttrHeading);
  grid.Put(rc.top - 1, rc.left, " Files", kAttrHeading, rc.right);
  const std::vector<CEditFile>& files = session.GetFiles();
  const int nFirst = session.GetFilesTop();
  for (int nRow = rc.top; nRow < rc.bottom; ++nRow) {
    const int nFile = nFirst + nRow - rc.top;
    if (nFile >= static_cast<int>(files.size())) break;
    EScreenAttr attr = nFile == session.GetCurrentFile() ? kAttrFileCurrent : kAttrFile;
    if (session.IsFilesFocused() && nFile == session.GetFilesSelection()) attr = kAttrFileSelected;
    grid.Fill(nRow, rc.left, rc.right, ' ', attr);
    const char* pszMark = nFile == session.GetCurrentFile() ? ">" : " ";
    grid.Put(nRow, rc.left, pszMark + files[static_cast<size_t>(nFile)].strName, attr, rc.right);
  }
  for (int nRow = 1; nRow < layout.StatusRow(); ++nRow) grid.Put(nRow, layout.SeparatorColumn(), "|", kAttrBorder);
}

void RenderEditor(CEditSession& session, CScreenGrid& grid) {
  const CCodeMaxEditor* pView = session.GetEditorView();
  if (pView == nullptr) return;
  const CEditLayout& layout = session.GetLayout();
  const RECT rcGutter = layout.GutterCells();
  const RECT rcText = layout.EditorCells();
  const CCodeMaxDocument& doc = pView->GetDocument();
  for (int nRow = rcText.top; nRow < rcText.bottom; ++nRow) {
    const int nLine = pView->GetTopLine() + nRow - rcText.top;
    if (nLine >= doc.GetLineCount()) break;
    char szNumber[16];
    std::snprintf(szNumber, sizeof(szNumber), "%4d ", nLine + 1);
    grid.Put(nRow, rcGutter.left, szNumber, kAttrGutter, rcGutter.right);
    const std::string& strLine = doc.GetLine(nLine);
    if (static_cast<int>(strLine.size()) > pView->GetLeftColumn())
      grid.Put(nRow, rcText.left, strLine.substr(static_cast<size_t>(pView->GetLeftColumn())), kAttrNormal,
               rcText.right);
  }
  int nRow = 0;
  int nColumn = 0;
  if (session.GetCaretCell(nRow, nColumn)) grid.SetCaret(nRow, nColumn);
}

// The tip window as the library left it: its rectangle in screen pixels,
// its text on one row of cells (the cell holding the middle of the text's
// first character), the marked parameter as its own attribute.
void RenderTip(CEditSession& session, CScreenGrid& grid) {
  CEditorHarness& harness = session.GetHarness();
  const CCodeMaxEditor* pView = session.GetEditorView();
  if (!harness.IsTipOpen() || pView == nullptr) return;
  const RECT rcTip = harness.GetTipRect();
  const int cx = pView->GetCharWidth();
  const int cy = pView->GetLineHeight();
  const int nPadding = CZoToolTipStaticFunc::kPadding;
  const int nRow = CEditLayout::RowOfPixel(rcTip.top + nPadding + cy / 2, cy);
  const int nColumn = CEditLayout::ColumnOfPixel(rcTip.left + nPadding + cx / 2, cx);
  const CZoToolTipStaticFunc* pTip = harness.GetTip();
  const std::string strText = pTip->GetText().Str() + " ";
  grid.Put(nRow, nColumn, strText, kAttrTip);
  int nFirst = -1;
  int nCount = 0;
  if (pTip->GetMarkedRange(nFirst, nCount)) grid.SetAttr(nRow, nColumn + nFirst, nColumn + nFirst + nCount, kAttrTipMark);
}

void RenderList(CEditSession& session, CScreenGrid& grid) {
  if (!session.IsListOpen()) return;
  CListCtrl& list = session.GetList();
  const RECT rc = session.GetListCells();
  const int nCount = list.GetItemCount();
  const int nSelected = list.GetNextItem(-1, LVNI_SELECTED);
  for (int nRow = rc.top; nRow < rc.bottom; ++nRow) {
    const int nItem = session.GetListTop() + nRow - rc.top;
    if (nCount == 0 && nRow == rc.top) {
      grid.Fill(nRow, rc.left, rc.right, ' ', kAttrList);
      grid.Put(nRow, rc.left, " (no functions)", kAttrList, rc.right);
      continue;
    }
    if (nItem >= nCount) break;
    LVITEM item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    list.GetItem(&item);
    const bool bBuiltIn = session.IsBuiltInImage(item.iImage);
    const EScreenAttr attr = nItem == nSelected ? kAttrListSelected : kAttrList;
    grid.Fill(nRow, rc.left, rc.right, ' ', attr);
    grid.Put(nRow, rc.left, nItem == nSelected ? ">" : " ", attr, rc.right);
    grid.Put(nRow, rc.left + 1, bBuiltIn ? "B" : "P", bBuiltIn ? kAttrListBuiltIn : kAttrListProject, rc.right);
    grid.Put(nRow, rc.left + 3, list.GetItemText(nItem, 0).Str(), attr, rc.right);
  }
  // More items than rows: a hint of the position at the popup's bottom edge.
  if (nCount > rc.bottom - rc.top) {
    const std::string strMore = std::to_string(std::max(nSelected, 0) + 1) + "/" + std::to_string(nCount);
    grid.Put(rc.bottom - 1, rc.right - static_cast<int>(strMore.size()), strMore, kAttrList, rc.right);
  }
}

void RenderStatus(CEditSession& session, CScreenGrid& grid) {
  const int nColumns = grid.GetColumns();
  const int nRow = session.GetLayout().StatusRow();
  grid.Fill(nRow, 0, nColumns, ' ', kAttrStatus);
  std::string strRight;
  if (const CCodeMaxEditor* pView = session.GetEditorView()) {
    const CCodeMaxDocument& doc = pView->GetDocument();
    strRight = "Ln " + std::to_string(doc.GetCaretLine() + 1) + ", Col " + std::to_string(doc.GetCaretColumn() + 1) + " ";
  }
  const int nRight = nColumns - static_cast<int>(strRight.size());
  grid.Put(nRow, nRight, strRight, kAttrStatus);
  if (!session.GetMessage().empty()) {
    grid.Put(nRow, 0, " " + session.GetMessage(), kAttrMessage, nRight - 1);
    return;
  }
  std::string strPrototype;
  const std::string strName = session.GetStatusFunction(strPrototype);
  if (strName.empty()) {
    grid.Put(nRow, 0, " no function at the caret", kAttrStatus, nRight - 1);
    return;
  }
  int nColumn = grid.Put(nRow, 0, " " + strName, kAttrStatusName, nRight - 1);
  nColumn = grid.Put(nRow, nColumn, ": " + strPrototype, kAttrStatus, nRight - 1);
  CEditorHarness& harness = session.GetHarness();
  int nFirst = -1;
  int nCount = 0;
  if (harness.IsTipOpen() && harness.GetTip()->GetMarkedRange(nFirst, nCount)) {
    const std::string strMark = harness.GetTip()->GetText().Str().substr(static_cast<size_t>(nFirst),
                                                                        static_cast<size_t>(nCount));
    grid.Put(nRow, nColumn, "  arg " + std::to_string(harness.GetTip()->GetCurrentParam() + 1) + ": " + strMark,
             kAttrStatusName, nRight - 1);
  }
}

void RenderHelp(CEditSession& session, CScreenGrid& grid) {
  const int nRow = session.GetLayout().HelpRow();
  grid.Fill(nRow, 0, grid.GetColumns(), ' ', kAttrHelp);
  static const char* const s_editor[] = {"^Space", "functions", "F2", "files", "^S", "save",
                                         "Esc", "close tip", "^Q", "quit", nullptr};
  static const char* const s_list[] = {"Up/Down", "choose", "Enter", "insert", "Esc", "close", "typing", "narrows",
                                       nullptr};
  static const char* const s_files[] = {"Up/Down", "choose", "Enter", "open", "F2/Esc", "editor", "^Q", "quit",
                                        nullptr};
  const char* const* ppszKeys = session.IsFilesFocused() ? s_files : session.IsListOpen() ? s_list : s_editor;
  int nColumn = 0;
  for (int i = 0; ppszKeys[i] != nullptr; i += 2) {
    nColumn = grid.Put(nRow, nColumn + 1, ppszKeys[i], kAttrHelpKey);
    nColumn = grid.Put(nRow, nColumn, std::string(" ") + ppszKeys[i + 1] + " ", kAttrHelp);
  }
}

}  // namespace

CScreenGrid RenderEditSession(CEditSession& session) {
  const CEditLayout& layout = session.GetLayout();
  CScreenGrid grid(layout.GetColumns(), layout.GetRows());
  RenderTitle(session, grid);
  RenderFiles(session, grid);
  RenderEditor(session, grid);
  RenderTip(session, grid);
  RenderList(session, grid);
  RenderStatus(session, grid);
  RenderHelp(session, grid);
  return grid;
}
