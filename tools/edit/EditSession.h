// CEditSession: the terminal editor's host: the harness (frame, CodeMax
// editor and attached controller) laid out on a screen of character cells,
// the project's files, the completion-list popup and the key bindings. The
// interactive editor (nimbo edit) and the replay of a script (nimbo replay,
// nimbo demo) both drive one; neither draws anything itself here.
//
// Keys arrive as a user presses them. While the editor has the focus they go
// to the harness as key messages (so the controller sees every one of them),
// except the host's own commands: Ctrl+Space opens the completion list,
// Ctrl+S saves, F2 moves the focus to the file list. While the completion
// list is open, typed identifier characters still go to the editor and then
// narrow the list's selection (SelectItem with the word before the caret);
// Up/Down/PageUp/PageDown/Home/End move the selection, Enter replaces the word
// before the caret with the selected name (typed as keys), Escape closes the
// list, and any other key closes it and goes to the editor. While the file
// list has the focus, Up/Down choose a file, Enter opens it in the editor and
// Escape or F2 give the focus back to the editor.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CString.h"
#include "CWnd.h"
#include "tools/edit/EditLayout.h"
#include "tools/edit/FileStamp.h"
#include "tools/edit/TextForm.h"
#include "assist/CZoListCtrlToolTipStaticFunc.h"
#include "harness/CEditorHarness.h"

class CCodeMaxEditor;

// One file of the file list, with its bytes on disk when last read or saved
// (and the editor's text of them) and, while another file is in the editor,
// its edited text and caret.
struct CEditFile {
  std::string strPath;
  std::string strName;      // shown in the file list
  CTextForm disk;           // valid when bLoaded
  CFileStamp stamp;         // the file's stamp when last read or saved
  std::string strText;      // valid when bLoaded
  int nLine = 0;
  int nColumn = 0;
  bool bLoaded = false;
};

// One step of the host's own (the completion list, files, saving), reported
// as it happens; the tip's steps come as HARNESS_EVENTs.
struct CEditEvent {
  enum EKind {
    listOpened,    // nIndex: the number of items
    listSelected,  // nIndex, strText: the selected item and its name (-1, "" for none)
    listInserted,  // strText: the name typed in place of the word before the caret
    listClosed,
    fileOpened,    // strText: the file's name
    fileSaved,     // strText: the file's name; nIndex: functions the project now defines
    focusFiles,
    focusEditor,
  };
  EKind kind;
  std::string strText;
  int nIndex = -1;
};

// Host-level keys besides typed characters.
enum EEditCommand { kCmdComplete, kCmdSave, kCmdToggleFiles };

class CEditSession {
 public:
  struct COptions {
    std::string strProgramsDir;
    std::string strProjectDir;
    int nColumns = 80;
    int nRows = 24;
    // The title names the folder of the file beside its name (the
    // interactive editor: a person sees which copy is edited).
    bool bFolderInTitle = false;
  };

  // Sets up the simulated screen for the layout, creates the harness with
  // the project and "Programs" directories (which the caller has checked)
  // and lists the project's scripts. Check IsReady() afterwards.
  explicit CEditSession(const COptions& options);
  ~CEditSession();
  CEditSession(const CEditSession&) = delete;  // owns windows
  CEditSession& operator=(const CEditSession&) = delete;

  bool IsReady() const;

  // ---- Files ----
  // Adds a file to the file list (no-op when it is there); its index, or -1
  // with a one-line message when it cannot be read.
  int AddFile(const std::string& strPath, std::string& strError);
  // Shows file nIndex in the editor, keeping the edits of the one shown
  // before. False with a message when it cannot be read.
  bool OpenFile(int nIndex, std::string& strError);
  // The index of a file of the list by path or by name, or -1.
  int FindFile(const std::string& strPathOrName) const;
  const std::vector<CEditFile>& GetFiles() const { return m_files; }
  int GetCurrentFile() const { return m_nCurrentFile; }
  int GetFilesSelection() const { return m_nFilesSelection; }
  // The first file shown: a long list scrolls so that the chosen file (the
  // current one while the editor has the focus) is in view.
  int GetFilesTop() const;
  // True when the editor's text differs from the file on disk.
  bool IsModified() const;
  bool IsAnyModified() const;
  // True when the file in the editor was changed on disk since it was read
  // or saved here: its content now differs (a file since deleted is not:
  // saving makes it again).
  bool IsChangedOnDisk() const;
  // Writes the editor's text to its file (SaveWholeFile) with every byte the
  // user did not change as it was (CTextForm), then initialises the
  // controller again so that the project's functions are read anew. False
  // with a message naming the file and the system's reason when the file
  // cannot be written. It does not ask about a change on disk: Ctrl+S
  // (Command(kCmdSave)) does, as vim does: the first press only warns, a
  // second one right after it overwrites.
  bool Save(std::string& strError);

  // ---- Input, as a user gives it ----
  void TypeChar(char ch);
  void TypeText(const std::string& strText);
  // A key that types nothing (VK_ codes); Enter, Backspace, Tab and Escape
  // are keys too.
  void PressKey(UINT nVirtKey);
  // Ctrl+Space, Ctrl+S, F2. Save failures are reported through the status message.
  void Command(EEditCommand command);
  // A click on a text position of the editor (line and column of the text).
  void ClickText(int nLine, int nColumn);
  // A click on a screen cell: the editor's text, a file of the list or the list popup.
  void ClickCell(int nRow, int nColumn);
  // The focus goes to another application / comes back to the editor.
  void FocusOtherApplication();
  void FocusEditor();
  void FocusFiles();
  bool IsFilesFocused() const { return m_bFilesFocused; }

  // ---- The completion list ----
  bool IsListOpen() const;
  // The popup's list view (attached to a window only while open).
  CListCtrl& GetList() { return m_list; }
  int GetListTop() const { return m_nListTop; }
  // The popup's cell rectangle (valid while open).
  RECT GetListCells() const { return m_rcListCells; }
  // True when the item's image is the built-in function's icon.
  bool IsBuiltInImage(int nImage);
  // The prototype of a function as the tip would show it ("" when unknown).
  static std::string PrototypeOf(const CString& strName);

  // ---- State for drawing ----
  const CEditLayout& GetLayout() const { return m_layout; }
  void Resize(int nColumns, int nRows);
  CEditorHarness& GetHarness() { return *m_pHarness; }
  const CCodeMaxEditor* GetEditorView() const;
  // The caret's screen cell; false when the editor has no caret to show.
  bool GetCaretCell(int& nRow, int& nColumn) const;
  // The name at the caret and its prototype, asked from the controller only
  // while no tip is open (the question moves the tip's anchor); while a tip
  // is open, the tip's function.
  std::string GetStatusFunction(std::string& strPrototype);
  // A message for the status row, shown until the next input.
  const std::string& GetMessage() const { return m_strMessage; }
  void SetMessage(const std::string& strMessage) {
    m_strMessage = strMessage;
    m_bOverwriteArmed = false;
  }
  const std::string& GetProjectDir() const { return m_options.strProjectDir; }
  bool IsFolderInTitle() const { return m_options.bFolderInTitle; }
  const std::string& GetProgramsDir() const { return m_options.strProgramsDir; }

  // ---- Events ----
  void SetEventHandler(std::function<void(const CEditEvent&)> pfnHandler) { m_pfnHandler = std::move(pfnHandler); }

 private:
  static bool IsIdentChar(char ch);  // a letter, a digit or "_"
  // Every input from the user ends the message shown and a pending question.
  void NewInput() { SetMessage(std::string()); }
  void SaveCommand();
  void Report(CEditEvent::EKind kind, const std::string& strText = std::string(), int nIndex = -1);
  void ApplyLayout();
  void StoreCurrentFile();
  void FilesKey(UINT nVirtKey);
  bool ListKey(UINT nVirtKey);
  void OpenList();
  void CloseList();
  // Re-selects by the word before the caret; closes the list when the caret
  // left the word the list was opened on.
  void NarrowList();
  void ListSelect(int nIndex);
  void AcceptList();
  void KeepListSelectionVisible();
  // The identifier characters before the caret on its line, from nFrom.
  std::string WordBeforeCaret(int nFrom) const;
  int WordStartBeforeCaret() const;

  COptions m_options;
  CEditLayout m_layout;
  std::unique_ptr<CEditorHarness> m_pHarness;
  CWnd m_filesWnd;  // the file list's window, outside the editor's frame
  CZoListCtrlToolTipStaticFunc m_list;  // attached to the popup's list view while it is open
  std::vector<CEditFile> m_files;
  int m_nCurrentFile = -1;
  int m_nFilesSelection = 0;
  bool m_bFilesFocused = false;
  int m_nListLine = 0;    // the caret line the list was opened on
  int m_nListColumn = 0;  // the column where the completed word starts
  int m_nListTop = 0;     // the first item shown
  RECT m_rcListCells = {0, 0, 0, 0};
  std::string m_strMessage;
  bool m_bOverwriteArmed = false;  // Ctrl+S warned of a change on disk: pressed again it overwrites
  std::function<void(const CEditEvent&)> m_pfnHandler;
};
