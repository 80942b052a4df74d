// nimbo edit on Windows: the terminal editor is drawn with ncurses, which the
// Windows build does not have. The command stays in the table, so that
// `nimbo edit` says what to use instead of "unknown command".
#include <cstdio>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"

namespace {

void DefineEdit(CLI::App& command, int& nStatus) {
  nimbo::SetUsage(command, "nimbo edit [FILE ...] [--project DIR] [--programs DIR]");
  command.footer("The terminal editor is built for Linux only. On Windows, edit scripts in VS Code with the Nimbo\n"
                 "extension, or in any editor with a language-server client (nimbo lsp); nimbo demo and\n"
                 "nimbo replay show the editor's sessions as text.");
  command.allow_extras();
  command.callback([&nStatus] {
    std::fprintf(stderr,
                 "nimbo edit: the terminal editor is built for Linux only; on Windows use the VS Code extension "
                 "or nimbo lsp in another editor\n");
    nStatus = nimbo::kExitError;
  });
}

}  // namespace

NIMBO_COMMAND_GROUP(edit)

std::vector<nimbo::CCommand> nimbo::edit::Commands() {
  return {{"edit", "the terminal editor (Linux only)", DefineEdit}};
}
