// The nimbo lsp process as a client meets it: exit statuses, and two real
// editors (Neovim 0.7 and Emacs 28 with eglot) configured by the README's
// blocks (the tests fail, never skip, when an editor is not installed).
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CScratchDir.h"
#include "tools/lsp/CLspMessageReader.h"

namespace {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo";
const std::string kSource = NIMBO_SOURCE_DIR;

// Runs a shell command; its exit status (-1 when it did not exit).
int RunShell(const std::string& strCommand) {
  const int nRaw = std::system(strCommand.c_str());
  return WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
}

std::string Framed(const std::string& strBody) { return nimbo::lsp::FrameMessage(strBody); }

// A client of a `nimbo lsp` process over pipes, that offers nothing of its
// own (no file watching): what a minimal editor gives.
class CPipeClient {
 public:
  explicit CPipeClient(const std::vector<std::string>& args) {
    int toServer[2];
    int fromServer[2];
    if (pipe(toServer) != 0 || pipe(fromServer) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(toServer[0], 0);
      dup2(fromServer[1], 1);
      for (int nFd : {toServer[0], toServer[1], fromServer[0], fromServer[1]}) close(nFd);
      std::vector<char*> argv;
      for (const std::string& strArg : args) argv.push_back(const_cast<char*>(strArg.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(toServer[0]);
    close(fromServer[1]);
    m_nTo = toServer[1];
    m_nFrom = fromServer[0];
  }
  ~CPipeClient() {
    if (m_nTo >= 0) close(m_nTo);
    if (m_nFrom >= 0) close(m_nFrom);
    if (m_pid > 0) waitpid(m_pid, nullptr, 0);
  }
  bool Send(const std::string& strBody) {
    const std::string strData = Framed(strBody);
    return write(m_nTo, strData.data(), strData.size()) == static_cast<ssize_t>(strData.size());
  }
  // The answer to request nId, waiting up to 20 s; empty when none came.
  std::string Answer(int nId) {
    const std::string strNeedle = "\"id\":" + std::to_string(nId) + ",";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::string strBody;
    std::string strProblem;
    for (;;) {
      while (m_reader.Next(strBody, strProblem) == nimbo::lsp::CLspMessageReader::resultMessage)
        if (strBody.find(strNeedle) != std::string::npos) return strBody;
      const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd fd = {m_nFrom, POLLIN, 0};
      if (nLeft.count() <= 0 || poll(&fd, 1, static_cast<int>(nLeft.count())) <= 0) return std::string();
      char buffer[65536];
      const ssize_t nRead = read(m_nFrom, buffer, sizeof buffer);
      if (nRead <= 0) return std::string();
      m_reader.Feed(buffer, static_cast<size_t>(nRead));
    }
  }
  // Asks for signature help at (nLine, nCharacter) of strUri until the
  // answer contains strExpected; false after 20 s.
  bool SignatureBecomes(const std::string& strUri, int nLine, int nCharacter, const std::string& strExpected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      const int nId = m_nNextId++;
      Send(R"({"jsonrpc":"2.0","id":)" + std::to_string(nId) +
           R"(,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":")" + strUri +
           R"("},"position":{"line":)" + std::to_string(nLine) + R"(,"character":)" + std::to_string(nCharacter) + "}}}");
      if (Answer(nId).find(strExpected) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  pid_t m_pid = -1;
  int m_nTo = -1;
  int m_nFrom = -1;
  int m_nNextId = 100;
  nimbo::lsp::CLspMessageReader m_reader;
};

TEST(LspProcess, ExitStatusTellsWhetherShutdownCameFirst) {
  const std::string strInit = Framed(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})");
  const std::string strShutdown = Framed(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})");
  const std::string strExit = Framed(R"({"jsonrpc":"2.0","method":"exit"})");
  struct CCase {
    const char* pszName;
    std::string strInput;
    std::string strArgs;
    int nStatus;
  };
  const CCase cases[] = {
      {"shutdown, exit", strInit + strShutdown + strExit, "", 0},
      {"exit alone", strInit + strExit, "", 1},
      {"input ends", strInit + strShutdown, "", 1},
      {"input ends inside a body", strInit + "Content-Length: 99\r\n\r\n{", "", 1},
      {"bad argument", "", "--bogus", 2},
      {"missing directory", "", "--project /nonexistent/nimbo", 2},
  };
  CScratchDir scratch;
  for (const CCase& c : cases) {
    scratch.Write("in", c.strInput);
    EXPECT_EQ(RunShell("'" + kNimbo + "' lsp " + c.strArgs + " <'" + scratch.PathOf("in") + "' >/dev/null 2>&1"), c.nStatus)
        << c.pszName;
  }
}

// Runs a real client's test script on a copy of the sample project, from
// the project's folder; the script runs the README's configuration for that
// editor. The client's output, and whether it ended with "OK".
struct CClientRun {
  int nStatus;
  std::string strOut;
};
CClientRun RunClient(const std::string& strCommand) {
  CScratchDir scratch;
  const std::string strProject = scratch.PathOf("project");
  const std::string strShell = "cp -R '" + kSource + "/samples/project' '" + strProject + "' && cd '" + strProject +
                               "' && NIMBO_BIN='" + kNimbo + "' NIMBO_README='" + kSource +
                               "/README.md' NIMBO_TEST_PROJECT='" + strProject + "' NIMBO_TEST_PROGRAMS='" + kSource +
                               "/samples/Programs' HOME='" + scratch.GetPath() + "' timeout 60 " + strCommand + " >'" +
                               scratch.PathOf("out") + "' 2>&1";
  CClientRun run;
  run.nStatus = RunShell(strShell);
  std::ifstream in(scratch.PathOf("out"));
  run.strOut.assign((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return run;
}

// Each feature a user reaches with the README's keys: a diagnostic, completion, the
// signature as "(" and "," are typed (none marked past the last
// parameter), hover and go to definition.
void ExpectEveryFeature(const CClientRun& run) {
  EXPECT_EQ(run.nStatus, 0) << run.strOut;
  for (const char* pszLine : {"diagnostic 34 warning hiddenByBuiltin",
                              "completion StrTrim StrTrimLeft StrTrimRight", "past the last parameter: none marked",
                              "hover ok", "definition orders.nsc:18", "OK"})
    EXPECT_NE(run.strOut.find(std::string("\n") + pszLine + "\n"), std::string::npos) << pszLine << "\n" << run.strOut;
}

TEST(LspProcess, NeovimWithTheReadmesBlockReachesEveryFeature) {
  ASSERT_EQ(RunShell("command -v nvim >/dev/null"), 0) << "nvim is not installed (Debian package neovim; scripts/setup.sh)";
  const CClientRun run = RunClient("nvim --headless -u NONE -i NONE -n -c 'luafile " + kSource +
                                   "/tests/tools/lsp/neovim/client.lua'");
  ExpectEveryFeature(run);
  EXPECT_NE(run.strOut.find("signature StrMid(szText, nStart, nCount) parameter 2"), std::string::npos) << run.strOut;
  // References with gr, rename with F2 across the project (open, edited documents among them).
  for (const char* pszLine :
       {"closed script money.nsc:27", "references FormatMoney main.nsc:24 main.nsc:8 money.nsc:6 orders.nsc:36 orders.nsc:5",
        "references CountPending main.nsc:22 main.nsc:7 orders.nsc:18",
        "refused nimbo: -32803: Print is a built-in function: only the project's functions can be renamed."})
    EXPECT_NE(run.strOut.find(std::string("\n") + pszLine + "\n"), std::string::npos) << pszLine << "\n" << run.strOut;
}

TEST(LspProcess, EmacsEglotWithTheReadmesBlockReachesEveryFeature) {
  ASSERT_EQ(RunShell("command -v emacs >/dev/null"), 0)
      << "emacs is not installed (Debian packages emacs-nox and elpa-eglot; scripts/setup.sh)";
  // -q, not -Q: the site start-up files put Debian's elpa-eglot on the load path.
  const CClientRun run = RunClient("emacs --batch -q -l '" + kSource + "/tests/tools/lsp/emacs/client.el'");
  ExpectEveryFeature(run);
  EXPECT_NE(run.strOut.find("signature StrMid(szText, nStart, nCount) marked nCount"), std::string::npos) << run.strOut;
  EXPECT_NE(run.strOut.find("\none server for the tree\n"), std::string::npos) << run.strOut;
}

}  // namespace

namespace {

// A client without file watching (Neovim 0.7, eglot without a backend):
// the server sees a changed funcwiz.ini, a script in a new folder and a
// deleted script by itself.
TEST(LspProcess, ChangedFilesAreSeenWithoutTheClientsWatching) {
  CScratchDir scratch;
  scratch.MakeDir("Programs");
  scratch.MakeDir("project");
  scratch.Write("Programs/funcwiz.ini", "[FuncWiz - Category - All]\n1=Twice\n[Twice]\nSampleLine=Twice(szOld)\n");
  scratch.Write("project/main.nsc", "function Main() { }\n");
  CPipeClient client({kNimbo, "lsp", "--programs", scratch.PathOf("Programs")});
  const std::string strUri = "file://" + scratch.PathOf("project/open.nsc");
  ASSERT_TRUE(client.Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" +
                          scratch.PathOf("project") + R"(","capabilities":{}}})"));
  ASSERT_NE(client.Answer(1), "");
  client.Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  client.Send(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" + strUri +
              R"(","languageId":"nimbo","version":1,"text":"Twice();\nThrice(\n"}}})");
  EXPECT_TRUE(client.SignatureBecomes(strUri, 0, 6, "Twice(szOld)"));
  scratch.Write("Programs/funcwiz.ini", "[FuncWiz - Category - All]\n1=Twice\n[Twice]\nSampleLine=Twice(szNew)\n");
  EXPECT_TRUE(client.SignatureBecomes(strUri, 0, 6, "Twice(szNew)"));
  scratch.MakeDir("project/later");
  scratch.Write("project/later/more.nsc", "function Thrice(nX) { }\n");
  EXPECT_TRUE(client.SignatureBecomes(strUri, 1, 7, "Thrice(nX)"));
  scratch.Remove("project/later/more.nsc");
  EXPECT_TRUE(client.SignatureBecomes(strUri, 1, 7, "\"result\":null"));
  client.Send(R"({"jsonrpc":"2.0","id":2,"method":"shutdown"})");
  EXPECT_NE(client.Answer(2), "");
  client.Send(R"({"jsonrpc":"2.0","method":"exit"})");
}

}  // namespace

namespace {

// Messages are read while a long request runs: a signature help sent after
// an uncapped workspace query (50,000 symbols) is answered before it, and a
// cancel sent after that stops the query, which had started.
TEST(LspProcess, ALongQueryIsOvertakenAndCancelledWhileItRuns) {
  CScratchDir scratch;
  for (int nFolder = 0; nFolder < 50; ++nFolder) {
    const std::string strFolder = "project/f" + std::to_string(nFolder);
    std::filesystem::create_directories(scratch.PathOf(strFolder));
    for (int nScript = 0; nScript < 100; ++nScript) {
      std::string strText;
      for (int i = 0; i < 10; ++i)
        strText += "function Fn" + std::to_string(nFolder) + "_" + std::to_string(nScript) + "_" + std::to_string(i) +
                   "(nA, nB) { return nA; }\n";
      scratch.Write(strFolder + "/s" + std::to_string(nScript) + ".nsc", strText);
    }
  }
  CPipeClient client({kNimbo, "lsp", "--programs", kSource + "/samples/Programs"});
  const std::string strUri = "file://" + scratch.PathOf("open.nsc");
  client.Send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" + scratch.PathOf("project") +
              R"(","capabilities":{},"initializationOptions":{"workspaceSymbolLimit":0}}})");
  client.Send(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
  client.Send(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" + strUri +
              R"(","languageId":"nimbo","version":1,"text":"Fn0_0_0("}}})");
  ASSERT_TRUE(client.SignatureBecomes(strUri, 0, 8, "Fn0_0_0(nA, nB)"));  // the index is done
  client.Send(R"({"jsonrpc":"2.0","id":2,"method":"workspace/symbol","params":{"query":"Fn"}})");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  client.Send(R"({"jsonrpc":"2.0","id":3,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":")" +
              strUri + R"("},"position":{"line":0,"character":8}}})");
  EXPECT_NE(client.Answer(3).find("Fn0_0_0(nA, nB)"), std::string::npos);
  client.Send(R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":2}})");
  EXPECT_NE(client.Answer(2).find("-32800"), std::string::npos);
  client.Send(R"({"jsonrpc":"2.0","id":4,"method":"shutdown"})");
  EXPECT_NE(client.Answer(4), "");
  client.Send(R"({"jsonrpc":"2.0","method":"exit"})");
}

}  // namespace
