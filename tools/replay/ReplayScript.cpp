// Reading replay scripts: one action a line, checked in full before running.
#include "tools/replay/ReplayScript.h"

#include <cctype>
#include <cstring>
#include <sstream>

#include "tools/edit/EditLayout.h"
#include "Win32User.h"

namespace {

struct CKeyName {
  const char* pszName;
  unsigned nKey;
};

const CKeyName g_keyNames[] = {
    {"Left", VK_LEFT},         {"Right", VK_RIGHT},       {"Up", VK_UP},         {"Down", VK_DOWN},
    {"Home", VK_HOME},         {"End", VK_END},           {"Delete", VK_DELETE}, {"Backspace", VK_BACK},
    {"Enter", VK_RETURN},      {"Tab", VK_TAB},           {"Escape", VK_ESCAPE}, {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},     {"Ctrl+Space", kReplayKeyCtrlSpace},              {"Ctrl+S", kReplayKeyCtrlS},
    {"F2", kReplayKeyF2},
};

struct CActionName {
  const char* pszName;
  CReplayAction::EKind kind;
};

const CActionName g_actionNames[] = {
    {"type", CReplayAction::kType},   {"key", CReplayAction::kKey},       {"keydown", CReplayAction::kKeyDown},
    {"keyup", CReplayAction::kKeyUp}, {"click", CReplayAction::kClick},   {"caret", CReplayAction::kCaret},
    {"text", CReplayAction::kText},   {"paste", CReplayAction::kPaste},   {"open", CReplayAction::kOpen},
    {"blur", CReplayAction::kBlur},   {"files", CReplayAction::kFiles},   {"focus", CReplayAction::kFocus},
    {"name", CReplayAction::kName},   {"list", CReplayAction::kList},     {"where", CReplayAction::kWhere},
    {"show", CReplayAction::kShow},   {"save", CReplayAction::kSave},     {"screen", CReplayAction::kScreen},
    {"note", CReplayAction::kNote},
};

bool EqualNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string Trim(const std::string& s) {
  const size_t nFirst = s.find_first_not_of(" \t\r");
  if (nFirst == std::string::npos) return std::string();
  return s.substr(nFirst, s.find_last_not_of(" \t\r") - nFirst + 1);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

// A whole positive decimal number of at most six digits.
bool ParseCount(const std::string& s, int& n) {
  if (s.empty() || s.size() > 6) return false;
  n = 0;
  for (char ch : s) {
    if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    n = n * 10 + (ch - '0');
  }
  return n > 0;
}

// A text argument: "quoted" with escapes, or the bare rest of the line.
bool ParseText(const std::string& strArg, std::string& strText, std::string& strError) {
  strText.clear();
  if (strArg.empty() || strArg[0] != '"') {
    strText = strArg;
    return true;
  }
  size_t i = 1;
  for (; i < strArg.size() && strArg[i] != '"'; ++i) {
    char ch = strArg[i];
    if (ch != '\\') {
      strText += ch;
      continue;
    }
    if (++i >= strArg.size()) break;
    switch (strArg[i]) {
      case 'n': strText += '\n'; break;
      case 't': strText += '\t'; break;
      case 'b': strText += '\b'; break;
      case 'e': strText += '\x1b'; break;
      case '\\': strText += '\\'; break;
      case '"': strText += '"'; break;
      default:
        strError = std::string("unknown escape \\") + strArg[i] + " (known: \\n \\t \\b \\e \\\\ \\\")";
        return false;
    }
  }
  if (i >= strArg.size()) {
    strError = "missing closing quote";
    return false;
  }
  if (!Trim(strArg.substr(i + 1)).empty()) {
    strError = "text after the closing quote";
    return false;
  }
  return true;
}

bool ParseKey(const std::string& strName, unsigned& nKey) {
  for (const CKeyName& key : g_keyNames) {
    if (EqualNoCase(strName, key.pszName)) {
      nKey = key.nKey;
      return true;
    }
  }
  return false;
}

std::string KnownKeys() {
  std::string s;
  for (const CKeyName& key : g_keyNames) s += std::string(s.empty() ? "" : " ") + key.pszName;
  return s;
}

std::string DirectoryOf(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of('/');
  return nSlash == std::string::npos ? std::string(".") : strPath.substr(0, nSlash == 0 ? 1 : nSlash);
}

std::string Resolve(const std::string& strBase, const std::string& strPath) {
  return !strPath.empty() && strPath[0] == '/' ? strPath : strBase + "/" + strPath;
}

// Reads one action line (not blank, not a comment); false with a message.
bool ParseAction(const std::string& strLine, CReplayAction& action, std::string& strError) {
  const size_t nSpace = strLine.find_first_of(" \t");
  const std::string strVerb = strLine.substr(0, nSpace);
  const std::string strArg = nSpace == std::string::npos ? std::string() : Trim(strLine.substr(nSpace));
  const std::vector<std::string> args = Words(strArg);
  bool bKnown = false;
  for (const CActionName& name : g_actionNames) {
    if (strVerb == name.pszName) {
      action.kind = name.kind;
      bKnown = true;
    }
  }
  if (!bKnown) {
    strError = "unknown action '" + strVerb + "'";
    return false;
  }
  switch (action.kind) {
    case CReplayAction::kType:
    case CReplayAction::kPaste:
    case CReplayAction::kText:
    case CReplayAction::kNote:
    case CReplayAction::kOpen:
      if (strArg.empty() && action.kind != CReplayAction::kText) {
        strError = strVerb + " needs " + (action.kind == CReplayAction::kOpen ? "a file" : "a text");
        return false;
      }
      if (action.kind == CReplayAction::kNote) {
        action.strText = strArg;
        return true;
      }
      if (!ParseText(strArg, action.strText, strError)) return false;
      if (action.strText.empty() && action.kind != CReplayAction::kText) {
        strError = strVerb + " needs a text that is not empty";
        return false;
      }
      return true;
    case CReplayAction::kKey:
    case CReplayAction::kKeyDown:
    case CReplayAction::kKeyUp: {
      const size_t nMax = action.kind == CReplayAction::kKey ? 2 : 1;
      if (args.empty() || args.size() > nMax) {
        strError = strVerb + (nMax == 2 ? " needs a key name and an optional count" : " needs a key name");
        return false;
      }
      if (!ParseKey(args[0], action.nKey)) {
        strError = "unknown key '" + args[0] + "' (known: " + KnownKeys() + ")";
        return false;
      }
      if (action.kind != CReplayAction::kKey && action.nKey >= kReplayKeyCtrlSpace) {
        strError = strVerb + " takes a key of the editor, not the command " + args[0];
        return false;
      }
      if (args.size() == 2 && !ParseCount(args[1], action.nCount)) {
        strError = "bad count '" + args[1] + "' (a whole number from 1)";
        return false;
      }
      return true;
    }
    case CReplayAction::kClick:
    case CReplayAction::kCaret:
    case CReplayAction::kScreen: {
      int a = 0;
      int b = 0;
      if (args.size() != 2 || !ParseCount(args[0], a) || !ParseCount(args[1], b)) {
        strError = strVerb + (action.kind == CReplayAction::kScreen ? " needs COLUMNS ROWS" : " needs LINE COLUMN") +
                   " (whole numbers from 1)";
        return false;
      }
      if (action.kind == CReplayAction::kScreen) {
        // The editor's largest screen: its pixels fit window messages.
        if (a > CEditLayout::kMaxColumns || b > CEditLayout::kMaxRows) {
          strError = "screen takes at most " + std::to_string(CEditLayout::kMaxColumns) + " columns and " +
                     std::to_string(CEditLayout::kMaxRows) + " rows";
          return false;
        }
        action.nColumns = a;
        action.nRows = b;
      } else {
        action.nLine = a - 1;
        action.nColumn = b - 1;
      }
      return true;
    }
    default:
      if (!args.empty()) {
        strError = strVerb + " takes no argument";
        return false;
      }
      return true;
  }
}

}  // namespace

bool ParseReplayScript(const std::string& strText, const std::string& strFileName, CReplayScript& script,
                       std::string& strError) {
  script = CReplayScript();
  std::istringstream in(strText);
  std::string strRaw;
  int nLine = 0;
  for (; std::getline(in, strRaw); ) {
    ++nLine;
    const std::string strLine = Trim(strRaw);
    if (strLine.empty() || strLine[0] == '#') continue;
    const std::string strWhere = strFileName + ":" + std::to_string(nLine) + ": ";
    if (strLine.find('\0') != std::string::npos) {
      strError = strWhere + "a zero byte in the line";
      return false;
    }
    // Set-up lines, before the first action.
    const std::vector<std::string> words = Words(strLine);
    if (words[0] == "project" || words[0] == "programs") {
      if (!script.actions.empty()) {
        strError = strWhere + words[0] + " must come before the first action";
        return false;
      }
      if (words.size() != 2) {
        strError = strWhere + words[0] + " needs one directory";
        return false;
      }
      (words[0] == "project" ? script.strProjectDir : script.strProgramsDir) =
          Resolve(DirectoryOf(strFileName), words[1]);
      continue;
    }
    CReplayAction action;
    action.nScriptLine = nLine;
    action.strSource = strLine;
    std::string strMessage;
    if (!ParseAction(strLine, action, strMessage)) {
      strError = strWhere + strMessage;
      return false;
    }
    if (action.kind == CReplayAction::kScreen && script.actions.empty()) {
      script.nColumns = action.nColumns;
      script.nRows = action.nRows;
    }
    script.actions.push_back(action);
  }
  return true;
}

std::string ReplayKeyName(unsigned nKey) {
  for (const CKeyName& key : g_keyNames)
    if (key.nKey == nKey) return key.pszName;
  return "key" + std::to_string(nKey);
}

const char* ReplayFormat() {
  return "Runs an editing session from SCRIPT through the host harness (a CodeMax\n"
         "editor with an attached code-assistance controller on an 80x24 screen\n"
         "of 8x16-pixel cells) and prints every observable step.\n"
         "\n"
         "Script: one action a line; blank lines and lines starting with # are skipped.\n"
         "Positions are 1-based (line 1, column 1 is before the first character).\n"
         "TEXT is \"quoted\" (escapes \\n Enter, \\t Tab, \\b Backspace, \\e Escape,\n"
         "\\\\ and \\\") or the bare rest of the line.\n"
         "  project DIR | programs DIR   before the first action: the project and the\n"
         "                               \"Programs\" directory (relative to the script)\n"
         "  type TEXT          types TEXT key by key\n"
         "  key NAME [COUNT]   presses a key: Left Right Up Down Home End Delete\n"
         "                     Backspace Enter Tab Escape PageUp PageDown, or the\n"
         "                     editor's commands Ctrl+Space (function list), Ctrl+S\n"
         "                     (save) and F2 (file list)\n"
         "  keydown NAME | keyup NAME    one half of a key press\n"
         "  click LINE COLUMN  clicks on a text position\n"
         "  caret LINE COLUMN  moves the caret without any key message\n"
         "  text TEXT          replaces the editor's text (caret to 1,1)\n"
         "  paste TEXT         pastes TEXT (Ctrl+V: no character messages)\n"
         "  open FILE          opens a file of the project (or a path) in the editor\n"
         "  blur | files | focus   the focus goes to another application, to the\n"
         "                     file list, or back to the editor\n"
         "  name               asks the controller for the name at the caret\n"
         "  list               fills the replay's own unsorted list view (never emptied,\n"
         "                     so a second fill doubles it) and prints its items\n"
         "  where              prints the caret's position\n"
         "  show               prints the screen as text\n"
         "  save               saves the editor's file (the controller is initialised again)\n"
         "  screen COLS ROWS   resizes the screen (in cells)\n"
         "  note TEXT          prints \"== TEXT\"\n"
         "\n"
         "Output: each action as \"LINE: ACTION\", then what happened, indented:\n"
         "  tip-created at=(X,Y) rect=(L,T)-(R,B) text=\"...\"   X,Y: the screen point given to the tip\n"
         "  tip-moved param=N mark=\"...\" rect=(L,T)-(R,B)      after a key release kept the tip\n"
         "  tip-closed\n"
         "  kill-focus-parent [during-creation]\n"
         "  name=\"...\" prototype=\"...\"\n"
         "  list-filled count=N, then item=I icon=built-in|project|none name=\"...\"\n"
         "  list-opened count=N | list-selected index=I name=\"...\" | list-inserted name=\"...\" | list-closed\n"
         "  file-opened name=\"...\" | file-saved name=\"...\" project-functions=N\n"
         "  focus-files | focus-editor | caret line=L column=C | the screen, rows prefixed \"  |\"\n"
         "Pixels are those of the simulated screen; rect is right/bottom exclusive.\n"
         "\n"
         "Exit status: 0 when the script ran; 2 for a bad script (FILE:LINE: message),\n"
         "a missing file or directory, or an action that failed.\n";
}
