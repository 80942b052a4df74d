// CLspServer: the language server's protocol side. Messages come in through
// its inbox (from any thread); one worker thread takes them out and
// answers (RunOne). Heavy work (an index, a workspace query) pauses between
// its steps to answer light messages queued meanwhile (signature help,
// completion, document changes) and to see cancellations. It owns the open
// documents and the catalogues, and never throws: a message it cannot use
// is answered with the protocol's error (when it is a request) and logged.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspCatalog.h"
#include "tools/lsp/CLspDiagnostics.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/CLspInbox.h"
#include "tools/lsp/CLspReply.h"
#include "tools/lsp/CLspWatcher.h"
#include "tools/lsp/CLspWorkspace.h"
#include "tools/lsp/LspProtocol.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

// Where the catalogues come from before the client has spoken: each string
// empty when not given on the command line.
struct CLspOptions {
  std::string strPrograms;         // --programs, else $NIMBO_PROGRAMS
  std::string strProject;          // --project
  std::string strBundledPrograms;  // the last resort for "Programs"
  bool bWatchFiles = false;        // watch funcwiz.ini (and the scripts, where the client cannot) itself
  long long nDiagnosticsDelayMs = 200;  // the pause after a change before diagnostics are published
};

class CLspServer : private CLspWorkspace {
 public:
  // pfnWrite receives every outgoing message body (JSON text, unframed);
  // pfnLog one line of diagnostics at a time. Both are called from the
  // worker thread only.
  CLspServer(const CLspOptions& options, std::function<void(const std::string&)> pfnWrite,
             std::function<void(const std::string&)> pfnLog);
  CLspServer(const CLspServer&) = delete;  // one server per stream
  CLspServer& operator=(const CLspServer&) = delete;
  ~CLspServer();

  // Where other threads put what the worker is to handle; shared, so that
  // a reader thread may outlive the server.
  std::shared_ptr<CLspInbox> Inbox() const { return m_pInbox; }

  // The worker's step: handles the next item of the inbox (waiting for one
  // when bWait), then the work it left (an index). False when there was none.
  bool RunOne(bool bWait);

  // Queues one message body and handles everything queued: the whole
  // server on the caller's thread, as tests and benchmarks drive it
  // (diagnostics are published only when due: with a delay of 0, after
  // each message).
  void HandleMessage(const std::string& strBody);

  // The client sent "exit": the process should end with ExitStatus().
  bool ExitRequested() const { return m_bExit; }
  // The client's stream ended (after everything before it was handled).
  bool InputEnded() const { return m_bInputEnded; }
  // 0 when "shutdown" came before "exit", 1 otherwise.
  int ExitStatus() const { return m_bShutdown ? 0 : 1; }

 private:
  typedef nlohmann::json json;
  struct CCancelled {};  // thrown from YieldToLight when the running request was cancelled

  // One row per method the server knows: its name, whether it is a
  // request, whether it may be handled between two steps of heavy work (an
  // index, a workspace query: it reads only the catalogues and the open
  // documents, or edits one), whether the documents edited since they were
  // last read are read into the catalogue first, and its handler. A
  // request's handler returns the result; null while a first index runs is
  // taken as "not known yet": the request is asked again after the index.
  typedef CLspResult (CLspServer::*PRequest)(const json& params);
  typedef void (CLspServer::*PNotification)(const json& params);
  struct CMethod {
    const char* pszName;
    bool bRequest;
    bool bMidIndex;
    bool bFresh;
    PRequest pfnRequest;
    PNotification pfnNotification;
  };
  static const CMethod* FindMethod(const std::string& strName);

  void Handle(CLspIncoming& item);
  void HandleBody(const json& message);
  void HandleRequest(const CMethod* pMethod, const std::string& strMethod, const json& params, CLspReply& reply);
  // Between two steps of heavy work: answers the light messages waiting at
  // the front of the inbox; throws CCancelled when the request being
  // answered (if any) was cancelled. (Not "Yield": windows.h makes that an
  // empty macro.)
  void YieldToLight();

  CLspResult Initialize(const json& params);
  CLspResult Shutdown(const json& params);
  void Initialized(const json& params);
  void Exit(const json& params);

  // Keeping the catalogues up to date (CLspIndexing.cpp).
  void SetUpCatalogue();
  void StartWatching();
  void RunPendingWork();
  void FullIndex();
  void ReloadBuiltIns();  // and says once when funcwiz.ini cannot serve
  void UpdatePaths(const std::set<std::string>& paths);
  void ReadScripts(const std::vector<std::string>& paths, const char* pszTitle);
  // Reads the call sites of the scripts the last full index read without
  // them: at most nMax scripts, or (0) every one, pausing between steps.
  // True when none is left.
  bool ReadCallSites(size_t nMax);
  void RefreshDocuments();
  // The URIs of the open scripts, in step with the client, whose current
  // revision the catalogue has not read.
  std::vector<std::string> UnreadDocuments() const;
  bool ScriptPathOfUri(const std::string& strUri, std::string& strPath) const;
  const CLspDocument* DocumentAtPath(const std::string& strPath) const;
  void UseDocumentFolder(const std::string& strPath);
  void AdoptFolderOf(const std::string& strPath);
  void DidOpen(const json& params);
  void DidChange(const json& params);
  void DidClose(const json& params);
  void DidSave(const json& params);
  void DidChangeWatchedFiles(const json& params);
  void FilesChanged(const std::vector<std::string>& paths);
  // Diagnostics of the open scripts (CLspPublishing.cpp): published once
  // the client has paused for the delay after the last change (the
  // worker's wait for the next message ends then), and whenever the
  // catalogue changed under them; only lists that changed are sent.
  void ScheduleDiagnostics(const std::string& strUri, bool bNow = false);
  bool CanPublish() const;
  void PublishDiagnostics();
  void ClearDiagnostics(const std::string& strUri);
  // Sends a script's list when it differs from the one last sent; pVersion
  // is an open document's version, null for a file.
  void SendDiagnostics(const std::string& strUri, const int* pVersion, nlohmann::json diagnostics);
  // Diagnostics of the scripts no editor has open (CLspWorkspaceDiagnostics.cpp),
  // when the client asked for them: worked out while the worker has nothing
  // else to do, at most nMax scripts a step (fewer when a message comes),
  // and only once the open documents' lists are out. True when nothing is
  // left to do now.
  bool CheckClosedScripts(size_t nMax);
  void CheckClosedScript(const CLspScript& script);
  // Every closed script's list is worked out again (the catalogue or the
  // severities changed), or the one of strPath (its file changed, or its
  // document closed).
  void RecheckClosedScripts();
  void RecheckClosedScript(const std::string& strPath);
  // Turns the closed scripts' diagnostics on or off; off takes their lists back.
  void UseWorkspaceDiagnostics(bool bOn);
  void DidChangeConfiguration(const json& params);
  // Marks an open document out of step and tells the client why.
  void MarkOutOfStep(const std::string& strUri, const std::string& strWhy);

  // Work-done progress of an index: a token when the client shows progress.
  std::string BeginProgress(const char* pszTitle, const std::string& strMessage);
  void ReportProgress(const std::string& strToken, size_t nDone, size_t nTotal);
  void EndProgress(const std::string& strToken, const std::string& strMessage);

  // The typed workspace the features read (CLspServerWorkspace.cpp).
  EPositionEncoding Encoding() const override { return m_eEncoding; }
  CLspDocument* Document(const std::string& strUri) override;
  CLspDocument* Locate(const std::string& strUri, const CLspPosition& position, size_t& nLine,
                       size_t& nOffset) override;
  bool Find(const std::string& strName, CLspFunction& function) const override;
  std::vector<CLspPlace> DefinitionsOf(const std::string& strName) const override;
  bool BuiltInAt(const std::string& strName, CLspLocation& location) const override;
  std::vector<CLspUse> UsesOf(const CLspFunction& function, bool bDeclarations,
                              const CLspScript* pOnly = nullptr) override;
  const CLspScript* ScriptOf(const std::string& strUri) const override;
  std::string UriOf(const CLspScript& script) const override;
  CLspScriptReading ReadingOf(const CLspScript& script) override;
  CLspHeaderNotes NotesOf(const CLspPlace& place) override;
  std::vector<CLspDiagnostic> Diagnostics(const std::string& strUri) override;
  bool IsIndexing() const override { return m_bFullIndexRunning; }

  // Language features (CLspFeatures.cpp); each returns the result, null
  // when there is nothing to show.
  CLspResult SignatureHelp(const json& params);
  CLspResult Completion(const json& params);
  CLspResult ResolveCompletion(const json& params);
  CLspResult Hover(const json& params);
  CLspResult Definition(const json& params);
  CLspResult WorkspaceSymbol(const json& params);


  // The open document named by params.textDocument.uri and the line and
  // byte offset of params.position; null when the document is not open or
  // the position lies past its last line.
  CLspDocument* DocumentAt(const json& params, size_t& nLine, size_t& nOffset);
  // The known function named by the word under params.position; word
  // receives the line and the word's byte range.
  struct CWordAt {
    const std::string* pLine = nullptr;
    size_t nLine = 0;
    size_t nFirst = 0;
    size_t nEnd = 0;
  };
  bool FunctionAt(const json& params, CWordAt& word, CLspFunction& function);
  // The position of params (a TextDocumentPositionParams).
  static std::string UriOf(const json& params);
  static CLspPosition PositionOf(const json& params);
  bool FindForSignature(const std::string& strName, CLspFunction& function);
  // What signature help and completion show beside the prototype: a
  // built-in's description, the comment above a project function's definition.
  std::string DocumentationOf(const CLspFunction& function);
  // What a reader needs to know beside the prototype: which function is
  // called when a built-in and project functions share the name; with
  // bLinks, each place is a markdown link to it.
  std::string ShadowNote(const CLspFunction& function, bool bLinks = false) const;
  CLspLocation Location(const CLspPlace& place) const;

  // Navigation and rename (CLspNavigation.cpp). A refusal is thrown as
  // CRequestFailed.
  CLspResult DocumentSymbol(const json& params);
  CLspResult DocumentHighlight(const json& params);
  CLspResult PrepareRename(const json& params);
  CLspResult References(const json& params);
  CLspResult Rename(const json& params);
  struct CRequestFailed {
    std::string strMessage;  // for the user: why
  };
  // Every script's call sites read, and the changes they found.
  void PrepareUses();
  // The known function named at params.position, in code.
  bool FunctionToFollow(const json& params, CWordAt& word, CLspFunction& function);
  // The uses of function, as UsesOf, without reading call sites first.
  std::vector<CLspUse> UsesRead(const CLspFunction& function, bool bDeclarations, const CLspScript* pOnly) const;
  // Why function cannot be renamed; empty when it can.
  std::string RenameRefusal(const CLspFunction& function) const;

  // The features of the later rows, written against the workspace
  // (CLspEditorFeatures.cpp).
  CLspResult CodeAction(const json& params);
  CLspResult SemanticTokensFull(const json& params);
  CLspResult InlayHint(const json& params);
  CLspResult FoldingRange(const json& params);
  CLspResult PrepareCallHierarchy(const json& params);
  CLspResult IncomingCalls(const json& params);
  CLspResult OutgoingCalls(const json& params);

  void Send(const json& message);
  // A reply to the request id (null: an error about what was no request).
  std::unique_ptr<CLspReply> ReplyTo(const json& id);
  void SendRequest(const std::string& strMethod, const json& params);
  void SendNotification(const std::string& strMethod, const json& params);
  void LogToClient(int nType, const std::string& strMessage);

  CLspOptions m_options;
  std::function<void(const std::string&)> m_pfnWrite;
  std::function<void(const std::string&)> m_pfnLog;
  std::shared_ptr<CLspInbox> m_pInbox;

  bool m_bInitialized = false;  // "initialize" answered
  bool m_bShutdown = false;
  bool m_bExit = false;
  bool m_bReleasePending = false;  // a large document closed: free memory goes back once the catalogue forgot it too
  bool m_bInputEnded = false;
  bool m_bWatchRegistration = false;  // the client registers watchers dynamically
  bool m_bRelativePatterns = false;   // ... and takes patterns relative to a folder
  bool m_bWorkDoneProgress = false;
  bool m_bMarkdown = true;  // the client reads markdown documentation
  bool m_bSnippets = false;  // the client takes completions as snippets
  bool m_bHierarchicalSymbols = false;  // document symbols as DocumentSymbol[]
  bool m_bDocumentChanges = false;      // workspace edits as versioned documentChanges
  bool m_bInlayHints = true;            // initializationOptions.inlayHints
  bool m_bInlayHintClient = false;      // the client shows inlay hints
  EPositionEncoding m_eEncoding = encodingUtf16;
  int m_nNextRequest = 1;
  size_t m_nSymbolLimit = 100;  // most workspace symbols in one answer; 0: no limit
  std::string m_strWorkspace;   // the client's (first) workspace folder, if any
  std::vector<std::string> m_moreRoots;   // its other folders, then initializationOptions.projectFolders
  std::string m_strToldProblem;           // the set-up problem last shown to the user
  std::string m_strInitPrograms;          // initializationOptions.programs
  std::vector<std::string> m_excluded;    // initializationOptions.excludeFolders

  // Heavy work waiting for the worker to be between two messages.
  int m_nNesting = 0;                     // inside YieldToLight: no heavy work starts
  bool m_bSetUpPending = false;           // the project's folder became known
  bool m_bBuiltInsPending = false;
  bool m_bFullIndexPending = false;
  std::set<std::string> m_changedPaths;   // files or folders that may have changed
  CLspReply* m_pCurrent = nullptr;        // the request being answered; null for none
  bool m_bFullIndexRunning = false;       // between the start and the end of a full index
  std::vector<json> m_deferred;           // requests answered null meanwhile: asked again after it
  bool m_bCallSitesPending = false;       // scripts of the full index wait for their call sites
  CString m_strCallSitesNext;             // ... from this key on

  CLspDiagnostics m_diagnostics;
  std::set<std::string> m_unpublished;  // open scripts whose diagnostics may have changed
  std::chrono::steady_clock::time_point m_publishAt;  // when they are due
  long long m_nDiagnosticsDelayMs;  // the options', or initializationOptions.diagnosticsDelay
  unsigned long long m_nPublishedGeneration = 0;  // the catalogue's, when its changes were last looked at
  std::map<std::string, std::pair<size_t, size_t>> m_published;  // URI -> the hash and length of the list last sent (JSON), while not empty
  bool m_bWorkspaceDiagnostics = false;       // initializationOptions / settings workspaceDiagnostics
  bool m_bClosedPassPending = false;          // every closed script waits to be checked ...
  CString m_strClosedNext;                    // ... from this key on
  unsigned long long m_nClosedGeneration = 0; // the catalogue's, when the last pass began
  std::set<std::string> m_closedToCheck;      // paths of single closed scripts to check

  std::unique_ptr<CLspCatalog> m_pCatalog;
  std::map<std::string, CLspDocument> m_documents;  // by URI
  std::map<std::string, std::string> m_documentUris;  // path -> URI, of the open scripts
  std::unique_ptr<CLspWatcher> m_pWatcher;           // last: stopped before the rest goes
};

}  // namespace lsp
}  // namespace nimbo
