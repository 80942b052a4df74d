// Language server benchmarks of diagnostics: a 10,000-line script (400
// functions of 25 lines, calling built-ins and each other, a few findings
// among them) opened, its whole first pass timed with its publication;
// then one character typed into a call's name and taken away again, each
// edit timed with the publication it causes (the name becomes unknown, then
// known again, so that each edit changes the list sent), and a line break
// put in and taken out there (which moves every definition below it). The
// same lines written outside functions, in paragraphs, make the second shape;
// outside functions without a blank line (one run of statements), the third.
// The semantic tokens of the same script (in functions), asked once it is open.
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "BenchCommon.h"
#include "tools/lsp/CLspServer.h"

namespace {

const std::string kSamples = NIMBO_SOURCE_DIR "/samples";
const char kUri[] = "file:///bench/diagnostics.nsc";
const int kFunctions = 400;
const int kLinesPerFunction = 25;

// The script, and where the name edited in it stands. nShape 1: the same
// lines written outside functions, in paragraphs of 25 lines; 2: outside
// functions, a statement where those put a blank line.
std::string LongScript(int& nEditLine, int& nEditColumn, int nShape = 0) {
  const bool bTopLevel = nShape != 0;
  const std::string strBetween = nShape == 2 ? "n = 0;" : "";
  std::string strText;
  int nLine = 0;
  auto Add = [&](const std::string& strLine) {
    strText += strLine + "\n";
    ++nLine;
  };
  for (int i = 0; i < kFunctions; ++i) {
    const std::string strN = std::to_string(i);
    Add("// Fn" + strN + ": formats a part of the report (\"Fn(" + strN + ")\" in a comment is no call).");
    Add(bTopLevel ? strBetween : "function Fn" + strN + "(strName, nCount) {");
    Add("  var strHead = StrLeft(strName, 2) + StrMid(strName, 1, Max(nCount, 2));");
    Add("  if (StrLen(strHead) > nCount) {");
    Add("    Print(\"head: \" + strHead + \" (\" + nCount + \")\");");
    Add("  }");
    for (int j = 0; j < kLinesPerFunction - 10; ++j) {
      const std::string strLine =
          "  nCount = Max(nCount, StrLen(StrLeft(strName, " + std::to_string(j) + "))) + " + std::to_string(j) + ";";
      if (i == kFunctions / 2 && j == 0) {
        nEditLine = nLine;
        nEditColumn = static_cast<int>(strLine.find("StrLeft") + 3);
      }
      Add(strLine);
    }
    // A finding every fifty functions: a name mistyped, a call left open.
    Add(i % 50 == 7 ? "  Prnt(strName);" : "  Print(strName);");
    Add(i % 50 == 9 ? "  var n = StrLen(strName;" : "  var n = StrLen(strName);");
    Add(i == 0 || bTopLevel ? "  n = 0;" : "  return Fn" + std::to_string(i - 1) + "(strName, n - 1);");
    Add(bTopLevel ? strBetween : "}");
  }
  return strText;
}

struct CDiagnosticsServer {
  size_t nPublished = 0;
  std::string strLast;
  std::string strLastAnswer;  // of a request
  std::unique_ptr<nimbo::lsp::CLspServer> pServer;

  CDiagnosticsServer() {
    nimbo::lsp::CLspOptions options;
    options.strPrograms = kSamples + "/Programs";
    options.strProject = kSamples + "/project";
    options.nDiagnosticsDelayMs = 0;  // published after each message, as after a pause in the typing
    pServer.reset(new nimbo::lsp::CLspServer(
        options,
        [this](const std::string& strBody) {
          if (strBody.find("textDocument/publishDiagnostics") == std::string::npos) {
            strLastAnswer = strBody;
            return;
          }
          ++nPublished;
          strLast = strBody;
        },
        [](const std::string&) {}));
    Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
    Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  }
  void Send(const std::string& strBody) { pServer->HandleMessage(strBody); }
};

std::string OpenMessage(const std::string& strText) {
  return nlohmann::json({{"jsonrpc", "2.0"},
                         {"method", "textDocument/didOpen"},
                         {"params", {{"textDocument", {{"uri", kUri}, {"languageId", "nimbo"}, {"version", 1}, {"text", strText}}}}}})
      .dump();
}

const std::string kClose =
    std::string(R"({"jsonrpc":"2.0","method":"textDocument/didClose","params":{"textDocument":{"uri":")") + kUri + "\"}}}";

// Findings the script has: 8 mistyped names, 8 calls left open.
bool HasItsFindings(const std::string& strPublished) {
  const nlohmann::json diagnostics = nlohmann::json::parse(strPublished)["params"]["diagnostics"];
  return diagnostics.size() >= 16;
}

void BM_LspDiagnosticsFirstPass(benchmark::State& state) {
  int nLine = 0;
  int nColumn = 0;
  const std::string strOpen = OpenMessage(LongScript(nLine, nColumn, static_cast<int>(state.range(0))));
  CDiagnosticsServer server;
  for (auto _ : state) {
    server.Send(strOpen);
    state.PauseTiming();
    if (!HasItsFindings(server.strLast)) state.SkipWithError("the first pass published too little");
    server.Send(kClose);
    state.ResumeTiming();
  }
  state.counters["lines"] = kFunctions * kLinesPerFunction;
}
BENCHMARK(BM_LspDiagnosticsFirstPass)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LspDiagnosticsAfterEdit(benchmark::State& state) {
  int nLine = 0;
  int nColumn = 0;
  CDiagnosticsServer server;
  server.Send(OpenMessage(LongScript(nLine, nColumn, static_cast<int>(state.range(1)))));
  auto Edit = [&](int nVersion, int nEnd, const char* pszText) {
    return nlohmann::json(
               {{"jsonrpc", "2.0"},
                {"method", "textDocument/didChange"},
                {"params",
                 {{"textDocument", {{"uri", kUri}, {"version", nVersion}}},
                  {"contentChanges",
                   {{{"range", {{"start", {{"line", nLine}, {"character", nColumn}}}, {"end", {{"line", nLine}, {"character", nEnd}}}}},
                     {"text", pszText}}}}}}})
        .dump();
  };
  // Arg 1: a line break, which moves every definition below it.
  const bool bBreak = state.range(0) == 1;
  const std::string strType = Edit(2, nColumn, bBreak ? "\n" : "x");
  const std::string strErase = bBreak ? nlohmann::json(
      {{"jsonrpc", "2.0"},
       {"method", "textDocument/didChange"},
       {"params",
        {{"textDocument", {{"uri", kUri}, {"version", 3}}},
         {"contentChanges",
          {{{"range", {{"start", {{"line", nLine}, {"character", nColumn}}}, {"end", {{"line", nLine + 1}, {"character", 0}}}}},
            {"text", ""}}}}}}}).dump() : Edit(3, nColumn + 1, "");
  const size_t nBefore = server.nPublished;
  bool bTyped = false;
  for (auto _ : state) {
    server.Send(bTyped ? strErase : strType);
    bTyped = !bTyped;
  }
  if (server.nPublished - nBefore != static_cast<size_t>(state.iterations()) && !bBreak)
    state.SkipWithError("an edit published nothing");
  state.counters["lines"] = kFunctions * kLinesPerFunction;
}
BENCHMARK(BM_LspDiagnosticsAfterEdit)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_LspSemanticTokens(benchmark::State& state) {
  int nLine = 0;
  int nColumn = 0;
  CDiagnosticsServer server;
  server.Send(OpenMessage(LongScript(nLine, nColumn)));
  const std::string strRequest =
      std::string(R"({"jsonrpc":"2.0","id":7,"method":"textDocument/semanticTokens/full","params":{"textDocument":{"uri":")") +
      kUri + "\"}}}";
  for (auto _ : state) server.Send(strRequest);
  // Every line has a token or more: five numbers each.
  const size_t nNumbers = nlohmann::json::parse(server.strLastAnswer)["result"]["data"].size();
  if (nNumbers < 5u * kFunctions * kLinesPerFunction) state.SkipWithError("too few tokens");
  state.counters["tokens"] = static_cast<double>(nNumbers / 5);
  state.counters["lines"] = kFunctions * kLinesPerFunction;
}
BENCHMARK(BM_LspSemanticTokens)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
