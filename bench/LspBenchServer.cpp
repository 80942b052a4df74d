// LspBenchServer: the messages of the workspace rows, and the threaded server.
#include "LspBenchServer.h"

#include <cctype>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "LspWorkspace.h"

const char kOpenUri[] = "file:///bench/open.nsc";

std::string InitializeIn(const std::string& strRoot, const std::string& strOptions) {
  return R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" + strRoot +
         R"(","capabilities":{},"initializationOptions":)" + strOptions + "}}";
}

std::string OpenText(const std::string& strText) {
  return nlohmann::json({{"jsonrpc", "2.0"},
                         {"method", "textDocument/didOpen"},
                         {"params", {{"textDocument", {{"uri", kOpenUri}, {"languageId", "nimbo"}, {"version", 1}, {"text", strText}}}}}})
      .dump();
}

std::string HelpAt(int nId, int nCharacter) {
  return R"({"jsonrpc":"2.0","id":)" + std::to_string(nId) +
         R"(,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":")" + kOpenUri +
         R"("},"position":{"line":0,"character":)" + std::to_string(nCharacter) + "}}}";
}

std::string SymbolQuery(int nId, const std::string& strQuery) {
  return R"({"jsonrpc":"2.0","id":)" + std::to_string(nId) + R"(,"method":"workspace/symbol","params":{"query":")" +
         strQuery + R"("}})";
}

nimbo::lsp::CLspOptions SampleOptions() {
  nimbo::lsp::CLspOptions options;
  options.strPrograms = NIMBO_SOURCE_DIR "/samples/Programs";
  return options;
}

CThreadedServer::CThreadedServer(const std::string& strOptions, const nimbo::lsp::CLspOptions& options) {
  m_pServer.reset(new nimbo::lsp::CLspServer(
      options, [this](const std::string& strBody) { OnWrite(strBody); }, [](const std::string&) {}));
  m_worker = std::thread([this] {
    while (!m_pServer->ExitRequested()) m_pServer->RunOne(true);
  });
  Push(InitializeIn(LspWorkspace().strRoot, strOptions));
  Wait(1);
}

CThreadedServer::~CThreadedServer() {
  Push(R"({"jsonrpc":"2.0","method":"exit"})");
  m_worker.join();
}

void CThreadedServer::Push(const std::string& strBody) { m_pServer->Inbox()->PushBody(strBody); }

std::chrono::steady_clock::time_point CThreadedServer::Wait(int nId) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_answered.wait(lock, [&] { return m_times.count(nId) != 0; });
  return m_times[nId];
}

std::string CThreadedServer::Body(int nId) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_bodies[nId];
}

size_t CThreadedServer::Published() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_nPublished;
}

std::chrono::steady_clock::time_point CThreadedServer::WaitPublished(size_t nCount) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_answered.wait(lock, [&] { return m_nPublished >= nCount; });
  return m_lastPublished;
}

// Answers begin {"id":N, (keys are written sorted); requests from the
// server have string ids. Not parsed: an uncapped answer is megabytes, and
// this runs on the worker's thread, as writing to the client does.
void CThreadedServer::OnWrite(const std::string& strBody) {
  const auto now = std::chrono::steady_clock::now();
  const std::string strStart = "{\"id\":";
  std::lock_guard<std::mutex> lock(m_mutex);
  if (strBody.compare(0, strStart.size(), strStart) != 0) {
    if (strBody.find("\"textDocument/publishDiagnostics\"") != std::string::npos) {
      ++m_nPublished;
      m_lastPublished = now;
      m_answered.notify_all();
    }
    return;
  }
  if (!std::isdigit(static_cast<unsigned char>(strBody[strStart.size()]))) return;
  const int nId = std::atoi(strBody.c_str() + strStart.size());
  m_times[nId] = now;
  m_bodies[nId] = strBody.size() < 4096 ? strBody : std::string();
  m_answered.notify_all();
}
