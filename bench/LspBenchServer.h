// LspBenchServer: what the language server rows of the generated workspace
// share: the messages they send, and a server on a worker thread, as
// `nimbo lsp` runs it, whose answers and publications are stamped as they
// are written.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tools/lsp/CLspServer.h"

extern const char kOpenUri[];  // the document the rows open

std::string InitializeIn(const std::string& strRoot, const std::string& strOptions);
std::string OpenText(const std::string& strText);
std::string HelpAt(int nId, int nCharacter);
std::string SymbolQuery(int nId, const std::string& strQuery);
// The bundled samples' Programs folder.
nimbo::lsp::CLspOptions SampleOptions();

class CThreadedServer {
 public:
  // Initialised in the generated workspace with the given
  // initializationOptions (a JSON object).
  explicit CThreadedServer(const std::string& strOptions, const nimbo::lsp::CLspOptions& options = SampleOptions());
  ~CThreadedServer();
  void Push(const std::string& strBody);
  // When the answer to nId was written, waiting for it.
  std::chrono::steady_clock::time_point Wait(int nId);
  std::string Body(int nId);
  // The diagnostics lists published so far; waits until there are nCount.
  size_t Published();
  std::chrono::steady_clock::time_point WaitPublished(size_t nCount);

 private:
  void OnWrite(const std::string& strBody);

  std::unique_ptr<nimbo::lsp::CLspServer> m_pServer;
  std::thread m_worker;
  std::mutex m_mutex;
  std::condition_variable m_answered;
  std::map<int, std::chrono::steady_clock::time_point> m_times;
  std::map<int, std::string> m_bodies;
  size_t m_nPublished = 0;
  std::chrono::steady_clock::time_point m_lastPublished;
};
