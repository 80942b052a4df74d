// nimbo lsp: the language server, which lives in tools/lsp.
#include "CommandRegistry.h"
#include "SamplesDir.h"
#include "tools/lsp/LspMain.h"

namespace {

int RunLsp(const std::vector<std::string>& args) { return RunLspCommand(args, nimbo::SamplesDir() + "/Programs"); }

}  // namespace

NIMBO_COMMAND("lsp", "language server over standard input and output (Language Server Protocol)", RunLsp);
