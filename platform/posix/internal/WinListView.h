// The list-view window procedure and the data of each list view (internal to
// the platform layer; windows reach it through the "SysListView32" class).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "Win32CommCtrl.h"
#include "Win32User.h"

struct CSimListItem {
  std::vector<std::string> texts;  // [0] the item, then its sub-items
  int nImage = 0;
  LPARAM lParam = 0;
  UINT nState = 0;

  const std::string& Text(int nSubItem) const {
    static const std::string s_empty;
    return nSubItem >= 0 && static_cast<size_t>(nSubItem) < texts.size() ? texts[static_cast<size_t>(nSubItem)]
                                                                            : s_empty;
  }
  void SetText(int nSubItem, LPCSTR psz) {
    if (nSubItem < 0) return;
    if (texts.size() <= static_cast<size_t>(nSubItem)) texts.resize(static_cast<size_t>(nSubItem) + 1);
    texts[static_cast<size_t>(nSubItem)] = psz != nullptr ? psz : "";
  }
};

struct CSimListColumn {
  std::string strText;
  int nFormat = LVCFMT_LEFT;
  int nWidth = 100;
  int nSubItem = 0;
};

struct CSimListView {
  // A deque, so that filling a list by inserting every item at position 0
  // (as the completion list does) stays linear in the number of items.
  std::deque<CSimListItem> items;
  std::vector<CSimListColumn> columns;
  HIMAGELIST imageLists[3] = {nullptr, nullptr, nullptr};
  int nTop = 0;
  int nSelectionMark = -1;
  DWORD dwExStyle = 0;

  bool Valid(int i) const { return i >= 0 && static_cast<size_t>(i) < items.size(); }
  int Count() const { return static_cast<int>(items.size()); }
};

LRESULT CALLBACK SimListViewProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Applies a state change to item i, keeping one focused item and, in a
// single-selection list, one selected item.
void SimListViewSetState(HWND hWnd, CSimListView& view, int i, UINT nState, UINT nMask);
// Rows that fit in the client area, at least 1.
int SimListViewCountPerPage(HWND hWnd);
// Scrolls so that item i is visible; false when there is no such item.
bool SimListViewEnsureVisible(HWND hWnd, CSimListView& view, int i);
// Keyboard and mouse: moves the selection and focus; true when the message
// was one of the list view's own input messages.
bool SimListViewInput(HWND hWnd, CSimListView& view, UINT nMsg, WPARAM wParam, LPARAM lParam);
