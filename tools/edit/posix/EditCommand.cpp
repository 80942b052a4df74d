// nimbo edit: the interactive terminal editor: script files of a project in
// a CodeMax editor with the code-assistance controller attached, drawn with
// ncurses as the library leaves them (tip, completion list, name at the caret).
#include <curses.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/edit/EditSession.h"
#include "tools/edit/EditTerminal.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/edit/ScreenRenderer.h"
#include "Win32User.h"
#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"

namespace {

const char kDescription[] =
    "Opens script files of a project in a terminal editor with code assistance:\n"
    "type a known function's name and \"(\" for its tip; the current argument is\n"
    "marked and follows the commas. Without FILE the project's first script\n"
    "opens. Defaults: the bundled samples/project with samples/Programs.\n";

const char kKeys[] =
    "keys:\n"
    "  Ctrl+Space   the list of known functions (B built-in, P project);\n"
    "               typing narrows it, Up/Down choose, Enter inserts, Esc closes\n"
    "  F2           the project's file list takes the focus (the tip closes);\n"
    "               Up/Down choose, Enter opens, F2 or Esc go back to the editor\n"
    "  Ctrl+S       saves; the project's functions are read again at once\n"
    "  Esc          closes the tip\n"
    "  Ctrl+Q       quits (twice when there are unsaved changes)\n"
    "  arrows, Home, End, PageUp, PageDown, Delete, Backspace, Enter, Tab; a mouse click moves the caret\n";

const int kKeyCtrlC = 3;
const int kKeyCtrlQ = 17;
const int kKeyCtrlS = 19;
const int kKeyEscape = 27;

bool Exists(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0;
}

bool IsFile(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

class CEditLoop {
 public:
  CEditLoop(CEditSession& session, CEditTerminal& terminal) : m_session(session), m_terminal(terminal) {}

  void Run() {
    for (;;) {
      m_terminal.Draw(RenderEditSession(m_session));
      int nKey = m_terminal.ReadKey(true);
      // Take every key already waiting before drawing again.
      while (nKey != ERR) {
        if (!OnKey(nKey)) return;
        nKey = m_terminal.ReadKey(false);
      }
    }
  }

 private:
  // False when the editor is to quit.
  bool OnKey(int nKey) {
    const bool bQuitArmed = m_bQuitArmed;
    m_bQuitArmed = false;
    switch (nKey) {
      case kKeyCtrlQ:
      case kKeyCtrlC:
        if (!m_session.IsAnyModified() || bQuitArmed) return false;
        m_bQuitArmed = true;
        m_session.SetMessage("unsaved changes: Ctrl+Q again quits without saving, Ctrl+S saves");
        return true;
      case 0: m_session.Command(kCmdComplete); return true;  // Ctrl+Space
      case kKeyCtrlS: m_session.Command(kCmdSave); return true;
      case KEY_F(2): m_session.Command(kCmdToggleFiles); return true;
      case KEY_RESIZE: {
        int nColumns = 0;
        int nRows = 0;
        m_terminal.GetSize(nColumns, nRows);
        m_session.Resize(nColumns, nRows);
        return true;
      }
      case KEY_MOUSE: {
        int nRow = 0;
        int nColumn = 0;
        if (m_terminal.ReadClick(nRow, nColumn)) m_session.ClickCell(nRow, nColumn);
        return true;
      }
      case kKeyEscape: m_session.PressKey(VK_ESCAPE); return true;
      case '\t': m_session.PressKey(VK_TAB); return true;
      case '\r':
      case '\n':
      case KEY_ENTER: m_session.PressKey(VK_RETURN); return true;
      case KEY_BACKSPACE:
      case 127:
      case 8: m_session.PressKey(VK_BACK); return true;
      case KEY_DC: m_session.PressKey(VK_DELETE); return true;
      case KEY_LEFT: m_session.PressKey(VK_LEFT); return true;
      case KEY_RIGHT: m_session.PressKey(VK_RIGHT); return true;
      case KEY_UP: m_session.PressKey(VK_UP); return true;
      case KEY_DOWN: m_session.PressKey(VK_DOWN); return true;
      case KEY_HOME: m_session.PressKey(VK_HOME); return true;
      case KEY_END: m_session.PressKey(VK_END); return true;
      case KEY_PPAGE: m_session.PressKey(VK_PRIOR); return true;
      case KEY_NPAGE: m_session.PressKey(VK_NEXT); return true;
      default:
        if (nKey >= 32 && nKey <= 255 && nKey != 127) m_session.TypeChar(static_cast<char>(nKey));
        return true;
    }
  }

  CEditSession& m_session;
  CEditTerminal& m_terminal;
  bool m_bQuitArmed = false;
};

int RunEdit(const nimbo::CHostOptions& options, const std::vector<std::string>& names) {
  std::string strError;
  {
    CProjectManagerObject manager;
    if (!nimbo::OpenHost("edit", options, manager)) return nimbo::kExitError;
  }
  // Files given: as a path, or by name in the project.
  std::vector<std::string> files;
  for (const std::string& strArg : names) {
    if (IsFile(strArg)) {
      files.push_back(strArg);
    } else if (IsFile(options.strProjectDir + "/" + strArg)) {
      files.push_back(options.strProjectDir + "/" + strArg);
    } else {
      std::fprintf(stderr, "nimbo edit: %s: %s\n", Exists(strArg) ? "not a regular file" : "file not found",
                   strArg.c_str());
      return nimbo::kExitError;
    }
  }

  CEditTerminal terminal;
  if (!terminal.Open(strError)) {
    std::fprintf(stderr, "nimbo edit: %s\n", strError.c_str());
    return nimbo::kExitError;
  }
  CEditSession::COptions sessionOptions;
  sessionOptions.strProjectDir = options.strProjectDir;
  sessionOptions.strProgramsDir = options.strProgramsDir;
  sessionOptions.bFolderInTitle = true;
  terminal.GetSize(sessionOptions.nColumns, sessionOptions.nRows);
  CEditSession session(sessionOptions);
  if (!session.IsReady()) {
    terminal.Close();
    std::fprintf(stderr, "nimbo edit: the editor windows could not be created\n");
    return nimbo::kExitError;
  }
  int nFirst = session.GetFiles().empty() ? -1 : 0;
  for (size_t i = 0; i < files.size(); ++i) {
    const int nIndex = session.AddFile(files[i], strError);
    if (nIndex < 0) {
      terminal.Close();
      std::fprintf(stderr, "nimbo edit: %s\n", strError.c_str());
      return nimbo::kExitError;
    }
    if (i == 0) nFirst = nIndex;
  }
  if (nFirst >= 0 && !session.OpenFile(nFirst, strError)) session.SetMessage(strError);
  if (g_FuncInfoStd.empty())
    session.SetMessage("no built-in functions read from " + options.strProgramsDir + "/funcwiz.ini");
  CEditLoop loop(session, terminal);
  loop.Run();
  terminal.Close();
  return nimbo::kExitOk;
}

void DefineEdit(CLI::App& command, int& nStatus) {
  nimbo::SetUsage(command, "nimbo edit [FILE ...] [--project DIR] [--programs DIR]");
  command.footer(std::string(kDescription) + "\n" + kKeys);
  nimbo::SetExamples(command, {"nimbo edit                               # the bundled sample project",
                               "nimbo edit main.nsc --project ~/scripts  # a script of your own project"});
  auto pOptions = std::make_shared<nimbo::CHostOptions>();
  auto pFiles = std::make_shared<std::vector<std::string>>();
  nimbo::AddHostOptions(command, *pOptions);
  command.add_option("FILE", *pFiles, "a script to open: a path, or a file name in the project")->type_name("");
  command.callback([pOptions, pFiles, &nStatus] { nStatus = RunEdit(*pOptions, *pFiles); });
}

}  // namespace

NIMBO_COMMAND_GROUP(edit)

std::vector<nimbo::CCommand> nimbo::edit::Commands() {
  return {{"edit", "the terminal editor with function tips and the function list (--help: the keys)", DefineEdit}};
}
