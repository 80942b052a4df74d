// CEditSession: the harness on a screen of cells, and the project's files
// (EditSessionInput.cpp: the key bindings; EditSessionList.cpp: the
// completion-list popup; EditSessionDrawing.cpp: the state the screen draws).
#include "tools/edit/EditSession.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "FileSave.h"
#include "tools/nimbo/WholeFile.h"
#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "codemax/CCodeMaxEditor.h"
#include "darnel2/CScriptBrowser.h"
#include "module/SharedCatalogs.h"

namespace {

// The bytes of a regular file; false with a message naming the file and
// the system's reason.
bool ReadFile(const std::string& strPath, std::string& strText, std::string& strError) {
  struct stat info;
  if (stat(strPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    strError = "not a regular file: " + strPath;
    return false;
  }
  return nimbo::ReadWholeFile(strPath, strText, strError);
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
    // The stamp first: a change while the file is read shows at the next save.
    const CFileStamp stamp = CFileStamp::Of(file.strPath);
    std::string strBytes;
    if (!ReadFile(file.strPath, strBytes, strError)) return false;
    file.stamp = stamp;
    file.disk.Read(strBytes);
    file.strText = file.disk.GetText();
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
  return m_pHarness->GetText().Str() != m_files[static_cast<size_t>(m_nCurrentFile)].disk.GetText();
}

bool CEditSession::IsAnyModified() const {
  for (size_t i = 0; i < m_files.size(); ++i) {
    if (static_cast<int>(i) == m_nCurrentFile) {
      if (IsModified()) return true;
    } else if (m_files[i].bLoaded && m_files[i].strText != m_files[i].disk.GetText()) {
      return true;
    }
  }
  return false;
}

bool CEditSession::IsChangedOnDisk() const {
  if (m_nCurrentFile < 0) return false;
  const CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  const CFileStamp stamp = CFileStamp::Of(file.strPath);
  if (!stamp.bExists || stamp == file.stamp) return false;
  // Touched or replaced by the same bytes is no change.
  std::string strBytes;
  std::string strError;
  return ReadFile(file.strPath, strBytes, strError) && strBytes != file.disk.GetBytes();
}

bool CEditSession::Save(std::string& strError) {
  if (m_nCurrentFile < 0) {
    strError = "no file to save";
    return false;
  }
  CEditFile& file = m_files[static_cast<size_t>(m_nCurrentFile)];
  const std::string strText = m_pHarness->GetText().Str();
  const std::string strBytes = file.disk.Write(strText);
  errno = 0;
  if (!SaveWholeFile(file.strPath.c_str(), strBytes.data(), strBytes.size())) {
    strError = "cannot write " + file.strPath + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
    return false;
  }
  file.disk.SetWritten(strText);
  file.stamp = CFileStamp::Of(file.strPath);
  // The host initialises the controller again: the user catalogue is read
  // anew from the project's scripts, so a function just defined is known.
  m_pHarness->AttachController(m_pHarness->GetEditor());
  Report(CEditEvent::fileSaved, file.strName, static_cast<int>(g_FuncInfoUser.size()));
  return true;
}
