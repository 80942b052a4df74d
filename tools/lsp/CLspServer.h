// CLspServer: the language server's protocol side: one JSON-RPC message in,
// zero or more out. It owns the open documents and the catalogues, and
// never throws: a message it cannot use is answered with the protocol's
// error (when it is a request) and logged.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspCatalog.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

// Where the catalogues come from before the client has spoken: each string
// empty when not given on the command line.
struct CLspOptions {
  std::string strPrograms;         // --programs, else $NIMBO_PROGRAMS
  std::string strProject;          // --project
  std::string strBundledPrograms;  // the last resort for "Programs"
};

class CLspServer {
 public:
  // pfnWrite receives every outgoing message body (JSON text, unframed);
  // pfnLog one line of diagnostics at a time.
  CLspServer(const CLspOptions& options, std::function<void(const std::string&)> pfnWrite,
             std::function<void(const std::string&)> pfnLog);
  CLspServer(const CLspServer&) = delete;  // one server per stream
  CLspServer& operator=(const CLspServer&) = delete;

  // Handles one message body as it came off the stream.
  void HandleMessage(const std::string& strBody);

  // The client sent "exit": the process should end with ExitStatus().
  bool ExitRequested() const { return m_bExit; }
  // 0 when "shutdown" came before "exit", 1 otherwise.
  int ExitStatus() const { return m_bShutdown ? 0 : 1; }

 private:
  typedef nlohmann::json json;

  void HandleRequest(const json& id, const std::string& strMethod, const json& params);
  void HandleNotification(const std::string& strMethod, const json& params);

  json Initialize(const json& params);
  void Initialized();
  void EnsureIndexed();
  void Index(const char* pszWhy);

  void DidOpen(const json& params);
  void DidChange(const json& params);
  void DidClose(const json& params);
  void DidSave(const json& params);
  void DidChangeWatchedFiles(const json& params);
  // Marks an open document out of step and tells the client why.
  void MarkOutOfStep(const std::string& strUri, const std::string& strWhy);

  // Language features (CLspFeatures.cpp); each returns the result, null
  // when there is nothing to show.
  json SignatureHelp(const json& params);
  json Completion(const json& params);
  json Hover(const json& params);
  json Definition(const json& params);
  json WorkspaceSymbol(const json& params);

  // The open document named by params.textDocument.uri and the line and
  // byte offset of params.position; null when the document is not open or
  // the position lies past its last line.
  CLspDocument* DocumentAt(const json& params, size_t& nLine, size_t& nOffset);
  // The known function named by the word under params.position, or null;
  // word receives the line and the word's byte range.
  struct CWordAt {
    const std::string* pLine = nullptr;
    size_t nLine = 0;
    size_t nFirst = 0;
    size_t nEnd = 0;
  };
  const CLspFunction* FunctionAt(const json& params, CWordAt& word);
  json Location(const CLspDefinition& definition) const;
  json Range(const std::string& strLine, size_t nLine, size_t nFirst, size_t nEnd) const;

  void Send(const json& message);
  void Respond(const json& id, const json& result);
  void RespondError(const json& id, int nCode, const std::string& strMessage);
  void SendRequest(const std::string& strMethod, const json& params);
  void SendNotification(const std::string& strMethod, const json& params);

  CLspOptions m_options;
  std::function<void(const std::string&)> m_pfnWrite;
  std::function<void(const std::string&)> m_pfnLog;

  bool m_bInitialized = false;  // "initialize" answered
  bool m_bShutdown = false;
  bool m_bExit = false;
  bool m_bIndexed = false;
  bool m_bWatchRegistration = false;  // the client registers watchers dynamically
  bool m_bRelativePatterns = false;   // ... and takes patterns relative to a folder
  bool m_bWorkDoneProgress = false;
  bool m_bMarkdown = true;  // the client reads markdown documentation
  EPositionEncoding m_eEncoding = encodingUtf16;
  int m_nNextRequest = 1;
  std::string m_strWorkspace;  // the client's workspace folder, if any
  std::string m_strInitPrograms;  // initializationOptions.programs

  std::unique_ptr<CLspCatalog> m_pCatalog;
  std::map<std::string, CLspDocument> m_documents;  // by URI
};

}  // namespace lsp
}  // namespace nimbo
