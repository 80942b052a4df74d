// CEditorHarness: what the host does around the code-assistance controller: a
// frame window with a CodeMax editor as its child, a controller attached to
// the editor, and the message loop that feeds it.
//
// Input is delivered as the window system would deliver it: a key press is a
// WM_KEYDOWN posted to the focus window, translated into WM_CHAR for keys
// that type a character, then a WM_KEYUP; a click is WM_LBUTTONDOWN and
// WM_LBUTTONUP posted to the editor. The loop hands every message addressed
// to the attached editor to the controller's RelayEvent before translating
// and dispatching it. When the focus leaves the frame and its children (the
// frame or the editor gets WM_KILLFOCUS for a window outside them), the
// harness calls OnKillFocusParent. Every tip step is recorded as a
// CHarnessEvent.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CString.h"
#include "CWnd.h"
#include "codemax/CCodeMaxEditor.h"
#include "harness/CHarnessPromptor.h"
#include "harness/CHarnessWnd.h"
#include "harness/HarnessEvent.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CImageListEx.h"

struct CHarnessOptions {
  RECT rcFrame = {100, 80, 740, 480};  // the frame's screen rectangle; the editor fills it
  LONG nFontHeight = -16;              // lfHeight of the editor's font; 0: the editor gets no font
  CString strProgramsDir;              // the "Programs" location (funcwiz.ini); empty: not configured
  CString strProjectDir;               // a project to open; empty: no project
};

class CEditorHarness {
 public:
  // Registers the editor class, creates the windows, gives the editor the
  // focus and attaches a controller (Init with the project manager and the
  // image list). Check IsReady() afterwards.
  explicit CEditorHarness(const CHarnessOptions& options = CHarnessOptions());
  // Destroys the controller, then the windows.
  ~CEditorHarness();
  CEditorHarness(const CEditorHarness&) = delete;  // owns windows
  CEditorHarness& operator=(const CEditorHarness&) = delete;

  // True when the frame and the editor exist.
  bool IsReady() const;

  // ---- Input ----
  // Types one character with the key that produces it (Shift held as needed);
  // "\n" is the Enter key, "\b" Backspace, "\t" Tab. A character no key
  // produces comes as WM_CHAR between a down and up of VK_PROCESSKEY.
  void TypeChar(char ch);
  void TypeText(const char* pszText);
  // Presses and releases a key that types nothing (arrows, Home, End, Delete,
  // Escape...); keys that do type still get their WM_CHAR.
  void PressKey(UINT nVirtKey);
  // Only the down or only the up half of a key press.
  void KeyDown(UINT nVirtKey);
  void KeyUp(UINT nVirtKey);
  // A left click at a client point of the editor (down and up).
  void Click(int x, int y);
  // A click on the text position (line, column) of the editor.
  void ClickAt(int nLine, int nColumn);
  void MouseMove(int x, int y);
  // Ctrl+V: the key messages of the shortcut, with the text inserted by the
  // editor in between without any WM_CHAR.
  void Paste(const char* pszText);
  // Delivers every queued message.
  void Pump();

  // ---- Focus ----
  // Gives the focus to a window outside the frame (another application).
  void FocusOtherWindow();
  void FocusEditor();

  // ---- Editor state (through the editor's messages; nothing is relayed) ----
  void SetText(const char* pszText);
  CString GetText() const;
  void SetCaret(int nLine, int nColumn);
  int GetCaretLine() const;
  int GetCaretColumn() const;
  // The client pixel of a text position of the editor.
  POINT PointFromPosition(int nLine, int nColumn) const;
  // Gives the editor a font of this lfHeight (0: no font).
  void SetFontHeight(LONG nHeight);

  // ---- The controller and its tip ----
  CHarnessPromptor* Controller() { return m_pController.get(); }
  // Re-attaches the controller (Init) to pEditor, e.g. a second editor.
  void AttachController(CWnd* pEditor);
  // Destroys the controller (the host is done with it); no more relaying.
  void DestroyController();
  bool IsTipOpen() const;
  const CZoToolTipStaticFunc* GetTip() const;
  RECT GetTipRect() const;

  // A further editor window in the frame (owned by the harness), at rc.
  CWnd* CreateEditor(const RECT& rc);

  CWnd* GetEditor() { return m_pEditor.get(); }
  // The editor's state for drawing (lines, caret, scroll position, cell size).
  const CCodeMaxEditor* GetEditorView() const;
  HWND GetEditorHwnd() const { return m_pEditor ? m_pEditor->GetSafeHwnd() : nullptr; }
  CWnd* GetFrame() { return m_pFrame.get(); }
  HWND GetOtherWindow() const { return m_other.GetSafeHwnd(); }
  CProjectManagerObject& GetProjectManager() { return m_projectManager; }
  // The image list handed to Init: the standard icons of the two kinds of function.
  CImageListEx& GetImages() { return m_images; }

  // ---- Events ----
  const std::vector<CHarnessEvent>& GetEvents() const { return m_events; }
  void ClearEvents() { m_events.clear(); }
  // Also called with every event as it happens.
  void SetEventHandler(std::function<void(const CHarnessEvent&)> pfnHandler) { m_pfnHandler = std::move(pfnHandler); }

 private:
  void OnEvent(const CHarnessEvent& event);
  void OnFocusLeaving(HWND hWndNewFocus);
  // Posts a message to the window with the focus (nothing when none).
  void PostToFocus(UINT message, WPARAM wParam, LPARAM lParam);
  // Records a tip closed by anything but the controller (e.g. Escape).
  void NoteTipState();

  CProjectManagerObject m_projectManager;
  CImageListEx m_images;
  HFONT m_hFont = nullptr;  // owned: the editor's font
  std::unique_ptr<CHarnessFrame> m_pFrame;
  std::unique_ptr<CHarnessEditor> m_pEditor;
  std::vector<std::unique_ptr<CHarnessEditor>> m_extraEditors;
  CWnd m_other;
  std::unique_ptr<CHarnessPromptor> m_pController;
  std::vector<CHarnessEvent> m_events;
  std::function<void(const CHarnessEvent&)> m_pfnHandler;
  bool m_bTipWasOpen = false;
};
