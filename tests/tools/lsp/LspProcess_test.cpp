// The nimbo lsp process as a client meets it: exit statuses, and Neovim's
// built-in client driving it (the test fails when nvim is not installed).
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

TEST(LspProcess, NeovimClientSeesSignatureCompletionAndHover) {
  ASSERT_EQ(RunShell("command -v nvim >/dev/null"), 0) << "nvim is not installed (Debian package neovim; scripts/setup.sh)";
  CScratchDir scratch;
  const std::string strCommand = "cp -R '" + kSource + "/samples/project' '" + scratch.PathOf("project") +
                                 "' && NIMBO_BIN='" + kNimbo + "' NIMBO_TEST_PROJECT='" + scratch.PathOf("project") +
                                 "' NIMBO_TEST_PROGRAMS='" + kSource + "/samples/Programs' HOME='" +
                                 scratch.GetPath() + "' timeout 60 nvim --headless -u NONE -i NONE -n -c 'luafile " +
                                 kSource + "/tests/tools/lsp/neovim/client.lua' >'" + scratch.PathOf("out") + "' 2>&1";
  const int nStatus = RunShell(strCommand);
  std::ifstream in(scratch.PathOf("out"));
  const std::string strOut((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(nStatus, 0) << strOut;
  EXPECT_NE(strOut.find("signature StrMid(szText, nStart, nCount) parameter 2"), std::string::npos) << strOut;
  EXPECT_NE(strOut.find("\nOK\n"), std::string::npos) << strOut;
}

}  // namespace
