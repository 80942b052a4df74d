// CLspServer: life cycle, dispatch, document synchronisation and keeping
// the catalogues up to date.
#include "tools/lsp/CLspServer.h"

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

bool EndsWithNoCase(const std::string& strText, const std::string& strSuffix) {
  return strText.size() >= strSuffix.size() &&
         LowerAscii(strText.substr(strText.size() - strSuffix.size())) == strSuffix;
}

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
    : m_options(options), m_pfnWrite(std::move(pfnWrite)), m_pfnLog(std::move(pfnLog)) {}

void CLspServer::HandleMessage(const std::string& strBody) {
  json message;
  try {
    message = json::parse(strBody);
  } catch (const json::exception& e) {
    // Bytes that are not UTF-8 and lone surrogates are read as U+FFFD, as
    // editors read them, rather than losing the message (an edit, often).
    std::string strRepaired = strBody;
    const size_t nRepaired = RepairJsonText(strRepaired);
    if (nRepaired > 0 && json::accept(strRepaired)) {
      message = json::parse(strRepaired);
      m_pfnLog(std::to_string(nRepaired) + " character(s) that could not be decoded read as U+FFFD");
    } else {
      m_pfnLog(std::string("message is not JSON: ") + e.what());
      RespondError(nullptr, kParseError, "Parse error");
      // A lost edit leaves its document out of step with the client's.
      if (strBody.find("\"textDocument/didChange\"") != std::string::npos)
        MarkOutOfStep(FindJsonStringMember(strBody, "uri"), "an edit that is not JSON was lost");
      return;
    }
  }
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
  typedef json (CLspServer::*PFeature)(const json&);
  static const std::map<std::string, PFeature> features = {
      {"textDocument/signatureHelp", &CLspServer::SignatureHelp},
      {"textDocument/completion", &CLspServer::Completion},
      {"textDocument/hover", &CLspServer::Hover},
      {"textDocument/definition", &CLspServer::Definition},
      {"workspace/symbol", &CLspServer::WorkspaceSymbol}};
  if (strMethod == "shutdown") {
    m_bShutdown = true;
    Respond(id, nullptr);
    return;
  }
  auto it = features.find(strMethod);
  if (it == features.end()) {
    RespondError(id, kMethodNotFound, "Method not found: " + strMethod);
    return;
  }
  if (!params.is_object()) throw json::type_error::create(302, "params must be an object", nullptr);
  EnsureIndexed();
  Respond(id, (this->*(it->second))(params));
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
  // "$/cancelRequest" and the rest: every request is answered before the
  // next message is read, so there is nothing left to cancel.
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

  const json& folders = Dig(params, {"workspaceFolders"});
  const json& rootUri = Dig(params, {"rootUri"});
  const json& rootPath = Dig(params, {"rootPath"});
  if (folders.is_array() && !folders.empty() && Dig(folders[0], {"uri"}).is_string())
    PathFromUri(folders[0]["uri"], m_strWorkspace);
  else if (rootUri.is_string())
    PathFromUri(rootUri, m_strWorkspace);
  else if (rootPath.is_string())
    m_strWorkspace = rootPath;
  const json& programs = Dig(params, {"initializationOptions", "programs"});
  if (programs.is_string()) m_strInitPrograms = programs;
  m_bInitialized = true;

  return {{"capabilities",
           {{"positionEncoding", m_eEncoding == encodingUtf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
            {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}, {"retriggerCharacters", {")"}}}},
            {"completionProvider", {{"resolveProvider", false}}},
            {"hoverProvider", true},
            {"definitionProvider", true},
            {"workspaceSymbolProvider", true}}},
          {"serverInfo", {{"name", "nimbo"}}}};
}

void CLspServer::Initialized() {
  EnsureIndexed();
  if (!m_bWatchRegistration) return;
  json watchers = json::array({{{"globPattern", "**/*.nsc"}}, {{"globPattern", "**/*.NSC"}},
                               {{"globPattern", "**/funcwiz.ini"}}});
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

void CLspServer::EnsureIndexed() {
  if (!m_bIndexed) Index("Reading the catalogues");
}

void CLspServer::Index(const char* pszWhy) {
  if (!m_pCatalog) {
    m_pCatalog.reset(new CLspCatalog());
    std::string strPrograms = m_options.strPrograms;
    if (strPrograms.empty()) strPrograms = m_strInitPrograms;
    if (strPrograms.empty()) strPrograms = m_options.strBundledPrograms;
    const std::string strProject = m_options.strProject.empty() ? m_strWorkspace : m_options.strProject;
    std::string strError;
    if (!m_pCatalog->Configure(strPrograms, strProject, strError)) m_pfnLog(strError);
  }
  const std::string strToken = "nimbo-index-" + std::to_string(m_nNextRequest);  // unique: a request follows
  if (m_bWorkDoneProgress) {
    SendRequest("window/workDoneProgress/create", {{"token", strToken}});
    SendNotification("$/progress", {{"token", strToken}, {"value", {{"kind", "begin"}, {"title", pszWhy}}}});
  }
  if (m_bIndexed) m_pCatalog->RebuildUser();
  else m_pCatalog->RebuildAll();
  m_bIndexed = true;
  if (m_bWorkDoneProgress)
    SendNotification("$/progress", {{"token", strToken}, {"value", {{"kind", "end"}}}});
}

void CLspServer::DidOpen(const json& params) {
  const json& document = params.at("textDocument");
  const std::string strUri = document.at("uri").get<std::string>();
  const std::string strText = document.at("text").get<std::string>();
  const int nVersion = document.value("version", 0);
  CLspDocument& opened = m_documents[strUri];
  opened.SetText(strText);
  opened.m_nVersion = nVersion;
}

void CLspServer::DidChange(const json& params) {
  const json& document = params.at("textDocument");
  auto it = m_documents.find(document.at("uri").get<std::string>());
  if (it == m_documents.end()) {
    m_pfnLog("didChange for a document that is not open: " + document.at("uri").get<std::string>());
    return;
  }
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
  const std::string strMessage =
      strWhy + ": no answers on " + strUri + " until the editor sends its whole text again (reopen it)";
  m_pfnLog(strMessage);
  SendNotification("window/logMessage", {{"type", 1}, {"message", strMessage}});
}

void CLspServer::DidClose(const json& params) {
  m_documents.erase(params.at("textDocument").at("uri").get<std::string>());
}

void CLspServer::DidSave(const json& params) {
  const std::string strUri = params.at("textDocument").at("uri").get<std::string>();
  if (EndsWithNoCase(strUri, "/funcwiz.ini")) m_bIndexed = false;  // the next index reads it again
  // As Ctrl+S in the editor: the project's functions are read again.
  Index("Reading the project's scripts");
}

void CLspServer::DidChangeWatchedFiles(const json& params) {
  bool bScripts = false;
  bool bFuncWiz = false;
  for (const json& change : params.at("changes")) {
    const std::string strUri = change.at("uri").get<std::string>();
    if (EndsWithNoCase(strUri, "/funcwiz.ini")) bFuncWiz = true;
    else if (EndsWithNoCase(strUri, ".nsc")) bScripts = true;
  }
  if (bFuncWiz) {
    m_bIndexed = false;  // the next index reads funcwiz.ini again
    Index("Reading funcwiz.ini");
  } else if (bScripts) {
    Index("Reading the project's scripts");
  }
}

void CLspServer::Send(const json& message) {
  m_pfnWrite(message.dump(-1, ' ', false, json::error_handler_t::replace));
}

void CLspServer::Respond(const json& id, const json& result) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void CLspServer::RespondError(const json& id, int nCode, const std::string& strMessage) {
  Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", nCode}, {"message", strMessage}}}});
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

}  // namespace lsp
}  // namespace nimbo
