// LspMain: the "nimbo lsp" command, a language server on standard input
// and output.
#pragma once

#include <string>
#include <vector>

// Runs the server until the client sends "exit" or closes the input.
// args: [--programs DIR] [--project DIR] (also written --name=DIR);
// strBundledPrograms is the "Programs" directory of last resort. Returns
// 0 after "shutdown" then "exit", 1 for "exit" without "shutdown" or input
// that ends first, 2 for bad arguments (with a message on standard error).
int RunLspCommand(const std::vector<std::string>& args, const std::string& strBundledPrograms);
