// CLspServer: keeping the catalogues up to date: the first index of the
// project tree, the files that changed since (saves, watched files, the
// server's own watcher) and the open documents, whose text stands for
// their files'.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "FileSystemPath.h"
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspUri.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

const int kLogError = 1;
const int kLogWarning = 2;
const int kLogInfo = 3;
// A document of this size or more gives its memory back when it closes.
const size_t kLargeDocumentBytes = 4 << 20;
// Scripts whose call sites are read between two looks at the inbox.
const size_t kSitesPerStep = 64;

std::string FolderOf(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of(kPathSeparators);
  return nSlash == std::string::npos ? std::string(".") : nSlash == 0 ? std::string("/") : strPath.substr(0, nSlash);
}

std::string CountOf(size_t nCount, const char* pszWhat) {
  return std::to_string(nCount) + " " + pszWhat + (nCount == 1 ? "" : "s");
}

bool IsFuncWiz(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of(kPathSeparators);
  return LowerAscii(nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1)) == "funcwiz.ini";
}

}  // namespace

void CLspServer::SetUpCatalogue() {
  m_pCatalog.reset(new CLspCatalog());
  std::string strPrograms = m_options.strPrograms;
  if (strPrograms.empty()) strPrograms = m_strInitPrograms;
  if (strPrograms.empty()) strPrograms = m_options.strBundledPrograms;
  if (m_options.strProject.empty() && m_strWorkspace.empty() && !m_documentUris.empty()) {
    // Scripts opened before "initialized": the first one tells where the project is.
    AdoptFolderOf(m_documentUris.begin()->first);
  }
  std::vector<std::string> projects = {m_options.strProject.empty() ? m_strWorkspace : m_options.strProject};
  projects.insert(projects.end(), m_moreRoots.begin(), m_moreRoots.end());
  std::string strProgramsError, strProjectsError;
  if (!m_pCatalog->Configure(strPrograms, projects, m_excluded, m_eEncoding, strProgramsError, strProjectsError))
    m_pfnLog(strProgramsError + (strProgramsError.empty() || strProjectsError.empty() ? "" : "; ") + strProjectsError);
  // A folder the user chose that cannot serve is worth a word on screen, not
  // only in the log; once, not at every set-up. The Programs folder is said
  // by the reading of its funcwiz.ini (ReloadBuiltIns), which names the file
  // and the system's reason, so only the project folders are said here.
  if (!strProjectsError.empty() && strProjectsError != m_strToldProblem) {
    m_strToldProblem = strProjectsError;
    SendNotification("window/showMessage", {{"type", kLogWarning}, {"message", "Nimbo: " + strProjectsError}});
  }
  m_bBuiltInsPending = true;
  m_bFullIndexPending = true;  // also without a project: the open documents are read
  StartWatching();
}

void CLspServer::StartWatching() {
  if (!m_options.bWatchFiles) return;
  m_pWatcher = CreateLspWatcher();
  // A client that registers watchers reports the scripts; funcwiz.ini is
  // watched here all the same, as clients seldom see outside the project.
  const CLspFolderFilter filter = m_bWatchRegistration ? CLspFolderFilter() : m_pCatalog->Filter();
  std::weak_ptr<CLspInbox> pInbox = m_pInbox;
  std::string strError;
  if (!m_pWatcher->Start(filter, {m_pCatalog->ProgramsDir() + PathSeparator() + "funcwiz.ini"},
                         [pInbox](std::vector<std::string> paths) {
                           if (auto pShared = pInbox.lock()) pShared->PushFilesChanged(std::move(paths));
                         },
                         strError))
    m_pfnLog(strError);
}

void CLspServer::RunPendingWork() {
  if (m_bSetUpPending) {
    m_bSetUpPending = false;
    m_pWatcher.reset();
    SetUpCatalogue();
  }
  if (!m_pCatalog) return;
  if (m_bBuiltInsPending) {
    m_bBuiltInsPending = false;
    ReloadBuiltIns();
  }
  if (m_bFullIndexPending) {
    m_bFullIndexPending = false;
    m_changedPaths.clear();  // the full index reads everything
    FullIndex();
  }
  if (!m_changedPaths.empty()) {
    std::set<std::string> paths;
    paths.swap(m_changedPaths);
    UpdatePaths(paths);
    for (const std::string& strPath : paths) RecheckClosedScript(strPath);
  }
}

std::string CLspServer::BeginProgress(const char* pszTitle, const std::string& strMessage) {
  if (!m_bWorkDoneProgress) return std::string();
  const std::string strToken = "nimbo-index-" + std::to_string(m_nNextRequest);  // unique: a request follows
  SendRequest("window/workDoneProgress/create", {{"token", strToken}});
  SendNotification("$/progress", {{"token", strToken},
                                  {"value", {{"kind", "begin"}, {"title", pszTitle}, {"message", strMessage},
                                             {"percentage", 0}, {"cancellable", false}}}});
  return strToken;
}

void CLspServer::ReportProgress(const std::string& strToken, size_t nDone, size_t nTotal) {
  if (strToken.empty() || nTotal == 0) return;
  // One report per percent at most: a client redraws on each.
  const size_t nPercent = nDone * 100 / nTotal;
  if (nDone != nTotal && nPercent == (nDone - 1) * 100 / nTotal) return;
  SendNotification("$/progress", {{"token", strToken},
                                  {"value", {{"kind", "report"},
                                             {"message", std::to_string(nDone) + "/" + std::to_string(nTotal) + " files"},
                                             {"percentage", nPercent}}}});
}

void CLspServer::EndProgress(const std::string& strToken, const std::string& strMessage) {
  if (strToken.empty()) return;
  SendNotification("$/progress", {{"token", strToken}, {"value", {{"kind", "end"}, {"message", strMessage}}}});
}

void CLspServer::FullIndex() {
  m_bFullIndexRunning = true;  // from the listing on: questions it may answer wait for it
  std::vector<std::pair<CString, std::string>> scripts;  // key, path
  std::set<std::string> listed;  // a root inside another lists some scripts twice
  std::vector<std::string> unreadable;
  for (const std::string& strRoot : m_pCatalog->Filter().Roots())
    for (const std::string& strPath :
         ListScripts(strRoot, m_pCatalog->Filter(), [this] { YieldToLight(); }, &unreadable))
      if (listed.insert(strPath).second) scripts.emplace_back(m_pCatalog->KeyOf(strPath), strPath);
  for (const std::string& strFolder : unreadable)
    if (m_pCatalog->FirstUnreadable(strFolder)) m_pfnLog("folder not read, its scripts are left out: " + strFolder);
  // Open documents count as scripts too, also outside the project and before
  // their first save.
  for (const auto& entry : m_documents) {
    std::string strPath;
    if (!ScriptPathOfUri(entry.first, strPath)) continue;
    const CString strKey = m_pCatalog->KeyOf(strPath);
    if (m_pCatalog->Filter().Covers(strPath) && std::filesystem::exists(FileSystemPath(strPath))) continue;  // listed already
    scripts.emplace_back(strKey, strPath);
  }
  std::sort(scripts.begin(), scripts.end());
  const std::string strToken = BeginProgress("Reading the project's scripts",
                                             "0/" + std::to_string(scripts.size()) + " files");
  m_pCatalog->BeginFullIndex();
  size_t nFunctions = 0;
  for (size_t i = 0; i < scripts.size(); ++i) {
    CLspScript script;
    script.strPath = scripts[i].second;
    std::string strText;
    if (const CLspDocument* pDocument = DocumentAtPath(script.strPath)) {
      script.bDocument = true;
      script.nRevision = pDocument->Revision();
      strText = pDocument->Text();
    } else if (!StampOf(script.strPath, script.stamp)) {
      continue;  // gone since the listing
    } else if (!ReadWholeFile(script.strPath, strText)) {
      // Unreadable: skipped, as the user catalogue skips it, but not unsaid.
      if (m_pCatalog->FirstUnreadable(script.strPath))
        m_pfnLog("script not read: " + script.strPath + ": " + std::strerror(errno));
      continue;
    }
    // Definitions only: signature help needs them all at once; the call
    // sites are read after the index (ReadCallSites).
    script.definitions = ScanDefinitions(strText, m_eEncoding);
    nFunctions += script.definitions.size();
    m_pCatalog->AddInOrder(scripts[i].first, std::move(script));
    ReportProgress(strToken, i + 1, scripts.size());
    YieldToLight();
  }
  m_pCatalog->EndFullIndex();
  m_bFullIndexRunning = false;
  m_bCallSitesPending = true;
  m_strCallSitesNext = CString();
  EndProgress(strToken, CountOf(scripts.size(), "file") + ", " + CountOf(nFunctions, "function"));
  std::vector<json> deferred;
  deferred.swap(m_deferred);
  for (const json& request : deferred) HandleBody(request);
}

bool CLspServer::ReadCallSites(size_t nMax) {
  if (!m_pCatalog || !m_bCallSitesPending) return true;
  const std::map<CString, CLspScript>& scripts = m_pCatalog->Scripts();
  size_t nRead = 0;
  for (auto it = scripts.lower_bound(m_strCallSitesNext); it != scripts.end();) {
    if (it->second.bSitesRead) {
      ++it;
      continue;
    }
    m_strCallSitesNext = it->first;
    if (nMax != 0 && nRead == nMax) return false;
    const CLspScript& script = it->second;
    std::string strText;
    CLspStamp stamp;
    if (DocumentAtPath(script.strPath) != nullptr) {
      // An open document's sites come from its pieces, as its findings do
      // (its definitions are read again too, when it changed: RefreshDocuments).
      m_pCatalog->ReadSites(it->first, m_documents.at(m_documentUris.at(script.strPath)));
    } else if (script.bDocument || !StampOf(script.strPath, stamp) || stamp != script.stamp ||
               !ReadWholeFile(script.strPath, strText)) {
      // Not the text its definitions came from: read again as a changed
      // file, call sites and all; none meanwhile.
      m_changedPaths.insert(script.strPath);
      m_pCatalog->ReadSites(it->first, std::string());
    } else {
      m_pCatalog->ReadSites(it->first, strText);
    }
    ++it;
    if (++nRead % kSitesPerStep == 0 && nMax == 0 && it != scripts.end()) {
      // Light messages may change the scripts meanwhile: go on by key.
      m_strCallSitesNext = it->first;
      YieldToLight();
      it = scripts.lower_bound(m_strCallSitesNext);
    }
  }
  m_bCallSitesPending = false;
  return true;
}

void CLspServer::ReloadBuiltIns() {
  m_pCatalog->ReloadBuiltIns();
  std::string strMessage;
  if (!m_pCatalog->TakeBuiltInsProblem(strMessage)) return;
  m_pfnLog(strMessage);
  SendNotification("window/showMessage", {{"type", kLogWarning}, {"message", strMessage}});
}

void CLspServer::UpdatePaths(const std::set<std::string>& paths) {
  std::vector<std::string> toRead;
  const CLspFolderFilter& filter = m_pCatalog->Filter();
  for (const std::string& strPath : paths) {
    if (IsFuncWiz(strPath)) {
      ReloadBuiltIns();
      continue;
    }
    std::error_code error;
    if (std::filesystem::is_directory(FileSystemPath(strPath), error)) {
      // A folder that appeared (or was renamed into the tree): its scripts.
      if (filter.IsRoot(strPath) || filter.Covers(strPath + PathSeparator() + "x"))
        for (const std::string& strScript : ListScripts(strPath, filter)) toRead.push_back(strScript);
      continue;
    }
    CLspStamp stamp;
    if (IsScriptPath(strPath) && (filter.Covers(strPath) || DocumentAtPath(strPath) != nullptr) &&
        (DocumentAtPath(strPath) != nullptr || StampOf(strPath, stamp))) {
      toRead.push_back(strPath);
      continue;
    }
    // Gone: the script, or every script of a folder that went ("a-b" and
    // "a.nsc" sort between "a" and "a/", hence two looks). Keys have the
    // system's separators, as the catalogue's paths do.
    const CString strKey = m_pCatalog->KeyOf(strPath);
    const std::string strPrefix = std::string(strKey.GetString()) + PathSeparator();
    std::vector<CString> gone;
    const CLspScript* pScript = m_pCatalog->ScriptAt(strKey);
    if (pScript != nullptr && DocumentAtPath(pScript->strPath) == nullptr) gone.push_back(strKey);
    for (auto it = m_pCatalog->Scripts().lower_bound(CString(strPrefix));
         it != m_pCatalog->Scripts().end() && std::string(it->first.GetString()).compare(0, strPrefix.size(), strPrefix) == 0;
         ++it)
      if (DocumentAtPath(it->second.strPath) == nullptr) gone.push_back(it->first);
    for (const CString& strGone : gone) m_pCatalog->RemoveScript(strGone);
  }
  ReadScripts(toRead, "Reading changed scripts");
}

void CLspServer::ReadScripts(const std::vector<std::string>& paths, const char* pszTitle) {
  // Scripts whose stamp is unchanged are not read again: a watcher and the
  // client may both report one save.
  std::vector<std::string> changed;
  for (const std::string& strPath : paths) {
    if (DocumentAtPath(strPath) != nullptr) {
      changed.push_back(strPath);
      continue;
    }
    CLspStamp stamp;
    const CLspScript* pScript = m_pCatalog->ScriptAt(m_pCatalog->KeyOf(strPath));
    if (StampOf(strPath, stamp) && (pScript == nullptr || pScript->bDocument || pScript->stamp != stamp))
      changed.push_back(strPath);
  }
  if (changed.empty()) return;
  const std::string strToken = BeginProgress(pszTitle, "0/" + std::to_string(changed.size()) + " files");
  for (size_t i = 0; i < changed.size(); ++i) {
    CLspScript script;
    script.strPath = changed[i];
    std::string strText;
    if (const CLspDocument* pDocument = DocumentAtPath(script.strPath)) {
      script.bDocument = true;
      script.nRevision = pDocument->Revision();
      strText = pDocument->Text();
    } else if (!StampOf(script.strPath, script.stamp) || !ReadWholeFile(script.strPath, strText)) {
      m_pCatalog->RemoveScript(m_pCatalog->KeyOf(script.strPath));
      continue;
    }
    m_pCatalog->ReadText(script, strText);
    const CString strKey = m_pCatalog->KeyOf(script.strPath);
    m_pCatalog->SetScript(strKey, std::move(script));
    ReportProgress(strToken, i + 1, changed.size());
    YieldToLight();
  }
  EndProgress(strToken, CountOf(changed.size(), "file"));
}

std::vector<std::string> CLspServer::UnreadDocuments() const {
  std::vector<std::string> unread;
  if (!m_pCatalog) return unread;
  for (const auto& entry : m_documentUris) {
    const CLspDocument* pDocument = DocumentAtPath(entry.first);
    if (pDocument == nullptr) continue;  // out of step: its file stands for it
    const CLspScript* pScript = m_pCatalog->ScriptAt(m_pCatalog->KeyOf(entry.first));
    if (pScript == nullptr || !pScript->bDocument || pScript->nRevision != pDocument->Revision())
      unread.push_back(entry.second);
  }
  return unread;
}

void CLspServer::RefreshDocuments() {
  for (const std::string& strUri : UnreadDocuments()) {
    CLspDocument& document = m_documents.at(strUri);
    std::string strPath;
    ScriptPathOfUri(strUri, strPath);
    CLspScript script;
    script.strPath = strPath;
    script.bDocument = true;
    script.nRevision = document.Revision();
    script.definitions = document.Facts(m_eEncoding).Definitions();  // read again only where it changed
    // Its call sites are read from the text when references need them or the
    // worker is idle, not at every pause in the typing.
    m_bCallSitesPending = true;
    m_strCallSitesNext = CString();
    const CString strKey = m_pCatalog->KeyOf(strPath);
    m_pCatalog->SetScript(strKey, std::move(script));
  }
}

bool CLspServer::ScriptPathOfUri(const std::string& strUri, std::string& strPath) const {
  return PathFromUri(strUri, strPath) && IsScriptPath(strPath);
}

const CLspDocument* CLspServer::DocumentAtPath(const std::string& strPath) const {
  auto itUri = m_documentUris.find(strPath);
  if (itUri == m_documentUris.end()) return nullptr;
  // A document out of step with the client's is no better than its file.
  auto it = m_documents.find(itUri->second);
  return it != m_documents.end() && !it->second.IsOutOfStep() ? &it->second : nullptr;
}

void CLspServer::UseDocumentFolder(const std::string& strPath) {
  // Without a folder from the client or the command line, the first script
  // opened tells where the project is. The catalogue is set up again
  // between two messages, never under heavy work that reads it.
  if (!m_pCatalog || !m_pCatalog->ProjectDir().empty() || !m_options.strProject.empty() || !m_strWorkspace.empty())
    return;
  AdoptFolderOf(strPath);
  m_bSetUpPending = true;
}

void CLspServer::AdoptFolderOf(const std::string& strPath) {
  m_strWorkspace = FolderOf(strPath);
  LogToClient(kLogInfo, "the client gave no workspace folder: reading the scripts under " + m_strWorkspace +
                            ", the folder of " + strPath);
}

void CLspServer::DidOpen(const json& params) {
  const json& document = params.at("textDocument");
  const std::string strUri = document.at("uri").get<std::string>();
  const std::string strText = document.at("text").get<std::string>();
  const int nVersion = document.value("version", 0);
  CLspDocument& opened = m_documents[strUri];
  opened.SetText(strText);
  opened.m_nVersion = nVersion;
  std::string strPath;
  if (!ScriptPathOfUri(strUri, strPath)) return;
  m_documentUris[strPath] = strUri;
  // The file's list, where the client knows the file by another URI than
  // the document, would stand beside the document's.
  if (UriFromPath(strPath) != strUri) ClearDiagnostics(UriFromPath(strPath));
  ScheduleDiagnostics(strUri, true);  // a document just opened waits for no pause
  UseDocumentFolder(strPath);
}

void CLspServer::DidChange(const json& params) {
  const json& document = params.at("textDocument");
  auto it = m_documents.find(document.at("uri").get<std::string>());
  if (it == m_documents.end()) {
    m_pfnLog("didChange for a document that is not open: " + document.at("uri").get<std::string>());
    return;
  }
  ScheduleDiagnostics(it->first);
  // A change that cannot be applied puts the document out of step: later
  // ranges are skipped, and only a whole text brings it back.
  try {
    for (const json& change : params.at("contentChanges")) {
      const std::string strText = change.at("text").get<std::string>();
      if (!change.contains("range")) {
        it->second.SetText(strText);
        continue;
      }
      if (it->second.IsOutOfStep()) continue;
      const json& range = change.at("range");
      CLspDocument::CPosition start;
      CLspDocument::CPosition end;
      start.nLine = range.at("start").at("line").get<long long>();
      start.nCharacter = range.at("start").at("character").get<long long>();
      end.nLine = range.at("end").at("line").get<long long>();
      end.nCharacter = range.at("end").at("character").get<long long>();
      it->second.ReplaceRange(start, end, strText, m_eEncoding);
    }
  } catch (const json::exception& e) {
    MarkOutOfStep(it->first, std::string("an edit could not be applied (") + e.what() + ")");
    return;
  }
  if (document.contains("version") && document["version"].is_number_integer())
    it->second.m_nVersion = document["version"].get<int>();
}

void CLspServer::MarkOutOfStep(const std::string& strUri, const std::string& strWhy) {
  auto it = m_documents.find(strUri);
  if (it == m_documents.end()) return;
  it->second.MarkOutOfStep();
  // The catalogue reads the script's file instead until the text is whole.
  std::string strPath;
  if (ScriptPathOfUri(strUri, strPath)) m_changedPaths.insert(strPath);
  ScheduleDiagnostics(strUri);
  LogToClient(kLogError, strWhy + ": no answers on " + strUri +
                             " until the editor sends its whole text again (reopen it)");
}

void CLspServer::DidClose(const json& params) {
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  auto itDocument = m_documents.find(strUri);
  if (itDocument == m_documents.end()) return;
  // A large document's lines, facts and findings are many small blocks,
  // which the allocator keeps unless asked to give them back.
  size_t nBytes = 0;
  for (const std::string& strLine : itDocument->second.Lines()) nBytes += strLine.size();
  m_documents.erase(itDocument);
  if (nBytes >= kLargeDocumentBytes) m_bReleasePending = true;
  // The file (if any) stands for the script again; its list replaces the
  // document's when closed scripts have theirs (the change of the path
  // checks it again).
  std::string strPath;
  const bool bScript = ScriptPathOfUri(strUri, strPath);
  if (!bScript || !m_bWorkspaceDiagnostics || UriFromPath(strPath) != strUri) ClearDiagnostics(strUri);
  else m_unpublished.erase(strUri);
  if (!bScript) return;
  m_documentUris.erase(strPath);
  m_changedPaths.insert(strPath);
}

void CLspServer::DidSave(const json& params) {
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  std::string strPath;
  // A script or funcwiz.ini: only what was saved is read again.
  if (PathFromUri(strUri, strPath) && (IsFuncWiz(strPath) || IsScriptPath(strPath))) m_changedPaths.insert(strPath);
}

void CLspServer::DidChangeWatchedFiles(const json& params) {
  for (const json& change : params.at("changes")) {
    std::string strPath;
    if (PathFromUri(change.at("uri").get<std::string>(), strPath)) m_changedPaths.insert(strPath);
  }
}

void CLspServer::FilesChanged(const std::vector<std::string>& paths) {
  m_changedPaths.insert(paths.begin(), paths.end());
}

}  // namespace lsp
}  // namespace nimbo
