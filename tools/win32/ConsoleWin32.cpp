// What nimbo.exe asks of a Windows console it writes to, set up at start-up:
// - the tool's text is UTF-8 (the program's code page, Utf8Process.rc), and
//   a console shows the bytes it is given in its own output code page, which
//   is the system's OEM one (437, 850...) until a program changes it; so it
//   becomes UTF-8 while the tool runs, and the one it had comes back at exit
//   (the code page is the console's, shared with the shell that started the
//   tool);
// - the progress line erases itself with the terminal sequence ESC [ K,
//   which a Windows console (10 and later) reads once virtual-terminal
//   processing is on for standard error.
// Pipes and files get the bytes as they are.
#include <windows.h>

#include <cstdlib>

namespace {

bool IsConsole(DWORD nStdHandle) {
  DWORD nMode = 0;
  return GetConsoleMode(GetStdHandle(nStdHandle), &nMode) != FALSE;
}

UINT g_nConsoleOutputCodePage = 0;  // the console's own, while the tool runs with UTF-8

void RestoreConsoleOutputCodePage() { SetConsoleOutputCP(g_nConsoleOutputCodePage); }

const bool g_bUtf8Console = [] {
  if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) return false;
  const UINT nCodePage = GetConsoleOutputCP();
  if (nCodePage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return false;
  g_nConsoleOutputCodePage = nCodePage;
  std::atexit(RestoreConsoleOutputCodePage);
  return true;
}();

const bool g_bVirtualTerminal = [] {
  const HANDLE hError = GetStdHandle(STD_ERROR_HANDLE);
  DWORD nMode = 0;
  return GetConsoleMode(hError, &nMode) && SetConsoleMode(hError, nMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}();

}  // namespace
