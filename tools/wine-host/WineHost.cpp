// nimbo-wine-host: a small Windows host of Nimbo.dll. It loads the module
// with LoadLibrary and calls its NimboInit, opens the bundled sample project
// in a CodeMax editor window, attaches a code-assistance controller made by
// the module, and types a call to a known function through its own message
// loop, so that the function tip shows with the current parameter in bold.
//
// Usage: nimbo-wine-host [seconds]   (closes itself after that many seconds
// once the typing is done; without it, it stays open until closed)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "CWnd.h"
#include "Win32User.h"
#include "assist/CZoPromptorCtrl.h"
#include "codemax/CCodeMaxEditor.h"
#include "codemax/CodeMaxMessages.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CImageListEx.h"

namespace {

const char kFrameClass[] = "NimboWineHostFrame";
const UINT_PTR kTypingTimer = 1;
const UINT_PTR kCloseTimer = 2;
const UINT kTypingMs = 120;
// Typed after the sample script's last line: a call of a built-in function
// of funcwiz.ini, stopped in its second argument.
const char kTyped[] = "\nstrPart = Mid(g_strTitle, 6";

typedef void (*PNimboInit)();
// The module's exported constructor of its controller (a member function:
// the this pointer travels in ECX).
typedef void(__attribute__((thiscall)) * PPromptorCtor)(void* pThis);

// An exported function of the module, as the type it has (through a
// function pointer of no particular type, as GetProcAddress's callers do).
template <class TFunction>
TFunction ProcOf(HMODULE hModule, const char* pszName) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

struct CHost {
  HMODULE hNimbo = nullptr;
  HWND hFrame = nullptr;
  HWND hEditor = nullptr;
  HFONT hFont = nullptr;
  CZoPromptorCtrl* pController = nullptr;
  size_t nTyped = 0;      // characters of kTyped typed so far
  int nCloseAfterMs = -1;  // after the typing; -1: stay open
};
CHost g_host;

std::string ReadFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  std::string text = out.str();
  std::string lines;
  for (char ch : text)
    if (ch != '\r') lines += ch;
  return lines;
}

// Posts one key press to the editor: WM_KEYDOWN, which TranslateMessage turns
// into WM_CHAR, then WM_KEYUP. A character that no key of the keyboard
// layout types comes as a WM_CHAR of its own, as an input method sends it.
void TypeChar(char ch) {
  if (ch == '\n') ch = '\r';
  const SHORT nScan = ch == '\r' ? VK_RETURN : VkKeyScanA(ch);
  if (nScan == -1) {
    PostMessageA(g_host.hEditor, WM_KEYDOWN, VK_PROCESSKEY, 1);
    PostMessageA(g_host.hEditor, WM_CHAR, static_cast<unsigned char>(ch), 1);
    PostMessageA(g_host.hEditor, WM_KEYUP, VK_PROCESSKEY, static_cast<LPARAM>(0xC0000001u));
    return;
  }
  const UINT nVirtKey = nScan & 0xFF;
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = (nScan & 0x100) != 0 ? 0x80 : 0;
  SetKeyboardState(state);
  const UINT nScanCode = MapVirtualKeyA(nVirtKey, MAPVK_VK_TO_VSC);
  PostMessageA(g_host.hEditor, WM_KEYDOWN, nVirtKey, static_cast<LPARAM>(1 | (nScanCode << 16)));
  PostMessageA(g_host.hEditor, WM_KEYUP, nVirtKey, static_cast<LPARAM>(0xC0000001u | (nScanCode << 16)));
}

LRESULT CALLBACK FrameProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  switch (nMsg) {
    case WM_SIZE:
      if (g_host.hEditor != nullptr) MoveWindow(g_host.hEditor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (g_host.hEditor != nullptr) SetFocus(g_host.hEditor);
      return 0;
    case WM_TIMER:
      if (wParam == kCloseTimer) {
        DestroyWindow(hWnd);
        return 0;
      }
      if (g_host.nTyped < sizeof kTyped - 1) {
        TypeChar(kTyped[g_host.nTyped++]);
        return 0;
      }
      KillTimer(hWnd, kTypingTimer);
      std::printf("typed %s\n", kTyped + 1);
      std::fflush(stdout);
      if (g_host.nCloseAfterMs >= 0) SetTimer(hWnd, kCloseTimer, static_cast<UINT>(g_host.nCloseAfterMs), nullptr);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

bool CreateWindows(HINSTANCE hInstance, const std::string& strText) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &FrameProc;
  wc.hInstance = hInstance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFrameClass;
  if (RegisterClassA(&wc) == 0 || !RegisterCodeMaxClass()) return false;
  g_host.hFrame = CreateWindowExA(0, kFrameClass, "Nimbo on Windows - main.nsc", WS_OVERLAPPEDWINDOW, 20, 20, 820,
                                  560, nullptr, nullptr, hInstance, nullptr);
  if (g_host.hFrame == nullptr) return false;
  RECT rc = {};
  GetClientRect(g_host.hFrame, &rc);
  g_host.hEditor = CreateWindowExA(WS_EX_CLIENTEDGE, CODEMAX_CLASSNAME, "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right,
                                   rc.bottom, g_host.hFrame, reinterpret_cast<HMENU>(1), hInstance, nullptr);
  if (g_host.hEditor == nullptr) return false;
  g_host.hFont = CreateFontA(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
  SendMessageA(g_host.hEditor, WM_SETFONT, reinterpret_cast<WPARAM>(g_host.hFont), FALSE);
  SendMessageA(g_host.hEditor, CMM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
  const int nLast = static_cast<int>(SendMessageA(g_host.hEditor, CMM_GETLINECOUNT, 0, 0)) - 1;
  SendMessageA(g_host.hEditor, CMM_SETCARETPOS, nLast, SendMessageA(g_host.hEditor, CMM_GETLINELENGTH, nLast, 0));
  ShowWindow(g_host.hFrame, SW_SHOW);
  UpdateWindow(g_host.hFrame);
  SetFocus(g_host.hEditor);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  (void)hPrevInstance;
  (void)nCmdShow;
  if (lpCmdLine != nullptr && *lpCmdLine != '\0') g_host.nCloseAfterMs = std::atoi(lpCmdLine) * 1000;
  InitCommonControls();

  // The module, as a host loads it: its entry point registers it with the
  // framework, and NimboInit links it into the chain of extension libraries.
  g_host.hNimbo = LoadLibraryA("Nimbo.dll");
  if (g_host.hNimbo == nullptr) {
    std::fprintf(stderr, "cannot load Nimbo.dll (error %lu)\n", GetLastError());
    return 2;
  }
  auto pfnNimboInit = ProcOf<PNimboInit>(g_host.hNimbo, "_Z9NimboInitv");
  auto pfnCtor = ProcOf<PPromptorCtor>(g_host.hNimbo, "_ZN15CZoPromptorCtrlC1Ev");
  if (pfnNimboInit == nullptr || pfnCtor == nullptr) {
    std::fprintf(stderr, "Nimbo.dll lacks NimboInit or the controller\n");
    return 2;
  }
  pfnNimboInit();

  const std::string strSource = NIMBO_SOURCE_DIR;
  CProjectManagerObject projectManager;
  projectManager.GetGlobalData()->pDirLoc->SetLocation("Programs", (strSource + "/samples/Programs").c_str());
  projectManager.OpenProject((strSource + "/samples/project").c_str());
  CImageListEx images;
  images.CreateEx();
  if (!CreateWindows(hInstance, ReadFile(strSource + "/samples/project/main.nsc"))) {
    std::fprintf(stderr, "cannot create the windows\n");
    return 2;
  }

  // The controller lives in the module: made by its exported constructor,
  // then driven through its virtual operations only.
  alignas(CZoPromptorCtrl) static unsigned char s_controller[sizeof(CZoPromptorCtrl)];
  pfnCtor(s_controller);
  g_host.pController = reinterpret_cast<CZoPromptorCtrl*>(s_controller);
  g_host.pController->Init(CWnd::FromHandle(g_host.hEditor), &projectManager, &images);
  SetTimer(g_host.hFrame, kTypingTimer, kTypingMs, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // The host's pre-translate step: the controller sees every message of
    // the editor before the editor handles it.
    if (msg.hwnd == g_host.hEditor) g_host.pController->RelayEvent(&msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  g_host.pController->~CZoPromptorCtrl();
  if (g_host.hFont != nullptr) DeleteObject(g_host.hFont);
  FreeLibrary(g_host.hNimbo);
  return 0;
}
