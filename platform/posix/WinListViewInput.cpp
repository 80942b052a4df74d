// Keyboard and mouse input of list views: the arrow, page, Home and End keys
// and clicks move the selection and the focused item, as a user expects.
#include <algorithm>

#include "internal/WinListView.h"

namespace {

// Makes item i the only selected item and the focused one, and shows it.
void SelectOnly(HWND hWnd, CSimListView& view, int i) {
  for (CSimListItem& item : view.items) item.nState &= ~LVIS_SELECTED;
  SimListViewSetState(hWnd, view, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SimListViewEnsureVisible(hWnd, view, i);
  InvalidateRect(hWnd, nullptr, TRUE);
}

int FocusedItem(const CSimListView& view) {
  for (int i = 0; i < view.Count(); ++i)
    if ((view.items[static_cast<size_t>(i)].nState & LVIS_FOCUSED) != 0) return i;
  return -1;
}

// The item a navigation key leads to from the focused one, or -1 for other keys.
int Target(HWND hWnd, const CSimListView& view, int nVirtKey) {
  int nFocused = FocusedItem(view);
  int nPage = SimListViewCountPerPage(hWnd);
  int nLast = view.Count() - 1;
  switch (nVirtKey) {
    case VK_UP:
      return nFocused < 0 ? 0 : std::max(nFocused - 1, 0);
    case VK_DOWN:
      return nFocused < 0 ? 0 : std::min(nFocused + 1, nLast);
    case VK_PRIOR:
      return std::max((nFocused < 0 ? 0 : nFocused) - nPage + 1, 0);
    case VK_NEXT:
      return std::min((nFocused < 0 ? 0 : nFocused) + nPage - 1, nLast);
    case VK_HOME:
      return 0;
    case VK_END:
      return nLast;
    default:
      return -1;
  }
}

}  // namespace

bool SimListViewInput(HWND hWnd, CSimListView& view, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_KEYDOWN) {
    if (view.Count() == 0) return false;
    int nTarget = Target(hWnd, view, static_cast<int>(wParam));
    if (nTarget < 0) return false;
    SelectOnly(hWnd, view, nTarget);
    return true;
  }
  if (nMsg == WM_LBUTTONDOWN) {
    // Clicks take the focus, as controls do; the row under the point is
    // selected (rows start at the client area's top).
    SetFocus(hWnd);
    int y = static_cast<short>(HIWORD(lParam));
    int nRow = y < 0 ? -1 : view.nTop + y / NIMBO_LISTVIEW_ROW_HEIGHT;
    if (view.Valid(nRow)) SelectOnly(hWnd, view, nRow);
    return true;
  }
  return false;
}
