// Registration of the common control classes.
#include "Win32CommCtrl.h"

#include "internal/WinListView.h"

void WINAPI InitCommonControls() {
  WNDCLASS wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = SimListViewProc;
  wc.lpszClassName = WC_LISTVIEW;
  RegisterClass(&wc);  // fails harmlessly when already registered
}

namespace {
// Registers the classes when the platform library is loaded, as the system
// does for a process that links the common controls.
struct CCommonControlsRegistrar {
  CCommonControlsRegistrar() { InitCommonControls(); }
} g_commonControlsRegistrar;
}  // namespace
