// The list-view window procedure: the list-view messages on items, columns,
// states and image lists of every "SysListView32" window.
#include "internal/WinListView.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Win32CommCtrl.h"
#include "CrtMbString.h"

namespace {

std::map<HWND, std::unique_ptr<CSimListView>>& Views() {
  static auto* s_pViews = new std::map<HWND, std::unique_ptr<CSimListView>>;  // outlives static destructors
  return *s_pViews;
}

CSimListView* FindView(HWND hWnd) {
  auto it = Views().find(hWnd);
  return it == Views().end() ? nullptr : it->second.get();
}

int NoCaseCompare(const std::string& a, LPCSTR b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b));
}

bool StartsWithNoCase(const std::string& text, LPCSTR pszPrefix) {
  size_t nLength = strlen(pszPrefix);
  if (text.size() < nLength) return false;
  return NoCaseCompare(text.substr(0, nLength), pszPrefix) == 0;
}

int CopyText(const std::string& text, LPSTR pszBuffer, int cchMax) {
  if (pszBuffer == nullptr || cchMax <= 0) return 0;
  size_t nCopy = std::min(text.size(), static_cast<size_t>(cchMax - 1));
  memcpy(pszBuffer, text.data(), nCopy);
  pszBuffer[nCopy] = '\0';
  return static_cast<int>(nCopy);
}

LRESULT InsertItem(HWND hWnd, CSimListView& view, const LVITEM* pItem) {
  if (pItem == nullptr || pItem->iItem < 0 || pItem->iSubItem != 0) return -1;
  CSimListItem item;
  item.SetText(0, (pItem->mask & LVIF_TEXT) != 0 ? pItem->pszText : "");
  if ((pItem->mask & LVIF_IMAGE) != 0) item.nImage = pItem->iImage;
  if ((pItem->mask & LVIF_PARAM) != 0) item.lParam = pItem->lParam;
  int i = std::min(pItem->iItem, view.Count());
  DWORD dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
  if ((dwStyle & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) != 0) {
    // A sorted list ignores the requested position; equal texts keep insertion order.
    bool bAscending = (dwStyle & LVS_SORTASCENDING) != 0;
    const char* pszText = item.texts[0].c_str();
    i = 0;
    while (i < view.Count()) {
      int nCompare = NoCaseCompare(view.items[static_cast<size_t>(i)].texts[0], pszText);
      if (bAscending ? nCompare > 0 : nCompare < 0) break;
      ++i;
    }
  }
  view.items.insert(view.items.begin() + i, std::move(item));
  if (view.nSelectionMark >= i) ++view.nSelectionMark;
  if ((pItem->mask & LVIF_STATE) != 0) SimListViewSetState(hWnd, view, i, pItem->state, pItem->stateMask);
  InvalidateRect(hWnd, nullptr, TRUE);
  return i;
}

LRESULT GetItem(const CSimListView& view, LVITEM* pItem) {
  if (pItem == nullptr || !view.Valid(pItem->iItem)) return FALSE;
  const CSimListItem& item = view.items[static_cast<size_t>(pItem->iItem)];
  if ((pItem->mask & LVIF_TEXT) != 0) CopyText(item.Text(pItem->iSubItem), pItem->pszText, pItem->cchTextMax);
  if ((pItem->mask & LVIF_IMAGE) != 0) pItem->iImage = item.nImage;
  if ((pItem->mask & LVIF_PARAM) != 0) pItem->lParam = item.lParam;
  if ((pItem->mask & LVIF_STATE) != 0) pItem->state = item.nState & pItem->stateMask;
  return TRUE;
}

LRESULT SetItem(HWND hWnd, CSimListView& view, const LVITEM* pItem) {
  if (pItem == nullptr || !view.Valid(pItem->iItem)) return FALSE;
  CSimListItem& item = view.items[static_cast<size_t>(pItem->iItem)];
  if ((pItem->mask & LVIF_TEXT) != 0) item.SetText(pItem->iSubItem, pItem->pszText);
  if (pItem->iSubItem == 0) {
    if ((pItem->mask & LVIF_IMAGE) != 0) item.nImage = pItem->iImage;
    if ((pItem->mask & LVIF_PARAM) != 0) item.lParam = pItem->lParam;
    if ((pItem->mask & LVIF_STATE) != 0) SimListViewSetState(hWnd, view, pItem->iItem, pItem->state, pItem->stateMask);
  }
  InvalidateRect(hWnd, nullptr, TRUE);
  return TRUE;
}

LRESULT GetNextItem(const CSimListView& view, int nStart, UINT nFlags) {
  UINT nWanted = nFlags & (LVNI_SELECTED | LVNI_FOCUSED);
  for (int i = nStart < 0 ? 0 : nStart + 1; i < view.Count(); ++i)
    if ((view.items[static_cast<size_t>(i)].nState & nWanted) == nWanted) return i;
  return -1;
}

bool FindMatches(const CSimListItem& item, const LVFINDINFO& info) {
  if ((info.flags & LVFI_PARAM) != 0) return item.lParam == info.lParam;
  if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == nullptr) return false;
  if ((info.flags & LVFI_PARTIAL) != 0) return StartsWithNoCase(item.texts[0], info.psz);
  return NoCaseCompare(item.texts[0], info.psz) == 0;
}

LRESULT FindItem(const CSimListView& view, int nStart, const LVFINDINFO* pInfo) {
  if (pInfo == nullptr) return -1;
  int nFirst = nStart < 0 ? 0 : nStart + 1;
  for (int i = nFirst; i < view.Count(); ++i)
    if (FindMatches(view.items[static_cast<size_t>(i)], *pInfo)) return i;
  if ((pInfo->flags & LVFI_WRAP) != 0)
    for (int i = 0; i < nFirst && i < view.Count(); ++i)
      if (FindMatches(view.items[static_cast<size_t>(i)], *pInfo)) return i;
  return -1;
}

LRESULT InsertColumn(CSimListView& view, int nPosition, const LVCOLUMN* pColumn) {
  if (pColumn == nullptr || nPosition < 0) return -1;
  CSimListColumn column;
  if ((pColumn->mask & LVCF_TEXT) != 0 && pColumn->pszText != nullptr) column.strText = pColumn->pszText;
  if ((pColumn->mask & LVCF_FMT) != 0) column.nFormat = pColumn->fmt;
  if ((pColumn->mask & LVCF_WIDTH) != 0 && pColumn->cx >= 0) column.nWidth = pColumn->cx;
  int i = std::min(nPosition, static_cast<int>(view.columns.size()));
  column.nSubItem = (pColumn->mask & LVCF_SUBITEM) != 0 ? pColumn->iSubItem : i;
  view.columns.insert(view.columns.begin() + i, column);
  return i;
}

LRESULT GetColumn(const CSimListView& view, int i, LVCOLUMN* pColumn) {
  if (pColumn == nullptr || i < 0 || static_cast<size_t>(i) >= view.columns.size()) return FALSE;
  const CSimListColumn& column = view.columns[static_cast<size_t>(i)];
  if ((pColumn->mask & LVCF_TEXT) != 0) CopyText(column.strText, pColumn->pszText, pColumn->cchTextMax);
  if ((pColumn->mask & LVCF_FMT) != 0) pColumn->fmt = column.nFormat;
  if ((pColumn->mask & LVCF_WIDTH) != 0) pColumn->cx = column.nWidth;
  if ((pColumn->mask & LVCF_SUBITEM) != 0) pColumn->iSubItem = column.nSubItem;
  return TRUE;
}

LRESULT SetColumn(CSimListView& view, int i, const LVCOLUMN* pColumn) {
  if (pColumn == nullptr || i < 0 || static_cast<size_t>(i) >= view.columns.size()) return FALSE;
  CSimListColumn& column = view.columns[static_cast<size_t>(i)];
  if ((pColumn->mask & LVCF_TEXT) != 0) column.strText = pColumn->pszText != nullptr ? pColumn->pszText : "";
  if ((pColumn->mask & LVCF_FMT) != 0) column.nFormat = pColumn->fmt;
  if ((pColumn->mask & LVCF_WIDTH) != 0 && pColumn->cx >= 0) column.nWidth = pColumn->cx;
  if ((pColumn->mask & LVCF_SUBITEM) != 0) column.nSubItem = pColumn->iSubItem;
  return TRUE;
}

// The list-view messages proper; the window exists and has its data.
LRESULT ListViewMessage(HWND hWnd, CSimListView& view, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  int i = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (nMsg) {
    case LVM_GETIMAGELIST:
      return wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(view.imageLists[wParam]) : 0;
    case LVM_SETIMAGELIST: {
      if (wParam > LVSIL_STATE) return 0;
      HIMAGELIST hOld = view.imageLists[wParam];
      view.imageLists[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
      return reinterpret_cast<LRESULT>(hOld);
    }
    case LVM_GETITEMCOUNT:
      return view.Count();
    case LVM_GETITEM:
      return GetItem(view, reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEM:
      return SetItem(hWnd, view, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_INSERTITEM:
      return InsertItem(hWnd, view, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_DELETEITEM:
      if (!view.Valid(i)) return FALSE;
      view.items.erase(view.items.begin() + i);
      if (view.nSelectionMark == i) view.nSelectionMark = -1;
      else if (view.nSelectionMark > i) --view.nSelectionMark;
      view.nTop = std::max(0, std::min(view.nTop, view.Count() - 1));
      InvalidateRect(hWnd, nullptr, TRUE);
      return TRUE;
    case LVM_DELETEALLITEMS:
      view.items.clear();
      view.nTop = 0;
      view.nSelectionMark = -1;
      InvalidateRect(hWnd, nullptr, TRUE);
      return TRUE;
    case LVM_GETNEXTITEM:
      return GetNextItem(view, i, static_cast<UINT>(lParam));
    case LVM_FINDITEM:
      return FindItem(view, i, reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_ENSUREVISIBLE:
      return SimListViewEnsureVisible(hWnd, view, i) ? TRUE : FALSE;
    case LVM_GETTOPINDEX:
      return view.nTop;
    case LVM_GETCOUNTPERPAGE:
      return SimListViewCountPerPage(hWnd);
    case LVM_SETITEMSTATE: {
      const LVITEM* pItem = reinterpret_cast<const LVITEM*>(lParam);
      if (pItem == nullptr) return FALSE;
      if (i == -1) {
        for (CSimListItem& item : view.items) item.nState = (item.nState & ~pItem->stateMask) | (pItem->state & pItem->stateMask);
        return TRUE;
      }
      if (!view.Valid(i)) return FALSE;
      SimListViewSetState(hWnd, view, i, pItem->state, pItem->stateMask);
      InvalidateRect(hWnd, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETITEMSTATE:
      return view.Valid(i) ? static_cast<LRESULT>(view.items[static_cast<size_t>(i)].nState & static_cast<UINT>(lParam)) : 0;
    case LVM_GETITEMTEXT: {
      LVITEM* pItem = reinterpret_cast<LVITEM*>(lParam);
      if (pItem == nullptr) return 0;
      if (!view.Valid(i)) return CopyText(std::string(), pItem->pszText, pItem->cchTextMax);
      return CopyText(view.items[static_cast<size_t>(i)].Text(pItem->iSubItem), pItem->pszText, pItem->cchTextMax);
    }
    case LVM_SETITEMTEXT: {
      const LVITEM* pItem = reinterpret_cast<const LVITEM*>(lParam);
      if (pItem == nullptr || !view.Valid(i)) return FALSE;
      view.items[static_cast<size_t>(i)].SetText(pItem->iSubItem, pItem->pszText);
      InvalidateRect(hWnd, nullptr, TRUE);
      return TRUE;
    }
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(view.items.begin(), view.items.end(),
                           [](const CSimListItem& item) { return (item.nState & LVIS_SELECTED) != 0; });
    case LVM_GETSELECTIONMARK:
      return view.nSelectionMark;
    case LVM_SETSELECTIONMARK: {
      int nOld = view.nSelectionMark;
      view.nSelectionMark = static_cast<int>(lParam);
      return nOld;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD dwOld = view.dwExStyle;
      DWORD dwMask = wParam == 0 ? 0xFFFFFFFF : static_cast<DWORD>(wParam);
      view.dwExStyle = (view.dwExStyle & ~dwMask) | (static_cast<DWORD>(lParam) & dwMask);
      return dwOld;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return view.dwExStyle;
    case LVM_INSERTCOLUMN:
      return InsertColumn(view, i, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN:
      if (i < 0 || static_cast<size_t>(i) >= view.columns.size()) return FALSE;
      view.columns.erase(view.columns.begin() + i);
      return TRUE;
    case LVM_GETCOLUMN:
      return GetColumn(view, i, reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMN:
      return SetColumn(view, i, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_GETCOLUMNWIDTH:
      return i >= 0 && static_cast<size_t>(i) < view.columns.size() ? view.columns[static_cast<size_t>(i)].nWidth : 0;
    case LVM_SETCOLUMNWIDTH:
      if (i < 0 || static_cast<size_t>(i) >= view.columns.size()) return FALSE;
      // Negative widths ask for automatic sizing; without drawing, a fixed width stands in.
      view.columns[static_cast<size_t>(i)].nWidth = static_cast<short>(LOWORD(lParam)) < 0 ? 100 : static_cast<short>(LOWORD(lParam));
      return TRUE;
    default:
      if (SimListViewInput(hWnd, view, nMsg, wParam, lParam)) return 0;
      return DefWindowProc(hWnd, nMsg, wParam, lParam);
  }
}

}  // namespace

void SimListViewSetState(HWND hWnd, CSimListView& view, int i, UINT nState, UINT nMask) {
  CSimListItem& item = view.items[static_cast<size_t>(i)];
  item.nState = (item.nState & ~nMask) | (nState & nMask);
  bool bSingle = (GetWindowLong(hWnd, GWL_STYLE) & LVS_SINGLESEL) != 0;
  for (int j = 0; j < view.Count(); ++j) {
    if (j == i) continue;
    CSimListItem& other = view.items[static_cast<size_t>(j)];
    if ((item.nState & nMask & LVIS_FOCUSED) != 0) other.nState &= ~LVIS_FOCUSED;
    if (bSingle && (item.nState & nMask & LVIS_SELECTED) != 0) other.nState &= ~LVIS_SELECTED;
  }
  if ((nMask & LVIS_SELECTED) != 0 && (nState & LVIS_SELECTED) != 0) view.nSelectionMark = i;
}

int SimListViewCountPerPage(HWND hWnd) {
  RECT rc = {0, 0, 0, 0};
  GetClientRect(hWnd, &rc);
  return std::max(1, static_cast<int>(rc.bottom - rc.top) / NIMBO_LISTVIEW_ROW_HEIGHT);
}

bool SimListViewEnsureVisible(HWND hWnd, CSimListView& view, int i) {
  if (!view.Valid(i)) return false;
  int nPage = SimListViewCountPerPage(hWnd);
  if (i < view.nTop)
    view.nTop = i;
  else if (i >= view.nTop + nPage)
    view.nTop = i - nPage + 1;
  return true;
}

LRESULT CALLBACK SimListViewProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_NCCREATE) Views()[hWnd] = std::make_unique<CSimListView>();
  CSimListView* pView = FindView(hWnd);
  if (nMsg == WM_NCDESTROY) {
    if (pView != nullptr && (GetWindowLong(hWnd, GWL_STYLE) & LVS_SHAREIMAGELISTS) == 0)
      for (HIMAGELIST hList : pView->imageLists)
        if (hList != nullptr) ImageList_Destroy(hList);
    Views().erase(hWnd);
    return DefWindowProc(hWnd, nMsg, wParam, lParam);
  }
  if (pView == nullptr) return DefWindowProc(hWnd, nMsg, wParam, lParam);
  return ListViewMessage(hWnd, *pView, nMsg, wParam, lParam);
}
