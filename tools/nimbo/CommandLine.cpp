// Help texts and parse errors of the nimbo commands.
#include "tools/nimbo/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <utility>

#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HelpFormatter.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/Suggestion.h"

namespace nimbo {

namespace {

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

// The names a person may type for the command's options and its commands.
std::vector<std::string> OptionNames(const CLI::App* pCommand) {
  std::vector<std::string> names;
  for (const CLI::Option* pOption : pCommand->get_options())
    for (const std::string& strLong : pOption->get_lnames()) names.push_back("--" + strLong);
  return names;
}

std::vector<std::string> CommandNames(const CLI::App* pCommand) {
  std::vector<std::string> names;
  for (const CLI::App* pSub : pCommand->get_subcommands([](const CLI::App*) { return true; }))
    names.push_back(pSub->get_name());
  return names;
}

// "command" at the top, "action" below (the actions of `nimbo ini`).
std::string CommandNoun(const CLI::App* pCommand) { return pCommand->get_parent() == nullptr ? "command" : "action"; }

std::string UnknownName(const CLI::App* pCommand, const std::string& strWord) {
  return "unknown " + CommandNoun(pCommand) + " '" + strWord + "'" +
         DidYouMean(NearestNames(strWord, CommandNames(pCommand)));
}

std::string UnknownOption(const CLI::App* pCommand, const std::string& strWord) {
  const std::string strOption = strWord.substr(0, strWord.find('='));
  return "unknown option '" + strOption + "'" + DidYouMean(NearestNames(strOption, OptionNames(pCommand)));
}

// CLI11's message in the words the commands use for the errors a person
// makes most: an unknown option or argument, an option without its value or
// given twice, an unknown command (with the nearest names).
std::string Describe(const CLI::App* pCommand, const CLI::ParseError& error) {
  const std::string strWhat = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::vector<std::string> extras = pCommand->remaining();
    if (!extras.empty())
      return extras.front().compare(0, 1, "-") == 0 ? UnknownOption(pCommand, extras.front())
                                                    : "unexpected argument '" + extras.front() + "'";
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    const std::string strName = strWhat.substr(0, strWhat.find(':'));
    const CLI::Option* pOption = pCommand->get_option_no_throw(strName);
    if (pOption != nullptr && strWhat.find(" required but received ") != std::string::npos)
      return "option " + strName + " given twice";
    if (pOption != nullptr) return "option " + strName + " needs " + ValueNoun(pOption->get_type_name());
  }
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr && strWhat.rfind("A subcommand", 0) == 0) {
    const std::vector<std::string> extras = pCommand->remaining();
    if (!extras.empty() && extras.front().compare(0, 1, "-") == 0) return UnknownOption(pCommand, extras.front());
    if (!extras.empty()) return UnknownName(pCommand, extras.front());
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
  command.formatter(std::make_shared<CHelpFormatter>(strUsage));
}

void SetExamples(CLI::App& command, std::vector<std::string> examples) {
  auto pFormatter = std::dynamic_pointer_cast<CHelpFormatter>(command.get_formatter());
  if (pFormatter != nullptr) pFormatter->SetExamples(std::move(examples));
}

int UsageError(const CLI::App& command, const std::string& strMessage) {
  std::string strLine = CommandPath(&command) + ": " + strMessage;
  auto pFormatter = std::dynamic_pointer_cast<CHelpFormatter>(command.get_formatter());
  if (pFormatter != nullptr) strLine += " (usage: " + pFormatter->GetUsage() + ")";
  std::fprintf(stderr, "%s\n", strLine.c_str());
  return kExitError;
}

void DefineHelpCommand(CLI::App& app, int& nStatus) {
  CLI::App& help = *app.add_subcommand("help", "show the help of a command or of an ini action")->group("Commands");
  SetUsage(help, "nimbo help [COMMAND [ACTION]]");
  SetExamples(help, {"nimbo help edit", "nimbo help ini set"});
  auto pNames = std::make_shared<std::pair<std::string, std::string>>();
  help.add_option("COMMAND", pNames->first, "a command of nimbo");
  help.add_option("ACTION", pNames->second, "an action of that command (nimbo ini has them)");
  help.callback([&app, &help, pNames, &nStatus] {
    const CLI::App* pTopic = &app;
    for (const std::string* pName : {&pNames->first, &pNames->second}) {
      if (pName->empty()) break;
      const std::vector<std::string> names = CommandNames(pTopic);
      if (std::find(names.begin(), names.end(), *pName) == names.end()) {
        nStatus = UsageError(help, names.empty() ? "'" + pTopic->get_name() + "' has no actions"
                                                 : UnknownName(pTopic, *pName));
        return;
      }
      pTopic = pTopic->get_subcommand(*pName);
    }
    std::cout << HelpText(*pTopic);
    nStatus = kExitOk;
  });
}

int ParseAndRun(CLI::App& app, int argc, char** argv, const int& nStatus) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    // The help of the innermost command named, as `nimbo ini get --help`.
    std::cout << HelpText(*SelectedCommand(app));
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    std::cout << app.version() << "\n";
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    const CLI::App* pCommand = SelectedCommand(app);
    const bool bNoCommand = dynamic_cast<const CLI::RequiredError*>(&error) != nullptr &&
                            std::string(error.what()).rfind("A subcommand", 0) == 0 && pCommand->remaining().empty();
    // Bare `nimbo` shows what the tool offers; it is still an error, for a
    // script. (`nimbo ini` alone is a one-line error like any other.)
    if (bNoCommand && pCommand->get_parent() == nullptr) {
      std::cout << HelpText(*pCommand);
      return kExitError;
    }
    if (bNoCommand) return UsageError(*pCommand, "an " + CommandNoun(pCommand) + " is needed");
    return UsageError(*pCommand, Describe(pCommand, error));
  }
  return nStatus;
}

}  // namespace nimbo
