// Help texts and parse errors of the nimbo commands.
#include "tools/nimbo/CommandLine.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HostOptions.h"

namespace nimbo {

namespace {

// CLI11's help text with our usage line in place of its own.
class CUsageFormatter : public CLI::Formatter {
 public:
  explicit CUsageFormatter(std::string strUsage) : m_strUsage(std::move(strUsage)) {}
  std::string make_usage(const CLI::App*, std::string) const override { return "usage: " + m_strUsage + "\n"; }
  const std::string& GetUsage() const { return m_strUsage; }

 private:
  std::string m_strUsage;
};

// The innermost command that the command line selected.
const CLI::App* SelectedCommand(const CLI::App& app) {
  const CLI::App* pCommand = &app;
  for (std::vector<CLI::App*> selected = pCommand->get_subcommands(); !selected.empty();
       selected = pCommand->get_subcommands())
    pCommand = selected.front();
  return pCommand;
}

std::string CommandPath(const CLI::App* pCommand) {
  std::string strPath = pCommand->get_name();
  for (const CLI::App* pParent = pCommand->get_parent(); pParent != nullptr; pParent = pParent->get_parent())
    strPath = pParent->get_name() + " " + strPath;
  return strPath;
}

// What a value of this type is called in a message.
std::string ValueNoun(const std::string& strTypeName) {
  if (strTypeName == "DIR") return "a directory";
  if (strTypeName == "FILE") return "a file";
  return "a value";
}

// CLI11's message in the words the commands use for the errors a person
// makes most: an unknown option or argument, an option without its value or
// given twice, a missing command.
std::string Describe(const CLI::App* pCommand, const CLI::ParseError& error) {
  const std::string strWhat = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::vector<std::string> extras = pCommand->remaining();
    if (!extras.empty())
      return (extras.front().compare(0, 1, "-") == 0 ? "unknown option '" : "unexpected argument '") +
             extras.front() + "'";
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    const std::string strName = strWhat.substr(0, strWhat.find(':'));
    const CLI::Option* pOption = pCommand->get_option_no_throw(strName);
    if (pOption != nullptr && strWhat.find(" required but received ") != std::string::npos)
      return "option " + strName + " given twice";
    if (pOption != nullptr) return "option " + strName + " needs " + ValueNoun(pOption->get_type_name());
  }
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr && strWhat.rfind("A subcommand", 0) == 0) {
    const std::string strNoun = pCommand->get_parent() == nullptr ? "command" : "action";
    const std::vector<std::string> extras = pCommand->remaining();
    if (extras.empty()) return (pCommand->get_parent() == nullptr ? "a " : "an ") + strNoun + " is needed";
    return (extras.front().compare(0, 1, "-") == 0 ? "unknown option '" : "unknown " + strNoun + " '") +
           extras.front() + "'";
  }
  return strWhat;
}

}  // namespace

void AddHostOptions(CLI::App& command, CHostOptions& options, bool bFillDefaults) {
  if (bFillDefaults) options = DefaultHostOptions();
  command
      .add_option("--programs", options.strProgramsDir,
                  bFillDefaults ? "the \"Programs\" directory with funcwiz.ini (default: $NIMBO_PROGRAMS, else the samples')"
                                : "the \"Programs\" directory with funcwiz.ini")
      ->type_name("DIR");
  command.add_option("--project", options.strProjectDir,
                     bFillDefaults ? "the script project (default: the samples')" : "the script project")
      ->type_name("DIR");
}

void DefineHostCommand(CLI::App& command, const std::string& strUsage, int& nStatus,
                       std::function<int(const CHostOptions&)> fnRun, bool bFillDefaults) {
  SetUsage(command, strUsage);
  auto pOptions = std::make_shared<CHostOptions>();
  AddHostOptions(command, *pOptions, bFillDefaults);
  command.callback([pOptions, fnRun, &nStatus] { nStatus = fnRun(*pOptions); });
}

void SetUsage(CLI::App& command, const std::string& strUsage) {
  command.formatter(std::make_shared<CUsageFormatter>(strUsage));
}

int ParseAndRun(CLI::App& app, int argc, char** argv, const int& nStatus) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    // The help of the innermost command named, as `nimbo ini get --help`.
    std::cout << SelectedCommand(app)->help();
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    std::cout << app.version() << "\n";
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    const CLI::App* pCommand = SelectedCommand(app);
    std::string strLine = CommandPath(pCommand) + ": " + Describe(pCommand, error);
    auto pFormatter = std::dynamic_pointer_cast<CUsageFormatter>(pCommand->get_formatter());
    if (pFormatter != nullptr) strLine += " (usage: " + pFormatter->GetUsage() + ")";
    std::fprintf(stderr, "%s\n", strLine.c_str());
    return kExitError;
  }
  return nStatus;
}

}  // namespace nimbo
