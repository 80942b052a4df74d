// The host options of the nimbo subcommands that play the host: where the
// "Programs" directory (with "funcwiz.ini") and the script project are.
#pragma once

#include <string>
#include <vector>

class CProjectManagerObject;

namespace nimbo {

struct CHostOptions {
  std::string strProgramsDir;      // --programs DIR, else $NIMBO_PROGRAMS, else the bundled samples/Programs
  std::string strProjectDir;       // --project DIR, else the bundled samples/project
  std::vector<std::string> rest;   // the other arguments, in order
};

// Takes "--programs DIR" and "--project DIR" (also written "--programs=DIR")
// out of args and fills in the defaults for those not given. True on
// success; false with a one-line message in strError when an option has no
// value or is given twice.
bool ParseHostOptions(const std::vector<std::string>& args, CHostOptions& options, std::string& strError);

// Makes the manager a host with those directories: "Programs" is set in its
// directory locator and the project is opened. False with a one-line
// message in strError when either is not a readable directory.
bool ConfigureHost(const CHostOptions& options, CProjectManagerObject& manager, std::string& strError);

// The opening that every command playing the host shares. ParseHostArgs
// takes the host options out of args (ParseHostOptions); OpenHost checks both
// directories and gives them to the manager (ConfigureHost), then links the
// module into the framework's chain as a host does once after loading it
// (NimboInit). Each returns false after printing "nimbo COMMAND: message" on
// stderr.
bool ParseHostArgs(const char* pszCommand, const std::vector<std::string>& args, CHostOptions& options);
bool OpenHost(const char* pszCommand, const CHostOptions& options, CProjectManagerObject& manager);

}  // namespace nimbo
