// The nimbo lsp process as a client meets it: exit statuses, and two real
// editors (Neovim 0.7 and Emacs 28 with eglot) configured by the README's
// blocks (the tests fail, never skip, when an editor is not installed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

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

// Each feature a user reaches with the README's keys: completion, the
// signature as "(" and "," are typed (none marked past the last
// parameter), hover and go to definition.
void ExpectEveryFeature(const CClientRun& run) {
  EXPECT_EQ(run.nStatus, 0) << run.strOut;
  for (const char* pszLine : {"completion StrTrim StrTrimLeft StrTrimRight", "past the last parameter: none marked",
                              "hover ok", "definition orders.nsc:18", "OK"})
    EXPECT_NE(run.strOut.find(std::string("\n") + pszLine + "\n"), std::string::npos) << pszLine << "\n" << run.strOut;
}

TEST(LspProcess, NeovimWithTheReadmesBlockReachesEveryFeature) {
  ASSERT_EQ(RunShell("command -v nvim >/dev/null"), 0) << "nvim is not installed (Debian package neovim; scripts/setup.sh)";
  const CClientRun run = RunClient("nvim --headless -u NONE -i NONE -n -c 'luafile " + kSource +
                                   "/tests/tools/lsp/neovim/client.lua'");
  ExpectEveryFeature(run);
  EXPECT_NE(run.strOut.find("signature StrMid(szText, nStart, nCount) parameter 2"), std::string::npos) << run.strOut;
}

TEST(LspProcess, EmacsEglotWithTheReadmesBlockReachesEveryFeature) {
  ASSERT_EQ(RunShell("command -v emacs >/dev/null"), 0)
      << "emacs is not installed (Debian packages emacs-nox and elpa-eglot; scripts/setup.sh)";
  // -q, not -Q: the site start-up files put Debian's elpa-eglot on the load path.
  const CClientRun run = RunClient("emacs --batch -q -l '" + kSource + "/tests/tools/lsp/emacs/client.el'");
  ExpectEveryFeature(run);
  EXPECT_NE(run.strOut.find("signature StrMid(szText, nStart, nCount) marked nCount"), std::string::npos) << run.strOut;
}

}  // namespace
