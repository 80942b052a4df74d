// LspWorkspace: the generated workspace of the language server rows: 5,000
// scripts in nested folders (10 x 10 folders of 50 scripts), ten functions
// each, 50,000 functions in all, and one of them (LspSharedFunction) called
// twice in every script; made once under BenchDataDir().
#pragma once

#include <string>
#include <vector>

struct CLspWorkspace {
  std::string strRoot;                // the project folder
  std::vector<std::string> scripts;   // every script's path, in key order
  size_t nFunctions = 0;
};

const CLspWorkspace& LspWorkspace();

// The text of script nScript; nVariant changes the prototype of its first
// function (a save that changes what the catalogue holds).
std::string LspScriptText(size_t nScript, int nVariant);

// The name of function nFunction of script nScript.
std::string LspFunctionName(size_t nScript, int nFunction);

// The function called twice in every script (10,000 calls).
std::string LspSharedFunction();
