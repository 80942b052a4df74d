// The host options of the nimbo subcommands that play the host: where the
// "Programs" directory (with "funcwiz.ini") and the script project are.
#pragma once

#include <string>

class CProjectManagerObject;

namespace nimbo {

struct CHostOptions {
  std::string strProgramsDir;  // --programs DIR, else $NIMBO_PROGRAMS, else the bundled samples/Programs
  std::string strProjectDir;   // --project DIR, else the bundled samples/project
};

// The directories used when the command line names none.
CHostOptions DefaultHostOptions();

// Makes the manager a host with those directories: "Programs" is set in its
// directory locator and the project is opened. False with a one-line
// message in strError when either is not a readable directory.
bool ConfigureHost(const CHostOptions& options, CProjectManagerObject& manager, std::string& strError);

// The opening that every command playing the host shares, after its command
// line gave the options (AddHostOptions): checks both directories and gives
// them to the manager (ConfigureHost), then links the module into the
// framework's chain as a host does once after loading it (NimboInit).
// Returns false after printing "nimbo COMMAND: message" on stderr.
bool OpenHost(const char* pszCommand, const CHostOptions& options, CProjectManagerObject& manager);

}  // namespace nimbo
