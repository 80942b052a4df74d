// Language server benchmarks of long lines, as generated and minified
// scripts have them: 8,000 small functions on one line against the same
// functions one a line (the server started, the project read and
// workspace/symbol answered), and typing at the end of an open line of
// 8,000 calls against the same calls one a line (each keystroke timed with
// the diagnostics it publishes and the highlights of the function called,
// which an editor asks for as the cursor moves and which read the calls). The work of one line should grow with
// what it holds, as the work of many lines does.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "BenchCommon.h"
#include "BenchInput.h"
#include "tools/lsp/CLspServer.h"

namespace {

const std::string kPrograms = NIMBO_SOURCE_DIR "/samples/Programs";
const int kCount = 8000;

// 8,000 pieces joined by a blank (bSpread false) or a line break.
std::string Joined(const std::string& strBefore, const std::string& strAfter, bool bSpread) {
  std::string strText;
  for (int i = 0; i < kCount; ++i) strText += strBefore + std::to_string(i) + strAfter + (bSpread ? "\n" : " ");
  return strText;
}

// A project folder holding one script of 8,000 definitions, made once.
std::string DefinitionsProject(bool bSpread) {
  const std::string strRoot = BenchDataDir() + "/lsp-long-line-" + (bSpread ? "spread" : "one");
  const std::string strScript = strRoot + "/gen.nsc";
  if (!std::filesystem::exists(strScript)) {
    std::filesystem::create_directories(strRoot);
    std::ofstream(strScript, std::ios::binary) << Joined("function Gen", "(a, b) { return Max(a, b); }", bSpread);
  }
  return strRoot;
}

struct CLongLineServer {
  size_t nPublished = 0;
  std::string strLast;
  std::unique_ptr<nimbo::lsp::CLspServer> pServer;

  explicit CLongLineServer(const std::string& strProject) {
    nimbo::lsp::CLspOptions options;
    options.strPrograms = kPrograms;
    options.strProject = strProject;
    options.nDiagnosticsDelayMs = 0;  // published after each message, as after a pause in the typing
    pServer.reset(new nimbo::lsp::CLspServer(
        options,
        [this](const std::string& strBody) {
          if (strBody.find("textDocument/publishDiagnostics") != std::string::npos) ++nPublished;
          strLast = strBody;
        },
        [](const std::string&) {}));
    Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  }
  void Send(const std::string& strBody) { pServer->HandleMessage(strBody); }
};

// Arg 0: the definitions on one line; 1: one a line.
void BM_LspLongLineWorkspaceSymbol(benchmark::State& state) {
  const std::string strProject = DefinitionsProject(state.range(0) == 1);
  const std::string strQuery =
      R"({"jsonrpc":"2.0","id":5,"method":"workspace/symbol","params":{"query":"Gen7999"}})";
  std::string strAnswer;
  for (auto _ : state) {
    CLongLineServer server(strProject);
    server.Send(strQuery);
    strAnswer = server.strLast;
  }
  CheckOr(state, strAnswer.find("\"Gen7999\"") != std::string::npos, "Gen7999 among the symbols");
  state.counters["functions"] = kCount;
}
BENCHMARK(BM_LspLongLineWorkspaceSymbol)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Arg 0: the calls on one line; 1: one a line. A character typed at the
// end of the last line and taken away again, each timed with its diagnostics.
void BM_LspLongLineTyping(benchmark::State& state) {
  const bool bSpread = state.range(0) == 1;
  const std::string strUri = "file:///bench/long-line.nsc";
  const std::string strText = "function Fn(a, b) { return a; }\n" + Joined("Fn(", ", 2);", bSpread) + "x = 1;";
  const int nLine = bSpread ? kCount + 1 : 1;
  const std::string strLast = bSpread ? "x = 1;" : strText.substr(strText.find('\n') + 1);
  const int nEnd = static_cast<int>(strLast.size());
  CLongLineServer server(std::string{});
  server.Send(nlohmann::json({{"jsonrpc", "2.0"},
                              {"method", "textDocument/didOpen"},
                              {"params", {{"textDocument", {{"uri", strUri}, {"languageId", "nimbo"}, {"version", 1}, {"text", strText}}}}}})
                  .dump());
  auto Edit = [&](int nVersion, int nTo, const char* pszText) {
    return nlohmann::json({{"jsonrpc", "2.0"},
                           {"method", "textDocument/didChange"},
                           {"params",
                            {{"textDocument", {{"uri", strUri}, {"version", nVersion}}},
                             {"contentChanges",
                              {{{"range", {{"start", {{"line", nLine}, {"character", nEnd}}}, {"end", {{"line", nLine}, {"character", nTo}}}}},
                                {"text", pszText}}}}}}})
        .dump();
  };
  // "Nope(" makes a finding and takes it away again: each edit publishes.
  const std::string strType = Edit(2, nEnd, " Nope(1);");
  const std::string strErase = Edit(3, nEnd + 9, "");
  const std::string strHighlight =
      R"({"jsonrpc":"2.0","id":9,"method":"textDocument/documentHighlight","params":{"textDocument":{"uri":")" +
      strUri + R"("},"position":{"line":0,"character":10}}})";
  const size_t nBefore = server.nPublished;
  bool bTyped = false;
  for (auto _ : state) {
    server.Send(bTyped ? strErase : strType);
    bTyped = !bTyped;
    server.Send(strHighlight);
  }
  CheckOr(state, server.nPublished - nBefore == static_cast<size_t>(state.iterations()), "a publication per edit");
  CheckOr(state, nlohmann::json::parse(server.strLast)["result"].size() == kCount + 1, "every call highlighted");
  state.counters["calls"] = kCount;
}
BENCHMARK(BM_LspLongLineTyping)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
