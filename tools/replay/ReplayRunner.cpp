// RunReplay: one editing session driven by a script, its steps printed.
#include "tools/replay/ReplayRunner.h"

#include <sys/stat.h>

#include "CListCtrl.h"
#include "Win32CommCtrl.h"
#include "tools/edit/EditSession.h"
#include "tools/edit/ScreenRenderer.h"
#include "Win32User.h"

namespace {

std::string Rect(const RECT& rc) {
  return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom) + ")";
}

bool Exists(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0;
}

std::string DirectoryOf(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of('/');
  return nSlash == std::string::npos ? std::string(".") : strPath.substr(0, nSlash == 0 ? 1 : nSlash);
}

class CReplay {
 public:
  CReplay(const CReplayScript& script, const CReplayOptions& options, FILE* out)
      : m_script(script), m_options(options), m_out(out), m_session(SessionOptions(script, options)) {}

  int Run() {
    if (!m_session.IsReady()) {
      std::fprintf(stderr, "%s: the editor windows could not be created\n", m_options.strScriptPath.c_str());
      return 2;
    }
    m_session.GetHarness().SetEventHandler([this](const CHarnessEvent& event) { OnTipEvent(event); });
    m_session.SetEventHandler([this](const CEditEvent& event) { OnEditEvent(event); });
    for (const CReplayAction& action : m_script.actions) {
      if (m_options.bEvents && action.kind != CReplayAction::kNote)
        std::fprintf(m_out, "%d: %s\n", action.nScriptLine, action.strSource.c_str());
      std::string strError;
      if (!Do(action, strError)) {
        std::fflush(m_out);
        std::fprintf(stderr, "%s:%d: %s\n", m_options.strScriptPath.c_str(), action.nScriptLine, strError.c_str());
        return 2;
      }
    }
    // Closing the session closes an open tip: that is no step of the script.
    m_session.GetHarness().SetEventHandler(nullptr);
    m_session.SetEventHandler(nullptr);
    if (m_hList != nullptr) DestroyWindow(m_hList);
    return 0;
  }

 private:
  static CEditSession::COptions SessionOptions(const CReplayScript& script, const CReplayOptions& options) {
    CEditSession::COptions session;
    session.strProjectDir = options.strProjectDir;
    session.strProgramsDir = options.strProgramsDir;
    session.nColumns = script.nColumns;
    session.nRows = script.nRows;
    return session;
  }

  void Line(const std::string& strText) {
    if (m_options.bEvents) std::fprintf(m_out, "  %s\n", strText.c_str());
  }

  void OnTipEvent(const CHarnessEvent& event) {
    switch (event.kind) {
      case CHarnessEvent::tipCreated:
        Line("tip-created at=(" + std::to_string(event.rcTip.left) + "," + std::to_string(event.rcTip.top) +
             ") rect=" + Rect(event.rcTip) + " text=" + ReplayQuote(event.strText.Str()));
        break;
      case CHarnessEvent::tipMoved: {
        // The marked text is read back from the tip, which is open.
        std::string strMark;
        const CZoToolTipStaticFunc* pTip = m_session.GetHarness().GetTip();
        int nFirst = -1;
        int nCount = 0;
        if (pTip != nullptr && pTip->GetMarkedRange(nFirst, nCount))
          strMark = pTip->GetText().Str().substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount));
        Line("tip-moved param=" + std::to_string(event.nParam) + " mark=" + ReplayQuote(strMark) +
             " rect=" + Rect(event.rcTip));
        break;
      }
      case CHarnessEvent::tipClosed: Line("tip-closed"); break;
      case CHarnessEvent::killFocusParent:
        Line(event.bDuringCreation ? "kill-focus-parent during-creation" : "kill-focus-parent");
        break;
    }
  }

  void OnEditEvent(const CEditEvent& event) {
    switch (event.kind) {
      case CEditEvent::listOpened: Line("list-opened count=" + std::to_string(event.nIndex)); break;
      case CEditEvent::listSelected:
        Line("list-selected index=" + std::to_string(event.nIndex) + " name=" + ReplayQuote(event.strText));
        break;
      case CEditEvent::listInserted: Line("list-inserted name=" + ReplayQuote(event.strText)); break;
      case CEditEvent::listClosed: Line("list-closed"); break;
      case CEditEvent::fileOpened: Line("file-opened name=" + ReplayQuote(event.strText)); break;
      case CEditEvent::fileSaved:
        Line("file-saved name=" + ReplayQuote(event.strText) + " project-functions=" + std::to_string(event.nIndex));
        break;
      case CEditEvent::focusFiles: Line("focus-files"); break;
      case CEditEvent::focusEditor: Line("focus-editor"); break;
    }
  }

  bool Do(const CReplayAction& action, std::string& strError) {
    CEditorHarness& harness = m_session.GetHarness();
    switch (action.kind) {
      case CReplayAction::kType: m_session.TypeText(action.strText); return true;
      case CReplayAction::kKey:
        for (int i = 0; i < action.nCount; ++i) {
          switch (action.nKey) {
            case kReplayKeyCtrlSpace: m_session.Command(kCmdComplete); break;
            case kReplayKeyF2: m_session.Command(kCmdToggleFiles); break;
            case kReplayKeyCtrlS:
              if (!m_session.Save(strError)) return false;
              break;
            default: m_session.PressKey(action.nKey); break;
          }
        }
        return true;
      case CReplayAction::kKeyDown: harness.KeyDown(action.nKey); return true;
      case CReplayAction::kKeyUp: harness.KeyUp(action.nKey); return true;
      case CReplayAction::kClick: m_session.ClickText(action.nLine, action.nColumn); return true;
      case CReplayAction::kCaret: harness.SetCaret(action.nLine, action.nColumn); return true;
      case CReplayAction::kText: harness.SetText(action.strText.c_str()); return true;
      case CReplayAction::kPaste: harness.Paste(action.strText.c_str()); return true;
      case CReplayAction::kOpen: return Open(action.strText, strError);
      case CReplayAction::kBlur: m_session.FocusOtherApplication(); return true;
      case CReplayAction::kFiles: m_session.FocusFiles(); return true;
      case CReplayAction::kFocus: m_session.FocusEditor(); return true;
      case CReplayAction::kName: {
        CString strPrototype;
        const CString strName = harness.Controller()->GetCurrentFunctionName(&strPrototype);
        Line("name=" + ReplayQuote(strName.Str()) + " prototype=" + ReplayQuote(strPrototype.Str()));
        return true;
      }
      case CReplayAction::kList: return FillList(strError);
      case CReplayAction::kWhere:
        Line("caret line=" + std::to_string(harness.GetCaretLine() + 1) +
             " column=" + std::to_string(harness.GetCaretColumn() + 1));
        return true;
      case CReplayAction::kShow: Show(); return true;
      case CReplayAction::kSave: return m_session.Save(strError);
      case CReplayAction::kScreen: m_session.Resize(action.nColumns, action.nRows); return true;
      case CReplayAction::kNote:
        if (m_options.bEvents)
          std::fprintf(m_out, "== %s\n", action.strText.c_str());
        else
          std::fprintf(m_out, "\n== %s\n", action.strText.c_str());
        return true;
    }
    return true;
  }

  bool Open(const std::string& strFile, std::string& strError) {
    int nIndex = m_session.FindFile(strFile);
    if (nIndex < 0) {
      const bool bAbsolute = !strFile.empty() && strFile[0] == '/';
      const std::string candidates[] = {m_options.strProjectDir + "/" + strFile,
                                        DirectoryOf(m_options.strScriptPath) + "/" + strFile, strFile};
      for (const std::string& strPath : candidates) {
        if ((bAbsolute && strPath != strFile) || !Exists(strPath)) continue;
        nIndex = m_session.AddFile(strPath, strError);
        if (nIndex < 0) return false;
        break;
      }
    }
    if (nIndex < 0) {
      strError = "file not found: " + strFile;
      return false;
    }
    return m_session.OpenFile(nIndex, strError);
  }

  // What the controller puts into a list view of the host's that sorts
  // nothing: the items in the order the library inserted them. The same
  // list view serves every list action, as the library never empties it.
  bool FillList(std::string& strError) {
    if (m_hList == nullptr)
      m_hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 240, 400,
                               nullptr, nullptr, nullptr, nullptr);
    HWND hList = m_hList;
    if (hList == nullptr) {
      strError = "cannot create a list view";
      return false;
    }
    m_session.GetHarness().Controller()->InitFunctionList(hList);
    CImageListEx& images = m_session.GetHarness().GetImages();
    const int nStd = images.GetImageIndex(CImageListEx::kIdFunctionStd);
    const int nUser = images.GetImageIndex(CImageListEx::kIdFunctionUser);
    CListCtrl list;
    list.Attach(hList);
    Line("list-filled count=" + std::to_string(list.GetItemCount()));
    for (int i = 0; i < list.GetItemCount(); ++i) {
      LVITEM item = {};
      item.mask = LVIF_IMAGE;
      item.iItem = i;
      list.GetItem(&item);
      const char* pszIcon = item.iImage == nStd ? "built-in" : item.iImage == nUser ? "project" : "none";
      Line("item=" + std::to_string(i) + " icon=" + pszIcon + " name=" + ReplayQuote(list.GetItemText(i, 0).Str()));
    }
    list.Detach();
    return true;
  }

  void Show() {
    const CScreenGrid grid = RenderEditSession(m_session);
    const std::string strIndent = m_options.bEvents ? "  " : "";
    const std::string strRule = strIndent + "+" + std::string(static_cast<size_t>(grid.GetColumns()), '-') + "+\n";
    std::fputs(strRule.c_str(), m_out);
    const std::string strText = grid.ToText();
    size_t nStart = 0;
    while (nStart < strText.size()) {
      const size_t nEnd = strText.find('\n', nStart);
      std::fprintf(m_out, "%s|%s\n", strIndent.c_str(), strText.substr(nStart, nEnd - nStart).c_str());
      nStart = nEnd + 1;
    }
    std::fputs(strRule.c_str(), m_out);
  }

  const CReplayScript& m_script;
  const CReplayOptions& m_options;
  FILE* m_out;
  CEditSession m_session;
  HWND m_hList = nullptr;  // the list view of the list actions
};

}  // namespace

std::string ReplayQuote(const std::string& strText) {
  std::string s = "\"";
  for (char ch : strText) {
    const unsigned char uch = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      s += '\\';
      s += ch;
    } else if (ch == '\n') {
      s += "\\n";
    } else if (ch == '\t') {
      s += "\\t";
    } else if (uch < 32 || uch > 126) {
      static const char kHex[] = "0123456789ABCDEF";
      s += "\\x";
      s += kHex[uch >> 4];
      s += kHex[uch & 15];
    } else {
      s += ch;
    }
  }
  return s + "\"";
}

int RunReplay(const CReplayScript& script, const CReplayOptions& options, FILE* out) {
  CReplay replay(script, options, out);
  return replay.Run();
}
