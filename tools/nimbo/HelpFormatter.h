// CHelpFormatter: the help text of a nimbo command, in the tool's own words
// rather than CLI11's (no "REQUIRED", "Excludes:", "TEXT" markers): the
// usage line, what the command does, its arguments, its options, its
// commands or actions, the notes of its footer and its examples.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace nimbo {

class CHelpFormatter : public CLI::FormatterBase {
 public:
  explicit CHelpFormatter(std::string strUsage) : m_strUsage(std::move(strUsage)) {}

  std::string make_help(const CLI::App* pCommand, std::string, CLI::AppFormatMode) const override;

  // "nimbo ini get FILE SECTION KEY [--default TEXT] [--int | --bool]".
  const std::string& GetUsage() const { return m_strUsage; }
  // Command lines shown at the end of the help, each with an optional
  // "  # what it does" after it.
  void SetExamples(std::vector<std::string> examples) { m_examples = std::move(examples); }

 private:
  std::string m_strUsage;
  std::vector<std::string> m_examples;
};

// The help text of the command itself, whichever of its own commands the
// command line selected (CLI::App::help would describe the selected one).
std::string HelpText(const CLI::App& command);

}  // namespace nimbo
