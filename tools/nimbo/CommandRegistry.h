// The commands of the nimbo tool. Each command group is a library of its own
// folder (tools/<group>/, target nimbo_tool_<group>) and lists its commands
// in nimbo::<group>::Commands(); the tool's command table names every group,
// one line each in CommandGroups.inc. main gives each command a CLI11
// subcommand and parses the command line; reaching every command through
// those calls makes the linker keep each group's objects.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace nimbo {

// Defines a command on the CLI11 command made for it (usage, options,
// arguments) and the callback that runs it when the command line names it;
// the callback leaves the process exit status in nStatus.
typedef void (*CommandFunction)(CLI::App& command, int& nStatus);

struct CCommand {
  const char* pszName;
  const char* pszSummary;  // one line for the usage text
  CommandFunction pfnRun;
};

// Every command of the tool, group by group in the order of CommandGroups.inc.
const std::vector<CCommand>& Commands();

// Exit statuses shared by the commands.
enum EExitStatus { kExitOk = 0, kExitFalse = 1, kExitError = 2 };

}  // namespace nimbo

// Declares the function through which a group gives its commands to the table.
#define NIMBO_COMMAND_GROUP(group)       \
  namespace nimbo {                      \
  namespace group {                      \
  std::vector<CCommand> Commands();      \
  }                                      \
  }
