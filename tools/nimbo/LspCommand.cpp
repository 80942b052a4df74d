// nimbo lsp: the language server, which lives in tools/lsp.
#include <CLI/CLI.hpp>

#include <memory>

#include "tools/lsp/LspMain.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/SamplesDir.h"

namespace {

// The server picks its own defaults (a Programs folder the client's
// workspace may give), so only the options given are passed on.
struct CLspArgs {
  std::string strPrograms;
  std::string strProject;
};

void DefineLsp(CLI::App& command, int& nStatus) {
  nimbo::SetUsage(command, "nimbo lsp [--programs DIR] [--project DIR]");
  auto pArgs = std::make_shared<CLspArgs>();
  CLI::Option* pPrograms =
      command.add_option("--programs", pArgs->strPrograms, "the \"Programs\" directory with funcwiz.ini")
          ->type_name("DIR");
  CLI::Option* pProject = command.add_option("--project", pArgs->strProject, "the script project")->type_name("DIR");
  command.callback([pArgs, pPrograms, pProject, &nStatus] {
    std::vector<std::string> args;
    if (pPrograms->count() > 0) args.push_back("--programs=" + pArgs->strPrograms);
    if (pProject->count() > 0) args.push_back("--project=" + pArgs->strProject);
    nStatus = RunLspCommand(args, nimbo::SamplesDir() + "/Programs");
  });
}

}  // namespace

NIMBO_COMMAND_GROUP(lsp)

std::vector<nimbo::CCommand> nimbo::lsp::Commands() {
  return {{"lsp", "language server over standard input and output (Language Server Protocol)", DefineLsp}};
}
