// nimbo lsp: the language server, which lives in tools/lsp.
#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "tools/lsp/LspMain.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/SamplesDir.h"

namespace {

// The transports a language client may ask for on the command line. Only
// standard input and output is served: --stdio (which clients add for it)
// changes nothing, the others are refused before a client waits on a pipe
// or port that never answers.
struct CTransport {
  bool bStdio = false;
  std::string strPipe;
  std::string strSocket;
  bool bNodeIpc = false;
};

void DefineLsp(CLI::App& command, int& nStatus) {
  auto pTransport = std::make_shared<CTransport>();
  command.add_flag("--stdio", pTransport->bStdio, "talk over standard input and output (the only transport; the default)");
  command.add_option("--pipe", pTransport->strPipe, "not supported: use --stdio")->type_name("NAME");
  command.add_option("--socket", pTransport->strSocket, "not supported: use --stdio")->type_name("PORT");
  command.add_flag("--node-ipc", pTransport->bNodeIpc, "not supported: use --stdio");
  // The server finds its own defaults (a Programs folder the client's
  // workspace may give), so the options stay empty unless given.
  nimbo::DefineHostCommand(
      command, "nimbo lsp [--stdio] [--programs DIR] [--project DIR]", nStatus,
      [pTransport, &command](const nimbo::CHostOptions& options) {
        const char* pszRefused = !pTransport->strPipe.empty()     ? "--pipe"
                                 : !pTransport->strSocket.empty() ? "--socket"
                                 : pTransport->bNodeIpc           ? "--node-ipc"
                                                                  : nullptr;
        if (pszRefused != nullptr)
          return nimbo::UsageError(command, std::string(pszRefused) +
                                                " is not supported: the server talks over standard input and output "
                                                "only (--stdio)");
        return RunLspCommand(options.strProgramsDir, options.strProjectDir, nimbo::SamplesDir() + "/Programs");
      },
      false);
  nimbo::SetExamples(command, {"nimbo lsp --stdio --programs /opt/host/Programs  # started by the editor's language client"});
}

}  // namespace

NIMBO_COMMAND_GROUP(lsp)

std::vector<nimbo::CCommand> nimbo::lsp::Commands() {
  return {{"lsp", "language server over standard input and output (Language Server Protocol)", DefineLsp}};
}
