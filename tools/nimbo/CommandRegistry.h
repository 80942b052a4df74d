// The subcommands of the nimbo tool. Each subcommand lives in its own source
// file and registers itself with NIMBO_COMMAND; main dispatches on the name.
#pragma once

#include <string>
#include <vector>

namespace nimbo {

// A subcommand receives its own arguments (without "nimbo" and its name)
// and returns the process exit status.
typedef int (*CommandFunction)(const std::vector<std::string>& args);

struct CCommand {
  const char* pszName;
  const char* pszSummary;  // one line for the usage text
  CommandFunction pfnRun;
};

std::vector<CCommand>& Commands();

struct CCommandRegistration {
  CCommandRegistration(const char* pszName, const char* pszSummary, CommandFunction pfnRun) {
    Commands().push_back({pszName, pszSummary, pfnRun});
  }
};

// Exit statuses shared by the subcommands.
enum EExitStatus { kExitOk = 0, kExitFalse = 1, kExitError = 2 };

}  // namespace nimbo

#define NIMBO_COMMAND(name, summary, function) \
  static ::nimbo::CCommandRegistration g_registration_##function(name, summary, function)
