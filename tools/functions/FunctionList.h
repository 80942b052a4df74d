// The known functions as `nimbo functions` lists them: the filled
// completion list's items, first to last, each with its own catalogue's
// prototype and where it is defined.
#pragma once

#include <string>
#include <vector>

class CProjectManagerObject;

namespace nimbo {
namespace functions {

struct CFunctionEntry {
  std::string strName;
  bool bBuiltIn = false;     // from funcwiz.ini, else a project script
  std::string strPrototype;  // the entry's own text (a project function: its script's header)
  std::string strFile;       // funcwiz.ini or the script; empty when unknown
  int nLine = 0;             // from 1: the function's section header or its name token; 0 when unknown
  // A project function whose name is also a built-in's: the tip shows the
  // built-in's prototype, never this one.
  bool bHidden = false;
};

// Fills a completion list as the editor controller does for the host set up
// in manager (ConfigureHost, NimboInit done) and describes its items; the
// scripts are scanned under a progress line. False with a message in
// strError when the list cannot be made.
bool ListFunctions(CProjectManagerObject& manager, const std::string& strProgramsDir,
                   std::vector<CFunctionEntry>& entries, std::string& strError);

}  // namespace functions
}  // namespace nimbo
