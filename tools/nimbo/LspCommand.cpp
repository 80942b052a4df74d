// nimbo lsp: the language server, which lives in tools/lsp.
#include "tools/lsp/LspMain.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/SamplesDir.h"

namespace {

int RunLsp(const std::vector<std::string>& args) { return RunLspCommand(args, nimbo::SamplesDir() + "/Programs"); }

}  // namespace

NIMBO_COMMAND_GROUP(lsp)

std::vector<nimbo::CCommand> nimbo::lsp::Commands() {
  return {{"lsp", "language server over standard input and output (Language Server Protocol)", RunLsp}};
}
