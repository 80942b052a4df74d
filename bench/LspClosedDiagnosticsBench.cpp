// Language server benchmarks of the diagnostics of closed scripts, in the
// generated workspace (LspWorkspace): its first script open, the function
// every script calls renamed at its definition there, so that the 4,999
// closed scripts that call it each get a new list, and renamed back, which
// takes the lists back; and signature help asked while those lists are
// worked out, against the same with closed scripts left alone.
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "BenchCommon.h"
#include "LspBenchServer.h"
#include "LspWorkspace.h"

namespace {

const size_t kClosedScripts = 4999;
const std::string kSuffix = "Renamed";

std::string FirstScriptUri() { return "file://" + LspWorkspace().scripts[0]; }

// The shared function's name stands after "function " on the first script's third line.
const int kNameLine = 2;
const int kNameEnd = 9 + static_cast<int>(LspSharedFunction().size());

std::string OpenFirstScript() {
  return nlohmann::json({{"jsonrpc", "2.0"},
                         {"method", "textDocument/didOpen"},
                         {"params",
                          {{"textDocument",
                            {{"uri", FirstScriptUri()}, {"languageId", "nimbo"}, {"version", 1}, {"text", LspScriptText(0, 0)}}}}}})
      .dump();
}

// The suffix put after the definition's name (bRename) or taken away.
std::string RenameEdit(bool bRename, int nVersion) {
  const int nEnd = bRename ? kNameEnd : kNameEnd + static_cast<int>(kSuffix.size());
  const nlohmann::json range = {{"start", {{"line", kNameLine}, {"character", kNameEnd}}},
                                {"end", {{"line", kNameLine}, {"character", nEnd}}}};
  nlohmann::json change = {{"range", range}, {"text", bRename ? kSuffix : ""}};
  nlohmann::json params = {{"textDocument", {{"uri", FirstScriptUri()}, {"version", nVersion}}},
                           {"contentChanges", nlohmann::json::array({change})}};
  return nlohmann::json({{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"}, {"params", params}}).dump();
}

// From the rename's didChange to every closed script's new list (the time
// of the server's HandleMessage, which returns once the worker would be
// idle again); the rename back, taking the lists back, as a counter.
void BM_LspClosedDiagnosticsAfterRename(benchmark::State& state) {
  size_t nPublished = 0;
  nimbo::lsp::CLspServer server(
      SampleOptions(),
      [&](const std::string& strBody) {
        if (strBody.find("\"textDocument/publishDiagnostics\"") != std::string::npos) ++nPublished;
      },
      [](const std::string&) {});
  server.HandleMessage(InitializeIn(LspWorkspace().strRoot, R"({"workspaceDiagnostics":true,"diagnosticsDelay":0})"));
  server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  server.HandleMessage(OpenFirstScript());
  int nVersion = 1;
  double fBack = 0;
  bool bAll = true;
  for (auto _ : state) {
    nPublished = 0;
    auto start = std::chrono::steady_clock::now();
    server.HandleMessage(RenameEdit(true, ++nVersion));
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    bAll = bAll && nPublished == kClosedScripts + 1;  // and the open script's own
    nPublished = 0;
    start = std::chrono::steady_clock::now();
    server.HandleMessage(RenameEdit(false, ++nVersion));
    fBack += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bAll = bAll && nPublished == kClosedScripts + 1;
  }
  state.counters["back_ms"] = fBack * 1000 / static_cast<double>(state.iterations());
  CheckOr(state, bAll, "not every closed script's list was published");
}
BENCHMARK(BM_LspClosedDiagnosticsAfterRename)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Signature help in another open document, asked 5 ms after the renamed
// script's own list came, with closed scripts' diagnostics off (0) and on
// (1): the time from sending it to its answer. With them on, the closed
// scripts' lists must still have been coming.
void BM_LspSignatureWhileClosedDiagnostics(benchmark::State& state) {
  const bool bOn = state.range(0) == 1;
  const std::string kCall = "x = Mid(a, ";
  CThreadedServer server(std::string(R"({"diagnosticsDelay":0,"workspaceDiagnostics":)") + (bOn ? "true" : "false") + "}");
  server.Push(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  server.Push(OpenText(kCall));
  server.Push(OpenFirstScript());
  server.Push(SymbolQuery(2, "zzz"));  // answered once the index is done
  server.Wait(2);
  std::this_thread::sleep_for(std::chrono::milliseconds(bOn ? 2000 : 100));  // the first pass
  const size_t nEach = bOn ? kClosedScripts + 1 : 1;
  int nId = 10;
  int nVersion = 1;
  double fWorst = 0;
  bool bOvertook = true;
  for (auto _ : state) {
    const size_t nBefore = server.Published();
    server.Push(RenameEdit(true, ++nVersion));
    // The open script's own list comes first; then the closed scripts' lists are worked out.
    server.WaitPublished(nBefore + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto sent = std::chrono::steady_clock::now();
    server.Push(HelpAt(nId, static_cast<int>(kCall.size())));
    const auto answered = server.Wait(nId);
    const double fLatency = std::chrono::duration<double>(answered - sent).count();
    state.SetIterationTime(fLatency);
    fWorst = std::max(fWorst, fLatency);
    if (server.Body(nId).find("Mid(strText") == std::string::npos) {
      state.SkipWithError("no signature help");
      break;
    }
    bOvertook = bOvertook && server.WaitPublished(nBefore + nEach) > answered;
    server.Push(RenameEdit(false, ++nVersion));
    server.WaitPublished(nBefore + 2 * nEach);
    ++nId;
  }
  state.counters["worst_ms"] = fWorst * 1000;
  if (bOn) CheckOr(state, bOvertook, "the closed scripts' lists were out before the signature help came");
}
BENCHMARK(BM_LspSignatureWhileClosedDiagnostics)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace
