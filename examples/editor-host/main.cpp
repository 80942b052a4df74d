// A host program that gives its script editor code assistance with Nimbo:
// it creates a frame and a CodeMax editor window, attaches the controller,
// types a call to a built-in function the way a user's keys arrive, and
// prints what the controller reports: the function at the caret with its
// prototype, and the size of the completion list it fills.
//
// Usage: editor-host PROGRAMS_DIR PROJECT_DIR
//   PROGRAMS_DIR holds "funcwiz.ini" (the built-in functions), PROJECT_DIR
//   the project's scripts (its own functions).
#include <nimbo/assist/CZoPromptorCtrl.h>
#include <nimbo/codemax/CCodeMaxEditor.h>
#include <nimbo/codemax/CodeMaxMessages.h>
#include <nimbo/module/NimboInit.h>
#include <nimbo/obrin/CProjectManagerObject.h>
#include <nimbo/platform/Win32CommCtrl.h>

#include <cstdio>

namespace {

// The host's message loop, run until no message is left: every message for
// the editor goes to the controller first, then to the editor.
void PumpMessages(CZoPromptorCtrl& promptor, HWND hEditor) {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.hwnd == hEditor) promptor.RelayEvent(&msg);
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

// Types text into the editor as keys do: each character, then its key's release.
void Type(CZoPromptorCtrl& promptor, HWND hEditor, const char* pszText) {
  for (const char* p = pszText; *p != '\0'; ++p) {
    PostMessage(hEditor, WM_CHAR, static_cast<unsigned char>(*p), 1);
    PostMessage(hEditor, WM_KEYUP, VkKeyScan(*p) & 0xFF, static_cast<LPARAM>(0xC0000001u));
    PumpMessages(promptor, hEditor);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: editor-host PROGRAMS_DIR PROJECT_DIR\n");
    return 2;
  }
  // Once, after the library is loaded and before the first controller.
  NimboInit();
  InitCommonControls();
  RegisterCodeMaxClass();

  CProjectManagerObject manager;
  if (!manager.OpenProject(argv[2])) {
    std::fprintf(stderr, "editor-host: cannot open the project %s\n", argv[2]);
    return 1;
  }
  manager.GetDirLoc()->SetLocation("Programs", argv[1]);

  // The host's windows: a frame with the editor filling it.
  CWnd frame;
  frame.CreateEx(0, nullptr, "Script editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr);
  CWnd editor;
  editor.Attach(CreateWindowEx(0, CODEMAX_CLASSNAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                               frame.GetSafeHwnd(), reinterpret_cast<HMENU>(1), nullptr, nullptr));
  if (!IsWindow(editor.GetSafeHwnd())) {
    std::fprintf(stderr, "editor-host: the editor window was not created\n");
    return 1;
  }
  SetFocus(editor.GetSafeHwnd());

  // The controller: attached to the editor, it fills both catalogues.
  CZoPromptorCtrl promptor;
  promptor.Init(&editor, &manager, nullptr);

  // The name before the caret, as a status bar shows it; then the call goes
  // on, and the "(" opens the function tip, which follows the arguments.
  Type(promptor, editor.GetSafeHwnd(), "strShort = StrLeft");
  CString strPrototype;
  const CString strName = promptor.GetCurrentFunctionName(&strPrototype);
  std::printf("at the caret: %s %s\n", strName.GetString(), strPrototype.GetString());
  Type(promptor, editor.GetSafeHwnd(), "(strTitle, 8);\r");

  // The completion list: a list view of the host, filled by the controller.
  CWnd list;
  list.Attach(CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | LVS_REPORT, 0, 0, 200, 300, frame.GetSafeHwnd(),
                             reinterpret_cast<HMENU>(2), nullptr, nullptr));
  promptor.InitFunctionList(list.GetSafeHwnd());
  std::printf("completion list: %ld functions\n",
              static_cast<long>(SendMessage(list.GetSafeHwnd(), LVM_GETITEMCOUNT, 0, 0)));

  list.DestroyWindow();
  editor.DestroyWindow();
  frame.DestroyWindow();
  return 0;
}
