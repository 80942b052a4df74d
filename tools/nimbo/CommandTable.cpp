// The command table: every command of every group named in CommandGroups.inc.
#include "tools/nimbo/CommandRegistry.h"

#include "tools/nimbo/CommandGroups.inc"

namespace nimbo {

const std::vector<CCommand>& Commands() {
  static const std::vector<CCommand> commands = [] {
    std::vector<CCommand> all;
    std::vector<CCommand> group;
#undef NIMBO_COMMAND_GROUP
#define NIMBO_COMMAND_GROUP(name) \
  group = name::Commands();       \
  all.insert(all.end(), group.begin(), group.end());
#include "tools/nimbo/CommandGroups.inc"
    return all;
  }();
  return commands;
}

}  // namespace nimbo
