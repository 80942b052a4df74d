// LspMain: the "nimbo lsp" command, a language server on standard input
// and output.
#pragma once

#include <string>

// Runs the server until the client sends "exit" or closes the input.
// strPrograms and strProject are the directories the command line gave
// (empty: not given); strBundledPrograms is the "Programs" directory of last
// resort. Returns 0 after "shutdown" then "exit", 1 for "exit" without
// "shutdown" or input that ends first, 2 when a given directory is not one
// (with a message on standard error).
int RunLspCommand(const std::string& strPrograms, const std::string& strProject,
                  const std::string& strBundledPrograms);
