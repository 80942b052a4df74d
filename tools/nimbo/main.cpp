// Entry point of the nimbo tool: one CLI11 subcommand per registered command.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"

int main(int argc, char** argv) {
  CLI::App app("Code assistance for a script editor (function tips, the function list) and an INI file tool.",
               "nimbo");
  nimbo::SetUsage(app, "nimbo COMMAND [ARGS...]");
  app.set_help_flag("-h,--help", "print this help and exit");
  app.set_version_flag("--version", "nimbo " NIMBO_VERSION, "print the version and exit");
  app.require_subcommand(1);
  // CLI11 takes "/name" for an option on Windows; there it is a path, as everywhere.
  app.allow_windows_style_options(false);
  app.footer("`nimbo help COMMAND` or `nimbo COMMAND --help` shows a command's options.");
  int nStatus = nimbo::kExitOk;
  std::vector<nimbo::CCommand> commands = nimbo::Commands();
  std::sort(commands.begin(), commands.end(),
            [](const nimbo::CCommand& a, const nimbo::CCommand& b) { return std::strcmp(a.pszName, b.pszName) < 0; });
  for (const nimbo::CCommand& command : commands)
    command.pfnRun(*app.add_subcommand(command.pszName, command.pszSummary)->group("Commands"), nStatus);
  // Listed for the help text; main turns `nimbo help ...` into `nimbo ... --help`.
  nimbo::SetUsage(*app.add_subcommand("help", "show a command's help: nimbo help COMMAND [ACTION]")->group("Commands"),
                  "nimbo help COMMAND [ACTION]");

  // `nimbo help COMMAND [ACTION]` is `nimbo COMMAND [ACTION] --help`.
  std::vector<char*> args(argv, argv + argc);
  char szHelp[] = "--help";
  if (args.size() >= 2 && std::strcmp(args[1], "help") == 0) {
    args.erase(args.begin() + 1);
    args.push_back(szHelp);
  }
  return nimbo::ParseAndRun(app, static_cast<int>(args.size()), args.data(), nStatus);
}
