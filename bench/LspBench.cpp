// Language server benchmarks: signature help right after a one-character
// edit at the end of a long document, completion over many functions, a
// whole `nimbo lsp` process from its start to the first signature help,
// and the generated workspace of 5,000 scripts (LspWorkspace): its index
// against the user catalogue's Init, a save, workspace symbols, references
// and rename across it against grep, and signature help while heavy work
// runs on the server's worker thread.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "BenchCommon.h"
#include "LspBenchServer.h"
#include "LspWorkspace.h"
#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"
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
  // A blank typed in the middle first, and left: the document's pieces are
  // read only when its diagnostics are due, but the questions after it must
  // not look again at every line from there on.
  fixture.Send(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" +
               std::string(kUri) + R"(","version":2},"contentChanges":[{"range":{"start":{"line":)" +
               std::to_string(nLines / 2) + R"(,"character":0},"end":{"line":)" + std::to_string(nLines / 2) +
               R"(,"character":0}},"text":" "}]}})");
  fixture.Send(strType);
  fixture.Send(strHelp);  // the first answer brings the line states up to date; the rows time the edits after it
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

// One completion request for strWord (at the end of the document's only
// line) over nFunctions built-in functions, timed with its answer.
void RunCompletion(benchmark::State& state, const std::string& strWord) {
  const int nFunctions = static_cast<int>(state.range(0));
  CServerFixture fixture(FuncWizDirFor(nFunctions), std::string());
  fixture.Open("  x = " + strWord);
  const std::string strRequest = R"({"jsonrpc":"2.0","id":8,"method":"textDocument/completion","params":)" +
                                 Position(0, 6 + static_cast<int>(strWord.size())) + "}";
  for (auto _ : state) fixture.Send(strRequest);
  if (fixture.strLast.find("\"label\":\"Builtin0\"") == std::string::npos) state.SkipWithError("no completion");
  state.counters["functions"] = nFunctions;
}

// "bu" begins every function's name (Builtin0, Builtin1, ...): the largest list there is.
void BM_LspCompletion(benchmark::State& state) { RunCompletion(state, "bu"); }
BENCHMARK(BM_LspCompletion)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// "bn" matches every name, but only as a subsequence: each name's alignment
// is scored, the costliest word for the fuzzy ranking.
void BM_LspCompletionSubsequence(benchmark::State& state) { RunCompletion(state, "bn"); }
BENCHMARK(BM_LspCompletionSubsequence)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);

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

// ---- The generated workspace ----------------------------------------------------

// The last script's last function: known only once every script is read.
const std::string kLastCall = "x = FnSave4999_9(";
const std::string kLastPrototype = "FnSave4999_9(nFirst, szSecond)";

// From constructing the server to the answer of a signature help that needs
// the whole workspace read (initialize, initialized, didOpen, the request).
void BM_LspWorkspaceFirstSignature(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  std::string strLast;
  for (auto _ : state) {
    nimbo::lsp::CLspServer server(
        SampleOptions(), [&strLast](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {});
    server.HandleMessage(InitializeIn(workspace.strRoot, "{}"));
    server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    server.HandleMessage(OpenText(kLastCall));
    server.HandleMessage(HelpAt(2, static_cast<int>(kLastCall.size())));
    if (strLast.find(kLastPrototype) == std::string::npos) {
      state.SkipWithError("no signature help for the last script's function");
      break;
    }
  }
  state.counters["functions"] = static_cast<double>(workspace.nFunctions);
}
BENCHMARK(BM_LspWorkspaceFirstSignature)->Unit(benchmark::kMillisecond)->Iterations(5);

// The user catalogue's own Init over the same scripts, listed by the host's
// browser beforehand (the listing is not timed).
void BM_LspUserCatalogueInit(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  CProjectManagerObject manager;
  manager.OpenProject(workspace.strRoot.c_str());
  for (const std::string& strPath : workspace.scripts)
    manager.GetScriptBrowser()->AddScript(strPath.substr(workspace.strRoot.size() + 1).c_str(), strPath.c_str());
  for (auto _ : state) g_FuncInfoUser.Init(&manager);
  CheckOr(state, g_FuncInfoUser.size() == workspace.nFunctions, "the catalogue missed functions");
  g_FuncInfoUser.clear();
}
BENCHMARK(BM_LspUserCatalogueInit)->Unit(benchmark::kMillisecond)->Iterations(5);

// A full index of the workspace: the "initialized" notification of a server
// whose "initialize" was answered (what every save cost when a save read
// the whole project again).
void BM_LspFullIndex(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  for (auto _ : state) {
    state.PauseTiming();
    {
      nimbo::lsp::CLspServer server(SampleOptions(), [](const std::string&) {}, [](const std::string&) {});
      server.HandleMessage(InitializeIn(workspace.strRoot, "{}"));
      state.ResumeTiming();
      server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LspFullIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

// didSave of one script whose first prototype changed each time (the file
// is rewritten untimed), answered and the catalogue brought up to date.
void BM_LspSaveOneScript(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  std::string strLast;
  nimbo::lsp::CLspServer server(
      SampleOptions(), [&strLast](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {});
  server.HandleMessage(InitializeIn(workspace.strRoot, "{}"));
  server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  const size_t nScript = 2500;
  const std::string strPath = workspace.scripts[nScript];
  const std::string strSave = R"({"jsonrpc":"2.0","method":"textDocument/didSave","params":{"textDocument":{"uri":"file://)" +
                              strPath + R"("}}})";
  int nVariant = 0;
  for (auto _ : state) {
    state.PauseTiming();
    nVariant = 1 - nVariant;
    std::ofstream(strPath, std::ios::binary | std::ios::trunc) << LspScriptText(nScript, nVariant);
    state.ResumeTiming();
    server.HandleMessage(strSave);
  }
  const std::string strCall = "x = " + LspFunctionName(nScript, 0) + "(";
  server.HandleMessage(OpenText(strCall));
  server.HandleMessage(HelpAt(3, static_cast<int>(strCall.size())));
  CheckOr(state, (strLast.find("nThird") != std::string::npos) == (nVariant == 1), "the save was not read");
  std::ofstream(strPath, std::ios::binary | std::ios::trunc) << LspScriptText(nScript, 0);
}
BENCHMARK(BM_LspSaveOneScript)->Unit(benchmark::kMillisecond)->Iterations(50);

// workspace/symbol "Fn" (every one of the 50,000 functions matches): capped
// at the default 100, and with no cap (every match, as the answer was
// before it was capped).
void BM_LspWorkspaceSymbol(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  const int nLimit = static_cast<int>(state.range(0));
  std::string strLast;
  nimbo::lsp::CLspServer server(
      SampleOptions(), [&strLast](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {});
  server.HandleMessage(InitializeIn(workspace.strRoot, R"({"workspaceSymbolLimit":)" + std::to_string(nLimit) + "}"));
  server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  for (auto _ : state) server.HandleMessage(SymbolQuery(4, "Fn"));
  const size_t nSymbols = nlohmann::json::parse(strLast)["result"].size();
  CheckOr(state, nSymbols == (nLimit == 0 ? workspace.nFunctions : static_cast<size_t>(nLimit)), "symbol count");
  state.counters["symbols"] = static_cast<double>(nSymbols);
  state.counters["answer_bytes"] = static_cast<double>(strLast.size());
}
BENCHMARK(BM_LspWorkspaceSymbol)->Arg(100)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

// References to the function every script calls twice (10,000 calls and its
// definition, and the open document's call), and its rename: the
// WorkspaceEdit built and written. Wall-clock time, as the grep row it is
// set against. The first query after the index reads the call sites the
// idle worker would have read (BM_LspFirstReferences); these rows time the
// ones after it.
std::string UsesRequest(int nId, const char* pszMethod, const std::string& strExtra) {
  return R"({"jsonrpc":"2.0","id":)" + std::to_string(nId) + R"(,"method":")" + pszMethod +
         R"(","params":{"textDocument":{"uri":")" + kOpenUri + R"("},"position":{"line":0,"character":6})" +
         strExtra + "}}";
}
const std::string kReferences = R"(,"context":{"includeDeclaration":true})";
const std::string kRenameTo = R"(,"newName":"FnRenamed")";

struct CUsesFixture {
  std::string strLast;
  std::unique_ptr<nimbo::lsp::CLspServer> pServer;
  explicit CUsesFixture(const std::string& strCapabilities) {
    pServer.reset(new nimbo::lsp::CLspServer(
        SampleOptions(), [this](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {}));
    pServer->HandleMessage(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" +
                           LspWorkspace().strRoot + R"(","capabilities":)" + strCapabilities + "}}");
    pServer->HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    pServer->HandleMessage(OpenText("x = " + LspSharedFunction() + "(1, 2);"));
  }
  // Occurrences of strWhat in the last answer.
  size_t Count(const std::string& strWhat) const {
    size_t nCount = 0;
    for (size_t nAt = strLast.find(strWhat); nAt != std::string::npos; nAt = strLast.find(strWhat, nAt + 1)) ++nCount;
    return nCount;
  }
};

// The definition, 10,000 calls in the workspace and one in the open document.
const size_t kSharedUses = 10002;

void BM_LspReferences(benchmark::State& state) {
  CUsesFixture fixture("{}");
  const std::string strRequest = UsesRequest(5, "textDocument/references", kReferences);
  fixture.pServer->HandleMessage(strRequest);
  for (auto _ : state) fixture.pServer->HandleMessage(strRequest);
  const size_t nUses = fixture.Count("\"uri\"");
  CheckOr(state, nUses == kSharedUses, "not every use was found");
  state.counters["locations"] = static_cast<double>(nUses);
  state.counters["answer_bytes"] = static_cast<double>(fixture.strLast.size());
}
BENCHMARK(BM_LspReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

void BM_LspRename(benchmark::State& state) {
  CUsesFixture fixture(R"({"workspace":{"workspaceEdit":{"documentChanges":true}}})");
  const std::string strRequest = UsesRequest(6, "textDocument/rename", kRenameTo);
  fixture.pServer->HandleMessage(strRequest);
  for (auto _ : state) fixture.pServer->HandleMessage(strRequest);
  const size_t nEdits = fixture.Count("\"newText\"");
  CheckOr(state, nEdits == kSharedUses && fixture.Count("\"textDocument\"") == 5001, "not every use was renamed");
  state.counters["edits"] = static_cast<double>(nEdits);
  state.counters["answer_bytes"] = static_cast<double>(fixture.strLast.size());
}
BENCHMARK(BM_LspRename)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// The first references after the full index, with every call site still
// to be read (a server that was never idle): the worst a user can meet.
void BM_LspFirstReferences(benchmark::State& state) {
  const std::string strRequest = UsesRequest(5, "textDocument/references", kReferences);
  size_t nUses = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CUsesFixture fixture("{}");
    state.ResumeTiming();
    fixture.pServer->HandleMessage(strRequest);
    state.PauseTiming();
    nUses = fixture.Count("\"uri\"");
    fixture.pServer.reset();
    state.ResumeTiming();
  }
  CheckOr(state, nUses == kSharedUses, "not every use was found");
}
BENCHMARK(BM_LspFirstReferences)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A plain `grep -c` for the name over the same files, as a process.
void BM_LspGrepCount(benchmark::State& state) {
  const CLspWorkspace& workspace = LspWorkspace();
  const std::string strName = LspSharedFunction();
  std::vector<char*> argv = {const_cast<char*>("grep"), const_cast<char*>("-c"), const_cast<char*>(strName.c_str())};
  for (const std::string& strPath : workspace.scripts) argv.push_back(const_cast<char*>(strPath.c_str()));
  argv.push_back(nullptr);
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int nSpawn = posix_spawnp(&pid, "grep", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int nStatus = 0;
    if (nSpawn != 0 || waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0) {
      state.SkipWithError("grep -c failed");
      break;
    }
  }
}
BENCHMARK(BM_LspGrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

const std::string kBuiltInCall = "x = Mid(a, ";

// Signature help sent while an uncapped workspace/symbol query (0: every
// match) or the first index (1) runs: the time from sending it to its
// answer. The heavy work is given a head start of a few milliseconds.
void BM_LspSignatureWhileBusy(benchmark::State& state) {
  const bool bIndex = state.range(0) == 1;
  int nId = 10;
  bool bOvertook = true;
  double fWorst = 0;  // seconds
  std::unique_ptr<CThreadedServer> pServer;
  if (!bIndex) {
    pServer.reset(new CThreadedServer(R"({"workspaceSymbolLimit":0})"));
    pServer->Push(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    pServer->Push(OpenText(kBuiltInCall));
    pServer->Push(SymbolQuery(2, "zzz"));  // answered once the index is done
    pServer->Wait(2);
  }
  for (auto _ : state) {
    if (bIndex) {
      pServer.reset(new CThreadedServer("{}"));
      pServer->Push(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
      pServer->Push(OpenText(kBuiltInCall));
    } else {
      pServer->Push(SymbolQuery(nId, "Fn"));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(bIndex ? 100 : 20));
    const auto sent = std::chrono::steady_clock::now();
    pServer->Push(HelpAt(nId + 1, static_cast<int>(kBuiltInCall.size())));
    const auto answered = pServer->Wait(nId + 1);
    const double fLatency = std::chrono::duration<double>(answered - sent).count();
    state.SetIterationTime(fLatency);
    fWorst = std::max(fWorst, fLatency);
    if (pServer->Body(nId + 1).find("Mid(strText") == std::string::npos) {
      state.SkipWithError("no signature help");
      break;
    }
    // The heavy work must still have been running: its end comes after.
    pServer->Push(SymbolQuery(nId + 2, "zzz"));
    bOvertook = bOvertook && pServer->Wait(nId + 2) > answered && (bIndex || pServer->Wait(nId) > answered);
    nId += 3;
  }
  pServer.reset();
  state.counters["worst_ms"] = fWorst * 1000;
  CheckOr(state, bOvertook, "the heavy work had ended before the signature help came");
}
BENCHMARK(BM_LspSignatureWhileBusy)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
