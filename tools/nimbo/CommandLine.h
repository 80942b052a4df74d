// The command line of the nimbo commands, over CLI11: the options every
// command that plays the host shares, the usage line at the head of each
// help text, and one-line errors.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace nimbo {

struct CHostOptions;

// Adds --programs DIR and --project DIR to the command, which set options
// when given. With bFillDefaults the options start as the default
// directories (DefaultHostOptions); without, they stay empty unless given,
// for a command that finds its own defaults.
void AddHostOptions(CLI::App& command, CHostOptions& options, bool bFillDefaults = true);

// Defines a command whose only options are the host options: its usage line,
// AddHostOptions, and fnRun called with the options when the command is
// named, its result left in nStatus.
void DefineHostCommand(CLI::App& command, const std::string& strUsage, int& nStatus,
                       std::function<int(const CHostOptions&)> fnRun, bool bFillDefaults = true);

// Gives the command its usage line, "usage: nimbo <pszUsage>", shown at the
// head of its --help and at the end of its parse errors.
void SetUsage(CLI::App& command, const std::string& strUsage);

// Parses the command line with app and runs the callback of the command it
// names. Returns 0 after --help or --version (printed on standard output),
// 2 after a parse error (one line on standard error: "nimbo <command>: what
// is wrong (usage: ...)"), else nStatus as the callback left it.
int ParseAndRun(CLI::App& app, int argc, char** argv, const int& nStatus);

}  // namespace nimbo
