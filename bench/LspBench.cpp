// Language server benchmarks: signature help right after a one-character
// edit at the end of a long document, completion over many functions, and
// a whole `nimbo lsp` process from its start to the first signature help.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "BenchCommon.h"
#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"

extern char** environ;

namespace {

const std::string kSamples = NIMBO_SOURCE_DIR "/samples";
const char kUri[] = "file:///bench/long.nsc";

// A server over the given catalogues, initialised, with the last answer kept.
struct CServerFixture {
  std::string strLast;
  std::unique_ptr<nimbo::lsp::CLspServer> pServer;

  CServerFixture(const std::string& strPrograms, const std::string& strProject) {
    nimbo::lsp::CLspOptions options;
    options.strPrograms = strPrograms;
    options.strProject = strProject;
    pServer.reset(new nimbo::lsp::CLspServer(
        options, [this](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {}));
    Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  }
  void Send(const std::string& strBody) { pServer->HandleMessage(strBody); }
  void Open(const std::string& strText) {
    Send(nlohmann::json({{"jsonrpc", "2.0"},
                         {"method", "textDocument/didOpen"},
                         {"params", {{"textDocument", {{"uri", kUri}, {"languageId", "nimbo"}, {"version", 1}, {"text", strText}}}}}})
             .dump());
  }
};

std::string Position(int nLine, int nCharacter) {
  return R"({"textDocument":{"uri":")" + std::string(kUri) + R"("},"position":{"line":)" + std::to_string(nLine) +
         R"(,"character":)" + std::to_string(nCharacter) + "}}";
}

// ---- Signature help after an edit -------------------------------------------------

void BM_LspSignatureAfterEdit(benchmark::State& state) {
  const int nLines = static_cast<int>(state.range(0));
  CServerFixture fixture(kSamples + "/Programs", kSamples + "/project");
  std::string strText;
  for (int i = 0; i < nLines - 1; ++i)
    strText += i % 7 == 0 ? "/* Mid(a, \"b, c\" */ x = StrMid(strName, 2, 3);\n" : "  x = Max(Min(a, b), 'c') + \"d\";\n";
  const std::string strLast = "  y = StrMid(strName, ";
  strText += strLast;
  fixture.Open(strText);
  const int nLast = nLines - 1;
  const int nColumn = static_cast<int>(strLast.size());
  const std::string strHelp = R"({"jsonrpc":"2.0","id":7,"method":"textDocument/signatureHelp","params":)" +
                              Position(nLast, nColumn + 1) + "}";
  // Typing one character and taking it away again keeps the text the same
  // for every iteration; each half is timed with its answer.
  const std::string strRange = R"("range":{"start":{"line":)" + std::to_string(nLast) + R"(,"character":)" +
                               std::to_string(nColumn) + R"(},"end":{"line":)" + std::to_string(nLast) +
                               R"(,"character":)";
  const std::string strType = R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
                              std::string(kUri) + R"(","version":2},"contentChanges":[{)" + strRange +
                              std::to_string(nColumn) + R"(}},"text":"n"}]}})";
  const std::string strErase = R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
                               std::string(kUri) + R"(","version":3},"contentChanges":[{)" + strRange +
                               std::to_string(nColumn + 1) + R"(}},"text":""}]}})";
  fixture.Send(strType);
  fixture.Send(strHelp);  // the first answer fills the scan cache; the rows time the edits after it
  fixture.Send(strErase);
  for (auto _ : state) {
    fixture.Send(strType);
    fixture.Send(strHelp);
    fixture.Send(strErase);
  }
  if (fixture.strLast.find("StrMid(szText, nStart, nCount)") == std::string::npos ||
      fixture.strLast.find("\"activeParameter\":1") == std::string::npos)
    state.SkipWithError("no signature help for StrMid's second parameter");
  state.counters["lines"] = nLines;
}
BENCHMARK(BM_LspSignatureAfterEdit)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

// ---- Completion -------------------------------------------------------------------

void BM_LspCompletion(benchmark::State& state) {
  const int nFunctions = static_cast<int>(state.range(0));
  CServerFixture fixture(FuncWizDirFor(nFunctions), std::string());
  fixture.Open("  x = bu");
  // "bu" matches every function (Builtin0, Builtin1, ...): the largest list there is.
  const std::string strRequest =
      R"({"jsonrpc":"2.0","id":8,"method":"textDocument/completion","params":)" + Position(0, 8) + "}";
  for (auto _ : state) fixture.Send(strRequest);
  if (fixture.strLast.find("\"label\":\"Builtin0\"") == std::string::npos) state.SkipWithError("no completion");
  state.counters["functions"] = nFunctions;
}
BENCHMARK(BM_LspCompletion)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// ---- Startup ------------------------------------------------------------------

// Starts `nimbo lsp` on the bundled samples, sends initialize, initialized,
// didOpen and a signature help, and stops the clock at its answer; then
// shuts the server down. Wall-clock time of the whole process.
void BM_LspStartupToSignatureHelp(benchmark::State& state) {
  const std::string strNimbo = NIMBO_BINARY_DIR "/tools/nimbo/nimbo";
  const std::string strInput =
      nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" +
                               kSamples + R"(/project","capabilities":{}}})") +
      nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})") +
      nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" +
                               std::string(kUri) + R"(","languageId":"nimbo","version":1,"text":"x = StrMid(a, "}}})") +
      nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","id":2,"method":"textDocument/signatureHelp","params":)" +
                               Position(0, 14) + "}");
  const std::string strExit = nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","id":3,"method":"shutdown"})") +
                              nimbo::lsp::FrameMessage(R"({"jsonrpc":"2.0","method":"exit"})");
  signal(SIGPIPE, SIG_IGN);
  bool bAnswered = true;
  for (auto _ : state) {
    int toServer[2];
    int fromServer[2];
    if (pipe(toServer) != 0 || pipe(fromServer) != 0) {
      state.SkipWithError("pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toServer[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromServer[1], 1);
    posix_spawn_file_actions_addclose(&actions, toServer[1]);
    posix_spawn_file_actions_addclose(&actions, fromServer[0]);
    char* argv[] = {const_cast<char*>(strNimbo.c_str()), const_cast<char*>("lsp"), nullptr};
    pid_t pid = 0;
    const int nSpawn = posix_spawn(&pid, strNimbo.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toServer[0]);
    close(fromServer[1]);
    if (nSpawn != 0) {
      state.SkipWithError("cannot start nimbo lsp");
      break;
    }
    bAnswered = write(toServer[1], strInput.data(), strInput.size()) == static_cast<ssize_t>(strInput.size());
    nimbo::lsp::CLspMessageReader reader;
    std::string strBody;
    std::string strProblem;
    char buffer[4096];
    bool bFound = false;
    while (bAnswered && !bFound) {
      const ssize_t nRead = read(fromServer[0], buffer, sizeof buffer);
      if (nRead <= 0) break;
      reader.Feed(buffer, static_cast<size_t>(nRead));
      while (reader.Next(strBody, strProblem) == nimbo::lsp::CLspMessageReader::resultMessage)
        if (strBody.find("\"id\":2") != std::string::npos) bFound = strBody.find("StrMid(") != std::string::npos;
    }
    state.PauseTiming();
    bAnswered = bAnswered && bFound;
    if (write(toServer[1], strExit.data(), strExit.size()) < 0) bAnswered = false;
    close(toServer[1]);
    while (read(fromServer[0], buffer, sizeof buffer) > 0) {
    }
    close(fromServer[0]);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0) bAnswered = false;
    state.ResumeTiming();
    if (!bAnswered) {
      state.SkipWithError("no signature help, or no clean exit");
      break;
    }
  }
}
BENCHMARK(BM_LspStartupToSignatureHelp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
