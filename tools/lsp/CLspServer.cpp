// CLspServer: life cycle, dispatch, and the worker's loop over the inbox.
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspMemory.h"

#include <algorithm>

#include "tools/lsp/LspUri.h"

namespace nimbo {
namespace lsp {

namespace {

// JSON-RPC and protocol error codes.
const int kParseError = -32700;
const int kInvalidRequest = -32600;
const int kMethodNotFound = -32601;
const int kInvalidParams = -32602;
const int kInternalError = -32603;
const int kServerNotInitialized = -32002;
const int kRequestCancelled = -32800;
const int kRequestFailed = -32803;

// Scripts whose call sites are read in one idle step of the worker.
const size_t kIdleSitesStep = 16;

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
      m_pInbox(std::make_shared<CLspInbox>()),
      m_nDiagnosticsDelayMs(options.nDiagnosticsDelayMs) {}

CLspServer::~CLspServer() { m_pWatcher.reset(); }

bool CLspServer::RunOne(bool bWait) {
  CLspIncoming item;
  // While nothing waits, the call sites the full index left are read, a few
  // scripts at a time, so that the first references need not read them.
  bool bItem = false;
  while (bWait && !bItem && !ReadCallSites(kIdleSitesStep)) bItem = m_pInbox->Pop(item, false);
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
}

void CLspServer::YieldToLight() {
  ++m_nNesting;
  const json idRunning = m_currentId;
  CLspIncoming item;
  try {
    while (!m_bExit && m_pInbox->PopLight(item)) Handle(item);
  } catch (...) {
    --m_nNesting;
    m_currentId = idRunning;
    throw;
  }
  --m_nNesting;
  m_currentId = idRunning;
  if (!idRunning.is_null() && m_pInbox->IsCancelled(idRunning)) throw CCancelled();
}

void CLspServer::Handle(CLspIncoming& item) {
  switch (item.eKind) {
    case CLspIncoming::kindUnparsable:
      m_pfnLog("message is not JSON: " + item.strError);
      RespondError(nullptr, kParseError, "Parse error");
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

void CLspServer::HandleBody(const json& message) {
  if (!message.is_object()) {
    RespondError(nullptr, kInvalidRequest, "Invalid Request: a message is a JSON object");
    return;
  }
  const auto itId = message.find("id");
  const bool bRequest = itId != message.end();
  const json id = bRequest ? *itId : json();
  if (bRequest && !id.is_number_integer() && !id.is_string()) {
    RespondError(nullptr, kInvalidRequest, "Invalid Request: id must be a number or a string");
    return;
  }
  const auto itMethod = message.find("method");
  if (itMethod == message.end() || !itMethod->is_string()) {
    // A response to one of our own requests carries no method.
    if (bRequest && (message.contains("result") || message.contains("error"))) return;
    if (bRequest) RespondError(id, kInvalidRequest, "Invalid Request: no method");
    else m_pfnLog("message without method or id dropped");
    return;
  }
  const std::string strMethod = *itMethod;
  const json params = message.contains("params") ? message["params"] : json::object();
  try {
    if (bRequest) HandleRequest(id, strMethod, params);
    else HandleNotification(strMethod, params);
  } catch (const CCancelled&) {
    RespondError(id, kRequestCancelled, "Request cancelled");
  } catch (const CRequestFailed& failed) {
    if (bRequest) RespondError(id, kRequestFailed, failed.strMessage);
  } catch (const json::exception& e) {
    m_pfnLog(strMethod + ": invalid params: " + e.what());
    if (bRequest) RespondError(id, kInvalidParams, std::string("Invalid params: ") + e.what());
  } catch (const std::exception& e) {
    m_pfnLog(strMethod + ": " + e.what());
    if (bRequest) RespondError(id, kInternalError, std::string("Internal error: ") + e.what());
  }
}

void CLspServer::HandleRequest(const json& id, const std::string& strMethod, const json& params) {
  if (strMethod == "initialize") {
    if (m_bInitialized) RespondError(id, kInvalidRequest, "initialize was already received");
    else Respond(id, Initialize(params));
    return;
  }
  if (!m_bInitialized) {
    RespondError(id, kServerNotInitialized, "Server not initialized");
    return;
  }
  if (m_bShutdown) {
    RespondError(id, kInvalidRequest, "Invalid Request: the server is shutting down");
    return;
  }
  if (m_pInbox->IsCancelled(id)) {
    RespondError(id, kRequestCancelled, "Request cancelled");
    return;
  }
  typedef json (CLspServer::*PFeature)(const json&);
  static const std::map<std::string, PFeature> features = {
      {"textDocument/signatureHelp", &CLspServer::SignatureHelp},
      {"textDocument/completion", &CLspServer::Completion},
      {"textDocument/hover", &CLspServer::Hover},
      {"textDocument/definition", &CLspServer::Definition},
      {"workspace/symbol", &CLspServer::WorkspaceSymbol},
      {"textDocument/documentSymbol", &CLspServer::DocumentSymbol},
      {"textDocument/documentHighlight", &CLspServer::DocumentHighlight},
      {"textDocument/prepareRename", &CLspServer::PrepareRename}};
  // Answers as long as the workspace's uses, written as JSON text.
  typedef std::string (CLspServer::*PTextFeature)(const json&);
  static const std::map<std::string, PTextFeature> textFeatures = {
      {"textDocument/references", &CLspServer::References}, {"textDocument/rename", &CLspServer::Rename}};
  if (strMethod == "shutdown") {
    m_bShutdown = true;
    Respond(id, nullptr);
    return;
  }
  auto it = features.find(strMethod);
  auto itText = textFeatures.find(strMethod);
  if (it == features.end() && itText == textFeatures.end()) {
    RespondError(id, kMethodNotFound, "Method not found: " + strMethod);
    return;
  }
  if (!params.is_object()) throw json::type_error::create(302, "params must be an object", nullptr);
  // A client that asks before "initialized" gets the catalogues read first.
  if (!m_pCatalog && m_nNesting == 0) {
    SetUpCatalogue();
    RunPendingWork();
  }
  // Signature help, asked on every "(" and ",", reads the open documents
  // again only when the name needs it (SignatureHelp).
  if (strMethod != "textDocument/signatureHelp") RefreshDocuments();
  m_currentId = id;
  json result;
  std::string strText;
  try {
    if (itText != textFeatures.end()) strText = (this->*(itText->second))(params);
    else result = (this->*(it->second))(params);
  } catch (...) {
    m_currentId = nullptr;
    throw;
  }
  m_currentId = nullptr;
  // A name a full index has not reached yet may be defined in a script
  // still to be read: such a question waits for the index, rather than
  // get a wrong "nothing here".
  if ((strText.empty() ? result.is_null() : strText == "null") && m_bFullIndexRunning) {
    m_deferred.push_back({{"jsonrpc", "2.0"}, {"id", id}, {"method", strMethod}, {"params", params}});
    return;
  }
  if (strText.empty()) {
    Respond(id, result);
    return;
  }
  // The members in the order the JSON library writes them.
  m_pfnWrite("{\"id\":" + id.dump() + ",\"jsonrpc\":\"2.0\",\"result\":" + strText + "}");
  m_pInbox->Done(id);
}

void CLspServer::HandleNotification(const std::string& strMethod, const json& params) {
  if (strMethod == "exit") {
    m_bExit = true;
    return;
  }
  // Before "initialize" and after "shutdown" notifications are dropped.
  if (!m_bInitialized || m_bShutdown) return;
  if (strMethod == "initialized") Initialized();
  else if (strMethod == "textDocument/didOpen") DidOpen(params);
  else if (strMethod == "textDocument/didChange") DidChange(params);
  else if (strMethod == "textDocument/didClose") DidClose(params);
  else if (strMethod == "textDocument/didSave") DidSave(params);
  else if (strMethod == "workspace/didChangeWatchedFiles") DidChangeWatchedFiles(params);
  else if (strMethod == "workspace/didChangeConfiguration") DidChangeConfiguration(params);
  // "$/cancelRequest" never gets here (the inbox takes it); the rest of
  // "$/" and unknown notifications are dropped, as the protocol allows.
}

CLspServer::json CLspServer::Initialize(const json& params) {
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

  const json& folders = Dig(params, {"workspaceFolders"});
  const json& rootUri = Dig(params, {"rootUri"});
  const json& rootPath = Dig(params, {"rootPath"});
  if (folders.is_array() && !folders.empty() && Dig(folders[0], {"uri"}).is_string())
    PathFromUri(folders[0]["uri"], m_strWorkspace);
  else if (rootUri.is_string())
    PathFromUri(rootUri, m_strWorkspace);
  else if (rootPath.is_string())
    m_strWorkspace = rootPath;
  const json& options = Dig(params, {"initializationOptions"});
  const json& programs = Dig(options, {"programs"});
  if (programs.is_string()) m_strInitPrograms = programs;
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
  m_bInitialized = true;

  return {{"capabilities",
           {{"positionEncoding", m_eEncoding == encodingUtf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
            {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}, {"retriggerCharacters", {")"}}}},
            {"completionProvider", {{"resolveProvider", false}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"workspaceSymbolProvider", true},
            {"documentSymbolProvider", true},
            {"referencesProvider", true},
            {"documentHighlightProvider", true},
            {"renameProvider", bPrepareRename ? json({{"prepareProvider", true}}) : json(true)}}},
          {"serverInfo", {{"name", "nimbo"}}}};
}

void CLspServer::Initialized() {
  if (!m_pCatalog) SetUpCatalogue();
  if (!m_bWatchRegistration) return;
  // Scripts end with ".nsc" in any letter case, as the index reads them.
  json watchers = json::array({{{"globPattern", "**/*.[nN][sS][cC]"}}, {{"globPattern", "**/funcwiz.ini"}}});
  // The Programs directory is seldom inside the workspace: watched by its
  // own path where the client takes patterns relative to a folder.
  if (m_bRelativePatterns)
    watchers.push_back(
        {{"globPattern", {{"baseUri", UriFromPath(m_pCatalog->ProgramsDir())}, {"pattern", "funcwiz.ini"}}}});
  SendRequest("client/registerCapability",
              {{"registrations",
                {{{"id", "nimbo-watched-files"},
                  {"method", "workspace/didChangeWatchedFiles"},
                  {"registerOptions", {{"watchers", watchers}}}}}}});
}

void CLspServer::Send(const json& message) {
  m_pfnWrite(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void CLspServer::Respond(const json& id, const json& result) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
  m_pInbox->Done(id);
}

void CLspServer::RespondError(const json& id, int nCode, const std::string& strMessage) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", nCode}, {"message", strMessage}}}});
  if (!id.is_null()) m_pInbox->Done(id);
}

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
