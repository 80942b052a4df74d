// CEditSession: the harness on a screen of cells, and the project's files
// (EditSessionInput.cpp: the key bindings; EditSessionList.cpp: the
// completion-list popup; EditSessionDrawing.cpp: the state the screen draws).
#include "tools/edit/EditSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "FileSave.h"
#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "darnel2/CScriptBrowser.h"
#include "module/SharedCatalogs.h"

namespace {

bool ReadFile(const std::string& strPath, std::string& strText, std::string& strError) {
  struct stat info;
  if (stat(strPath.c_str(), &info) != 0) {
    strError = "file not found: " + strPath;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    strError = "not a regular file: " + strPath;
    return false;
  }
  std::ifstream in(strPath, std::ios::binary);
  if (!in) {
    strError = "cannot read file: " + strPath;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    strError = "cannot read file: " + strPath;
    return false;
  }
  strText = text.str();
  return true;
}

std::string BaseName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of('/');
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

}  // namespace

CEditSession::CEditSession(const COptions& options)
    : m_options(options),
      m_layout(options.nColumns, options.nRows),
      m_list(&g_FuncInfoStd, &g_FuncInfoUser, nullptr) {
  CSimDesktop::SetScreenSize(m_layout.ScreenPixels().cx, m_layout.ScreenPixels().cy);
  CSimDesktop::SetWorkArea(m_layout.WorkAreaPixels());
  CHarnessOptions harnessOptions;
  harnessOptions.rcFrame = m_layout.EditorPixels();
  harnessOptions.nFontHeight = -CEditLayout::kCellHeight;
  harnessOptions.strProgramsDir = options.strProgramsDir.c_str();
  harnessOptions.strProjectDir = options.strProjectDir.c_str();
  m_pHarness = std::make_unique<CEditorHarness>(harnessOptions);
  m_list.m_pImages = &m_pHarness->GetImages();

  // The file list is a window of the host's main window, outside the
  // editor's frame: giving it the focus takes the focus from the frame.
  const RECT rcFiles = m_layout.FilesPixels();
  m_filesWnd.CreateEx(WS_EX_NOACTIVATE, nullptr, "Project files", WS_POPUP | WS_VISIBLE, rcFiles.left, rcFiles.top,
                      rcFiles.right - rcFiles.left, rcFiles.bottom - rcFiles.top, nullptr, nullptr);

  if (CScriptBrowser* pBrowser = m_pHarness->GetProjectManager().GetScriptBrowser()) {
    for (const auto& entry : pBrowser->GetFunctionMap()) {
      CEditFile file;
      file.strPath = entry.second.m_strScriptPath.Str();
      file.strName = entry.second.m_strFileName.IsEmpty() ? BaseName(file.strPath) : entry.second.m_strFileName.Str();
      m_files.push_back(file);
    }
  }
  m_pHarness->FocusEditor();
  m_pHarness->ClearEvents();
}

CEditSession::~CEditSession() {
  m_list.m_pImages = nullptr;
  if (IsListOpen()) m_list.DestroyWindow();
  m_filesWnd.DestroyWindow();
  m_pHarness.reset();
}

bool CEditSession::IsIdentChar(char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_'; }

bool CEditSession::IsReady() const { return m_pHarness && m_pHarness->IsReady(); }

void CEditSession::Report(CEditEvent::EKind kind, const std::string& strText, int nIndex) {
  if (!m_pfnHandler) return;
  CEditEvent event;
  event.kind = kind;
  event.strText = strText;
  event.nIndex = nIndex;
  m_pfnHandler(event);
}

// ---- Files ----------------------------------------------------------------------

int CEditSession::FindFile(const std::string& strPathOrName) const {
  for (size_t i = 0; i < m_files.size(); ++i)
    if (m_files[i].strPath == strPathOrName) return static_cast<int>(i);
  for (size_t i = 0; i < m_files.size(); ++i)
    if (m_files[i].strName == strPathOrName) return static_cast<int>(i);
  return -1;
}

int CEditSession::AddFile(const std::string& strPath, std::string& strError) {
  std::string strText;
  if (!ReadFile(strPath, strText, strError)) return -1;
  char szReal[4096];
  const std::string strReal = realpath(strPath.c_str(), szReal) != nullptr ? std::string(szReal) : strPath;
  for (size_t i = 0; i < m_files.size(); ++i) {
    char szOther[4096];
    if (realpath(m_files[i].strPath.c_str(), szOther) != nullptr && strReal == szOther) return static_cast<int>(i);
  }
  CEditFile file;
  file.strPath = strPath;
  file.strName = BaseName(strPath);
  m_files.push_back(file);
  return static_cast<int>(m_files.size()) - 1;
}

void CEditSession::StoreCurrentFile() {
  if (m_nCurrentFile < 0) return;
  CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  file.strText = m_pHarness->GetText().Str();
  file.nLine = m_pHarness->GetCaretLine();
  file.nColumn = m_pHarness->GetCaretColumn();
}

bool CEditSession::OpenFile(int nIndex, std::string& strError) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_files.size())) {
    strError = "no such file";
    return false;
  }
  CEditFile& file = m_files[static_cast<size_t>(nIndex)];
  if (!file.bLoaded) {
    std::string strText;
    if (!ReadFile(file.strPath, strText, strError)) return false;
    file.strDiskText = strText;
    file.strText = strText;
    file.bLoaded = true;
  }
  if (IsListOpen()) CloseList();
  StoreCurrentFile();
  m_nCurrentFile = nIndex;
  m_nFilesSelection = nIndex;
  // The host loads the text: no key messages, so the controller sees nothing.
  m_pHarness->SetText(file.strText.c_str());
  m_pHarness->SetCaret(file.nLine, file.nColumn);
  Report(CEditEvent::fileOpened, file.strName);
  return true;
}

int CEditSession::GetFilesTop() const {
  const RECT rc = m_layout.FilesCells();
  const int nShown = m_bFilesFocused ? m_nFilesSelection : m_nCurrentFile;
  return std::max(0, nShown - static_cast<int>(rc.bottom - rc.top) + 1);
}

bool CEditSession::IsModified() const {
  if (m_nCurrentFile < 0) return false;
  return m_pHarness->GetText().Str() != m_files[static_cast<size_t>(m_nCurrentFile)].strDiskText;
}

bool CEditSession::IsAnyModified() const {
  for (size_t i = 0; i < m_files.size(); ++i) {
    if (static_cast<int>(i) == m_nCurrentFile) {
      if (IsModified()) return true;
    } else if (m_files[i].bLoaded && m_files[i].strText != m_files[i].strDiskText) {
      return true;
    }
  }
  return false;
}

bool CEditSession::Save(std::string& strError) {
  if (m_nCurrentFile < 0) {
    strError = "no file to save";
    return false;
  }
  CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  const std::string strText = m_pHarness->GetText().Str();
  if (!SaveWholeFile(file.strPath.c_str(), strText.data(), strText.size())) {
    strError = "cannot write file: " + file.strPath;
    return false;
  }
  file.strDiskText = strText;
  // The host initialises the controller again: the user catalogue is read
  // anew from the project's scripts, so a function just defined is known.
  m_pHarness->AttachController(m_pHarness->GetEditor());
  Report(CEditEvent::fileSaved, file.strName, static_cast<int>(g_FuncInfoUser.size()));
  return true;
}
