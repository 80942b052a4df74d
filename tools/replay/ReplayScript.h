// The replay script: an editing session written as one action a line, read
// into a list of actions before anything runs (docs/replay-format.md gives
// the format; ReplayFormat() is its short form).
#pragma once

#include <string>
#include <vector>

struct CReplayAction {
  enum EKind {
    kType,      // strText typed key by key
    kKey,       // nKey (a VK_ code, or a host command below) pressed nCount times
    kKeyDown,   // only the down half of nKey
    kKeyUp,     // only the up half of nKey
    kClick,     // a click on the text position (nLine, nColumn)
    kCaret,     // the caret moved to (nLine, nColumn) without key messages
    kText,      // the editor's text replaced by strText
    kPaste,     // strText pasted (Ctrl+V, the text inserted without WM_CHAR)
    kOpen,      // the file strText opened in the editor
    kBlur,      // another application takes the focus
    kFiles,     // the file list takes the focus
    kFocus,     // the editor takes the focus back
    kName,      // the function name at the caret asked for
    kList,      // a fresh list view filled with the known functions, every item printed
    kWhere,     // the caret's position printed
    kShow,      // the screen printed
    kSave,      // the editor's file saved
    kScreen,    // the screen resized to nColumns x nRows cells
    kNote,      // strText printed as a heading
  };
  EKind kind;
  int nScriptLine = 0;   // 1-based line of the script
  std::string strSource; // the line as written, trimmed
  std::string strText;
  unsigned nKey = 0;
  int nCount = 1;
  int nLine = 0;    // 0-based (the script writes 1-based)
  int nColumn = 0;  // 0-based
  int nColumns = 0;
  int nRows = 0;
};

// Host commands that `key` accepts besides the VK_ codes.
enum { kReplayKeyCtrlSpace = 0x10000, kReplayKeyCtrlS, kReplayKeyF2 };

struct CReplayScript {
  std::string strProjectDir;   // "project DIR" (resolved against the script's directory), or empty
  std::string strProgramsDir;  // "programs DIR", or empty
  int nColumns = 80;           // the screen's size at the start
  int nRows = 24;
  std::vector<CReplayAction> actions;
};

// Reads a script's text. strFileName names it in messages and gives the
// directory that relative paths of "project" and "programs" start from. True
// on success; false with "FILE:LINE: message" in strError at the first fault.
bool ParseReplayScript(const std::string& strText, const std::string& strFileName, CReplayScript& script,
                       std::string& strError);

// The name of a key code as scripts write it ("Left", "Ctrl+Space").
std::string ReplayKeyName(unsigned nKey);

// The help text of `nimbo replay` after its usage line: the actions and
// the output lines.
const char* ReplayFormat();
