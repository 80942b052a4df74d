// CLspServer: life cycle, dispatch, and the worker's loop over the inbox.
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspMemory.h"

#include <algorithm>
#include <filesystem>

#include "FileSystemPath.h"
#include "tools/lsp/LspEditorFeatures.h"
#include "tools/lsp/LspUri.h"

namespace nimbo {
namespace lsp {

namespace {

// Scripts whose call sites are read, or closed scripts whose diagnostics
// are worked out, in one idle step of the worker: a message that arrives
// meanwhile waits for one step at most.
const size_t kIdleSitesStep = 16;
const size_t kIdleClosedStep = 32;

// A value of a JSON object by path, or null when a step is missing or not
// an object: for the optional parts of the client's capabilities.
const nlohmann::json& Dig(const nlohmann::json& value, std::initializer_list<const char*> path) {
  static const nlohmann::json null;
  const nlohmann::json* pValue = &value;
  for (const char* pszKey : path) {
    if (!pValue->is_object()) return null;
    auto it = pValue->find(pszKey);
    if (it == pValue->end()) return null;
    pValue = &*it;
  }
  return *pValue;
}

}  // namespace

CLspServer::CLspServer(const CLspOptions& options, std::function<void(const std::string&)> pfnWrite,
                       std::function<void(const std::string&)> pfnLog)
    : m_options(options),
      m_pfnWrite(std::move(pfnWrite)),
      m_pfnLog(std::move(pfnLog)),
      m_pInbox(std::make_shared<CLspInbox>([](const std::string& strMethod) {
        const CMethod* pMethod = FindMethod(strMethod);
        return pMethod != nullptr && pMethod->bMidIndex;
      })),
      m_nDiagnosticsDelayMs(options.nDiagnosticsDelayMs) {}

CLspServer::~CLspServer() { m_pWatcher.reset(); }

bool CLspServer::RunOne(bool bWait) {
  CLspIncoming item;
  // While nothing waits, the call sites the full index left are read, a few
  // scripts at a time, so that the first references need not read them;
  // then the closed scripts' diagnostics are worked out.
  bool bItem = false;
  while (bWait && !bItem && !(ReadCallSites(kIdleSitesStep) && CheckClosedScripts(kIdleClosedStep)))
    bItem = m_pInbox->Pop(item, false);
  // Diagnostics waiting for the client to pause end the wait when due.
  if (!bItem)
    bItem = bWait && !m_unpublished.empty() && CanPublish() ? m_pInbox->PopUntil(item, m_publishAt)
                                                            : m_pInbox->Pop(item, bWait);
  if (bItem) Handle(item);
  if (m_nNesting == 0 && !m_bExit) {
    if (bItem) RunPendingWork();
    PublishDiagnostics();
    if (m_bReleasePending) {
      m_bReleasePending = false;
      ReleaseFreeMemory();
    }
  }
  return bItem;
}

void CLspServer::HandleMessage(const std::string& strBody) {
  m_pInbox->PushBody(strBody);
  while (!m_bExit && RunOne(false)) {
  }
  // The closed scripts' diagnostics a waiting worker would publish next.
  while (!m_bExit && !CheckClosedScripts(kIdleClosedStep)) {
  }
}

void CLspServer::YieldToLight() {
  ++m_nNesting;
  CLspReply* pRunning = m_pCurrent;
  CLspIncoming item;
  try {
    while (!m_bExit && m_pInbox->PopLight(item)) Handle(item);
  } catch (...) {
    --m_nNesting;
    m_pCurrent = pRunning;
    throw;
  }
  --m_nNesting;
  m_pCurrent = pRunning;
  if (pRunning != nullptr && pRunning->IsCancelled()) throw CCancelled();
}

void CLspServer::Handle(CLspIncoming& item) {
  switch (item.eKind) {
    case CLspIncoming::kindUnparsable:
      m_pfnLog("message is not JSON: " + item.strError);
      ReplyTo(nullptr)->Error(kLspParseError, "Parse error");
      // A lost edit leaves its document out of step with the client's.
      if (!item.strLostEditUri.empty()) MarkOutOfStep(item.strLostEditUri, "an edit that is not JSON was lost");
      break;
    case CLspIncoming::kindFilesChanged:
      if (m_bInitialized && !m_bShutdown) FilesChanged(item.paths);
      break;
    case CLspIncoming::kindInputEnded:
      m_bInputEnded = true;
      break;
    case CLspIncoming::kindMessage:
      if (!item.strNote.empty()) m_pfnLog(item.strNote);
      HandleBody(item.message);
      break;
  }
}

const CLspServer::CMethod* CLspServer::FindMethod(const std::string& strName) {
  //  name                               request mid-index fresh  handler
  static const CMethod methods[] = {
      {"initialize",                        true,  false, false, &CLspServer::Initialize, nullptr},
      {"initialized",                       false, false, false, nullptr, &CLspServer::Initialized},
      {"shutdown",                          true,  false, false, &CLspServer::Shutdown, nullptr},
      {"exit",                              false, false, false, nullptr, &CLspServer::Exit},
      {"textDocument/didOpen",              false, true,  false, nullptr, &CLspServer::DidOpen},
      {"textDocument/didChange",            false, true,  false, nullptr, &CLspServer::DidChange},
      {"textDocument/didClose",             false, true,  false, nullptr, &CLspServer::DidClose},
      {"textDocument/didSave",              false, false, false, nullptr, &CLspServer::DidSave},
      {"workspace/didChangeWatchedFiles",   false, false, false, nullptr, &CLspServer::DidChangeWatchedFiles},
      {"workspace/didChangeConfiguration",  false, false, false, nullptr, &CLspServer::DidChangeConfiguration},
      // Signature help, asked on every "(" and ",", reads edited documents
      // again only when the name needs it (FindForSignature).
      {"textDocument/signatureHelp",        true,  true,  false, &CLspServer::SignatureHelp, nullptr},
      {"textDocument/completion",           true,  true,  true,  &CLspServer::Completion, nullptr},
      {"completionItem/resolve",            true,  true,  true,  &CLspServer::ResolveCompletion, nullptr},
      {"textDocument/hover",                true,  true,  true,  &CLspServer::Hover, nullptr},
      {"textDocument/definition",           true,  true,  true,  &CLspServer::Definition, nullptr},
      {"workspace/symbol",                  true,  false, true,  &CLspServer::WorkspaceSymbol, nullptr},
      {"textDocument/documentSymbol",       true,  false, true,  &CLspServer::DocumentSymbol, nullptr},
      {"textDocument/documentHighlight",    true,  false, true,  &CLspServer::DocumentHighlight, nullptr},
      {"textDocument/prepareRename",        true,  false, true,  &CLspServer::PrepareRename, nullptr},
      {"textDocument/references",           true,  false, true,  &CLspServer::References, nullptr},
      {"textDocument/rename",               true,  false, true,  &CLspServer::Rename, nullptr},
      {"textDocument/codeAction",           true,  false, true,  &CLspServer::CodeAction, nullptr},
      {"textDocument/semanticTokens/full",  true,  false, true,  &CLspServer::SemanticTokensFull, nullptr},
      {"textDocument/inlayHint",            true,  false, true,  &CLspServer::InlayHint, nullptr},
      {"textDocument/foldingRange",         true,  true,  false, &CLspServer::FoldingRange, nullptr},
      {"textDocument/prepareCallHierarchy", true,  false, true,  &CLspServer::PrepareCallHierarchy, nullptr},
      {"callHierarchy/incomingCalls",       true,  false, true,  &CLspServer::IncomingCalls, nullptr},
      {"callHierarchy/outgoingCalls",       true,  false, true,  &CLspServer::OutgoingCalls, nullptr},
  };
  for (const CMethod& method : methods)
    if (strName == method.pszName) return &method;
  return nullptr;
}

std::unique_ptr<CLspReply> CLspServer::ReplyTo(const json& id) {
  return std::unique_ptr<CLspReply>(new CLspReply(id, m_pfnWrite, m_pInbox));
}

void CLspServer::HandleBody(const json& message) {
  if (!message.is_object()) {
    ReplyTo(nullptr)->Error(kLspInvalidRequest, "Invalid Request: a message is a JSON object");
    return;
  }
  const auto itId = message.find("id");
  const bool bRequest = itId != message.end();
  const json id = bRequest ? *itId : json();
  if (bRequest && !id.is_number_integer() && !id.is_string()) {
    ReplyTo(nullptr)->Error(kLspInvalidRequest, "Invalid Request: id must be a number or a string");
    return;
  }
  const auto itMethod = message.find("method");
  if (itMethod == message.end() || !itMethod->is_string()) {
    // A response to one of our own requests carries no method.
    if (bRequest && (message.contains("result") || message.contains("error"))) return;
    if (bRequest) ReplyTo(id)->Error(kLspInvalidRequest, "Invalid Request: no method");
    else m_pfnLog("message without method or id dropped");
    return;
  }
  const std::string strMethod = *itMethod;
  const json params = message.contains("params") ? message["params"] : json::object();
  const CMethod* pMethod = FindMethod(strMethod);
  if (!bRequest) {
    // Before "initialize" and after "shutdown" notifications other than
    // "exit" are dropped; so are unknown ones and the rest of "$/" (the
    // inbox takes "$/cancelRequest"), as the protocol allows.
    if (pMethod == nullptr || pMethod->pfnNotification == nullptr) return;
    if (pMethod->pfnNotification != &CLspServer::Exit && (!m_bInitialized || m_bShutdown)) return;
    try {
      (this->*(pMethod->pfnNotification))(params);
    } catch (const json::exception& e) {
      m_pfnLog(strMethod + ": invalid params: " + e.what());
    } catch (const std::exception& e) {
      m_pfnLog(strMethod + ": " + e.what());
    } catch (const CRequestFailed&) {
    } catch (const CCancelled&) {
    }
    return;
  }
  std::unique_ptr<CLspReply> pReply = ReplyTo(id);
  try {
    HandleRequest(pMethod, strMethod, params, *pReply);
  } catch (const CCancelled&) {
    pReply->Error(kLspRequestCancelled, "Request cancelled");
  } catch (const CRequestFailed& failed) {
    pReply->Error(kLspRequestFailed, failed.strMessage);
  } catch (const json::exception& e) {
    m_pfnLog(strMethod + ": invalid params: " + e.what());
    pReply->Error(kLspInvalidParams, std::string("Invalid params: ") + e.what());
  } catch (const std::exception& e) {
    m_pfnLog(strMethod + ": " + e.what());
    pReply->Error(kLspInternalError, std::string("Internal error: ") + e.what());
  }
}

void CLspServer::HandleRequest(const CMethod* pMethod, const std::string& strMethod, const json& params,
                               CLspReply& reply) {
  const bool bInitialize = pMethod != nullptr && pMethod->pfnRequest == &CLspServer::Initialize;
  if (bInitialize && m_bInitialized) {
    reply.Error(kLspInvalidRequest, "initialize was already received");
    return;
  }
  if (!bInitialize && !m_bInitialized) {
    reply.Error(kLspServerNotInitialized, "Server not initialized");
    return;
  }
  if (m_bShutdown) {
    reply.Error(kLspInvalidRequest, "Invalid Request: the server is shutting down");
    return;
  }
  if (reply.IsCancelled()) {
    reply.Error(kLspRequestCancelled, "Request cancelled");
    return;
  }
  if (pMethod == nullptr || pMethod->pfnRequest == nullptr) {
    reply.Error(kLspMethodNotFound, "Method not found: " + strMethod);
    return;
  }
  if (bInitialize || pMethod->pfnRequest == &CLspServer::Shutdown) {
    reply.Result((this->*(pMethod->pfnRequest))(params));
    return;
  }
  if (!params.is_object()) throw json::type_error::create(302, "params must be an object", nullptr);
  // A client that asks before "initialized" gets the catalogues read first.
  if (!m_pCatalog && m_nNesting == 0) {
    SetUpCatalogue();
    RunPendingWork();
  }
  if (pMethod->bFresh) RefreshDocuments();
  m_pCurrent = &reply;
  CLspResult result;
  try {
    result = (this->*(pMethod->pfnRequest))(params);
  } catch (...) {
    m_pCurrent = nullptr;
    throw;
  }
  m_pCurrent = nullptr;
  // A name a full index has not reached yet may be defined in a script
  // still to be read: such a question waits for the index, rather than
  // get a wrong "nothing here".
  if (result.IsNull() && m_bFullIndexRunning) {
    m_deferred.push_back({{"jsonrpc", "2.0"}, {"id", reply.Id()}, {"method", strMethod}, {"params", params}});
    reply.Defer();
    return;
  }
  reply.Result(result);
}

void CLspServer::Exit(const json&) { m_bExit = true; }

CLspResult CLspServer::Shutdown(const json&) {
  m_bShutdown = true;
  return nullptr;
}

CLspResult CLspServer::Initialize(const json& params) {
  const json& capabilities = Dig(params, {"capabilities"});
  const json& encodings = Dig(capabilities, {"general", "positionEncodings"});
  if (encodings.is_array())
    for (const json& encoding : encodings)
      if (encoding == "utf-8") m_eEncoding = encodingUtf8;
  m_bWatchRegistration = Dig(capabilities, {"workspace", "didChangeWatchedFiles", "dynamicRegistration"}) == true;
  m_bRelativePatterns = Dig(capabilities, {"workspace", "didChangeWatchedFiles", "relativePatternSupport"}) == true;
  m_bWorkDoneProgress = Dig(capabilities, {"window", "workDoneProgress"}) == true;
  const json& formats = Dig(capabilities, {"textDocument", "hover", "contentFormat"});
  m_bMarkdown = !formats.is_array() || std::find(formats.begin(), formats.end(), "markdown") != formats.end();
  m_bSnippets = Dig(capabilities, {"textDocument", "completion", "completionItem", "snippetSupport"}) == true;
  m_bHierarchicalSymbols =
      Dig(capabilities, {"textDocument", "documentSymbol", "hierarchicalDocumentSymbolSupport"}) == true;
  m_bDocumentChanges = Dig(capabilities, {"workspace", "workspaceEdit", "documentChanges"}) == true;
  const bool bPrepareRename = Dig(capabilities, {"textDocument", "rename", "prepareSupport"}) == true;
  m_bInlayHintClient = Dig(capabilities, {"textDocument", "inlayHint"}).is_object();

  const json& folders = Dig(params, {"workspaceFolders"});
  const json& rootUri = Dig(params, {"rootUri"});
  const json& rootPath = Dig(params, {"rootPath"});
  // Every folder of a workspace is read, the first one as the main root.
  if (folders.is_array())
    for (const json& folder : folders) {
      std::string strPath;
      if (!Dig(folder, {"uri"}).is_string() || !PathFromUri(folder["uri"], strPath)) continue;
      if (m_strWorkspace.empty()) m_strWorkspace = strPath;
      else m_moreRoots.push_back(strPath);
    }
  if (m_strWorkspace.empty() && rootUri.is_string())
    PathFromUri(rootUri, m_strWorkspace);
  else if (m_strWorkspace.empty() && rootPath.is_string())
    m_strWorkspace = rootPath;
  const json& options = Dig(params, {"initializationOptions"});
  const json& programs = Dig(options, {"programs"});
  if (programs.is_string()) m_strInitPrograms = programs;
  // Further folders whose scripts define project functions; a relative one
  // is taken from the workspace folder.
  const json& projectFolders = Dig(options, {"projectFolders"});
  if (projectFolders.is_array())
    for (const json& folder : projectFolders) {
      if (!folder.is_string() || folder.get<std::string>().empty()) continue;
      const std::filesystem::path path = FileSystemPath(folder.get<std::string>());
      m_moreRoots.push_back(FileSystemName(path.is_absolute() || m_strWorkspace.empty()
                                               ? path
                                               : FileSystemPath(m_strWorkspace) / path));
    }
  const json& excluded = Dig(options, {"excludeFolders"});
  if (excluded.is_array())
    for (const json& folder : excluded)
      if (folder.is_string()) m_excluded.push_back(folder);
  const json& limit = Dig(options, {"workspaceSymbolLimit"});
  if (limit.is_number_unsigned()) m_nSymbolLimit = limit.get<size_t>();
  std::vector<std::string> problems;
  m_diagnostics.Configure(Dig(options, {"diagnostics"}), &problems);
  for (const std::string& strProblem : problems) m_pfnLog(strProblem);
  const json& delay = Dig(options, {"diagnosticsDelay"});
  if (delay.is_number_unsigned()) m_nDiagnosticsDelayMs = delay.get<long long>();
  if (Dig(options, {"inlayHints"}).is_boolean()) m_bInlayHints = Dig(options, {"inlayHints"}).get<bool>();
  if (Dig(options, {"workspaceDiagnostics"}).is_boolean())
    UseWorkspaceDiagnostics(Dig(options, {"workspaceDiagnostics"}).get<bool>());
  m_bInitialized = true;

  json result = {{"capabilities",
           {{"positionEncoding", m_eEncoding == encodingUtf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
            {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}, {"retriggerCharacters", {")"}}}},
            {"completionProvider", {{"resolveProvider", true}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"workspaceSymbolProvider", true},
            {"documentSymbolProvider", true},
            {"referencesProvider", true},
            {"documentHighlightProvider", true},
            {"renameProvider", bPrepareRename ? json({{"prepareProvider", true}}) : json(true)},
            {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
            {"semanticTokensProvider",
             {{"legend", {{"tokenTypes", SemanticTokenTypes()}, {"tokenModifiers", SemanticTokenModifiers()}}},
              {"full", true}}},
            {"foldingRangeProvider", true},
            {"callHierarchyProvider", true}}},
          {"serverInfo", {{"name", "nimbo"}}}};
  // Parameter names are shown where the client shows inlay hints and the
  // user left them on; they are answered all the same when asked.
  if (m_bInlayHintClient && m_bInlayHints) result["capabilities"]["inlayHintProvider"] = true;
  return result;
}

void CLspServer::Initialized(const json&) {
  if (!m_pCatalog) SetUpCatalogue();
  if (!m_bWatchRegistration) return;
  // Scripts end with ".nsc" in any letter case, as the index reads them.
  json watchers = json::array({{{"globPattern", "**/*.[nN][sS][cC]"}}, {{"globPattern", "**/funcwiz.ini"}}});
  // The Programs directory and the project folders added by the settings
  // are seldom inside the workspace: watched by their own paths where the
  // client takes patterns relative to a folder.
  if (m_bRelativePatterns) {
    watchers.push_back(
        {{"globPattern", {{"baseUri", UriFromPath(m_pCatalog->ProgramsDir())}, {"pattern", "funcwiz.ini"}}}});
    const std::vector<std::string>& roots = m_pCatalog->Filter().Roots();
    for (size_t i = 1; i < roots.size(); ++i)
      watchers.push_back({{"globPattern", {{"baseUri", UriFromPath(roots[i])}, {"pattern", "**/*.[nN][sS][cC]"}}}});
  }
  SendRequest("client/registerCapability",
              {{"registrations",
                {{{"id", "nimbo-watched-files"},
                  {"method", "workspace/didChangeWatchedFiles"},
                  {"registerOptions", {{"watchers", watchers}}}}}}});
}

void CLspServer::Send(const json& message) { m_pfnWrite(JsonText(message)); }

void CLspServer::SendRequest(const std::string& strMethod, const json& params) {
  // String ids keep the server's requests apart from the client's at a glance.
  Send({{"jsonrpc", "2.0"},
        {"id", "nimbo-" + std::to_string(m_nNextRequest++)},
        {"method", strMethod},
        {"params", params}});
}

void CLspServer::SendNotification(const std::string& strMethod, const json& params) {
  Send({{"jsonrpc", "2.0"}, {"method", strMethod}, {"params", params}});
}

void CLspServer::LogToClient(int nType, const std::string& strMessage) {
  m_pfnLog(strMessage);
  SendNotification("window/logMessage", {{"type", nType}, {"message", strMessage}});
}

}  // namespace lsp
}  // namespace nimbo
