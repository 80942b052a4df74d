// Entry point of the nimbo tool: one CLI11 subcommand per registered command.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/OutputCheck.h"

int main(int argc, char** argv) {
  CLI::App app("Code assistance for a script editor (function tips, the function list) and an INI file tool.",
               "nimbo");
  nimbo::SetUsage(app, "nimbo COMMAND [ARGS...]");
  nimbo::SetExamples(app, {"nimbo edit                          # the editor on the bundled sample project",
                           "nimbo ini get app.ini Window Width  # one value of an INI file",
                           "nimbo help ini set                  # the help of one ini action"});
  app.set_help_flag("-h,--help", "print this help and exit");
  app.set_version_flag("--version", "nimbo " NIMBO_VERSION, "print the version and exit");
  app.require_subcommand(1);
  // CLI11 takes "/name" for an option on Windows; there it is a path, as everywhere.
  app.allow_windows_style_options(false);
  int nStatus = nimbo::kExitOk;
  std::vector<nimbo::CCommand> commands = nimbo::Commands();
  std::sort(commands.begin(), commands.end(),
            [](const nimbo::CCommand& a, const nimbo::CCommand& b) { return std::strcmp(a.pszName, b.pszName) < 0; });
  for (const nimbo::CCommand& command : commands)
    command.pfnRun(*app.add_subcommand(command.pszName, command.pszSummary)->group("Commands"), nStatus);
  nimbo::DefineHelpCommand(app, nStatus);
  // Set after the commands are made: CLI11 hands a footer down to the commands made after it.
  app.footer("`nimbo help COMMAND` or `nimbo COMMAND --help` shows a command's options.");
  // Whatever the command, its output must have been written.
  return nimbo::CheckStandardOutput(nimbo::ParseAndRun(app, argc, argv, nStatus));
}
