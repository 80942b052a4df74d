// nimbo lsp: the language server, which lives in tools/lsp.
#include "CommandRegistry.h"
#include "tools/lsp/LspMain.h"

NIMBO_COMMAND("lsp", "language server over standard input and output (Language Server Protocol)", RunLspCommand);
