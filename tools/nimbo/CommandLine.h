// The command line of the nimbo commands, over CLI11: the options every
// command that plays the host shares, the help texts (usage line first,
// examples last), `nimbo help`, and one-line errors.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

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
// head of its --help and at the end of its parse errors; the rest of the
// help comes from the command's description, options, commands and footer
// (CHelpFormatter).
void SetUsage(CLI::App& command, const std::string& strUsage);

// The command lines shown under "examples:" at the end of the command's help
// (after SetUsage), each with an optional "  # what it does".
void SetExamples(CLI::App& command, std::vector<std::string> examples);

// Prints "nimbo <command>: <message> (usage: ...)" on standard error, the
// form of every command-line error; returns kExitError.
int UsageError(const CLI::App& command, const std::string& strMessage);

// Adds `nimbo help [COMMAND [ACTION]]`, which prints the same text as
// `nimbo COMMAND [ACTION] --help`; a command or action that does not exist
// is an error (status 2) that names the nearest ones.
void DefineHelpCommand(CLI::App& app, int& nStatus);

// Parses the command line with app and runs the callback of the command it
// names. Returns 0 after --help or --version (printed on standard output);
// 2 after a parse error (one line on standard error: "nimbo <command>: what
// is wrong (usage: ...)", an unknown name with the nearest ones), or after
// the tool's help when no command was given (bare `nimbo`), printed on
// standard output; else nStatus as the callback left it.
int ParseAndRun(CLI::App& app, int argc, char** argv, const int& nStatus);

}  // namespace nimbo
