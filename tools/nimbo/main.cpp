// Entry point of the nimbo tool: dispatches to a registered subcommand.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/nimbo/CommandRegistry.h"

namespace {

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: nimbo COMMAND [ARGS...]\n\ncommands:\n");
  std::vector<nimbo::CCommand> commands = nimbo::Commands();
  std::sort(commands.begin(), commands.end(),
            [](const nimbo::CCommand& a, const nimbo::CCommand& b) { return std::strcmp(a.pszName, b.pszName) < 0; });
  for (const nimbo::CCommand& command : commands) std::fprintf(out, "  %-10s %s\n", command.pszName, command.pszSummary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return nimbo::kExitError;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
    PrintUsage(stdout);
    return nimbo::kExitOk;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("nimbo %s\n", NIMBO_VERSION);
    return nimbo::kExitOk;
  }
  for (const nimbo::CCommand& command : nimbo::Commands()) {
    if (std::strcmp(command.pszName, argv[1]) == 0) {
      std::vector<std::string> args(argv + 2, argv + argc);
      return command.pfnRun(args);
    }
  }
  std::fprintf(stderr, "nimbo: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return nimbo::kExitError;
}
