// nimbo lsp: the language server, which lives in tools/lsp.
#include <CLI/CLI.hpp>

#include "tools/lsp/LspMain.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/SamplesDir.h"

namespace {

void DefineLsp(CLI::App& command, int& nStatus) {
  // The server finds its own defaults (a Programs folder the client's
  // workspace may give), so the options stay empty unless given.
  nimbo::DefineHostCommand(
      command, "nimbo lsp [--programs DIR] [--project DIR]", nStatus,
      [](const nimbo::CHostOptions& options) {
        return RunLspCommand(options.strProgramsDir, options.strProjectDir, nimbo::SamplesDir() + "/Programs");
      },
      false);
  nimbo::SetExamples(command, {"nimbo lsp --programs /opt/host/Programs  # started by the editor's language client"});
}

}  // namespace

NIMBO_COMMAND_GROUP(lsp)

std::vector<nimbo::CCommand> nimbo::lsp::Commands() {
  return {{"lsp", "language server over standard input and output (Language Server Protocol)", DefineLsp}};
}
