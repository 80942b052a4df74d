// The progress line erases itself with the terminal sequence ESC [ K, which
// a Windows console (10 and later) reads once virtual-terminal processing
// is on for it. Turned on at start-up when standard error is a console.
#include <windows.h>

namespace {

const bool g_bVirtualTerminal = [] {
  const HANDLE hError = GetStdHandle(STD_ERROR_HANDLE);
  DWORD nMode = 0;
  return GetConsoleMode(hError, &nMode) && SetConsoleMode(hError, nMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}();

}  // namespace
