// `nimbo ini`: reads and changes INI files through the library's document
// store, in the manner of `git config`.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/ini/IniHelp.h"

namespace nimbo {
namespace ini {
namespace {

// An action: its operands (FILE first), whether it takes --int and --bool,
// whether it writes INI text (and so takes --key-only), and the line of the
// ini help that lists it.
struct CAction {
  const char* pszName;
  std::vector<const char*> operands;
  bool bTyped;
  bool bWrites;
  const char* pszSummary;
};

const CAction kActions[] = {
    {"get", {"FILE", "SECTION", "KEY"}, true, false, "print a value; status 1 when the key is missing and no --default"},
    {"set", {"FILE", "SECTION", "KEY", "VALUE"}, true, true, "set a value, adding the section and key as needed"},
    {"keys", {"FILE", "SECTION"}, false, false, "list a section's keys; status 1 when the section is missing"},
    {"sections", {"FILE"}, false, false, "list the sections"},
    {"rename-section", {"FILE", "OLD", "NEW"}, false, true, "rename a section; status 1 when it is missing or NEW exists"},
    {"rename-key", {"FILE", "SECTION", "OLD", "NEW"}, false, true, "rename a key; status 1 when it is missing or NEW exists"},
    {"remove-section", {"FILE", "SECTION"}, false, true, "remove a section; status 1 when it is missing"},
    {"remove-key", {"FILE", "SECTION", "KEY"}, false, true, "remove a key; status 1 when it is missing"},
    {"clear-section", {"FILE", "SECTION"}, false, true, "remove a section's keys; status 1 when it is missing"},
    {"cat", {"FILE"}, false, true, "print the document in the store's text form"},
    {"pack", {"FILE", "ARCHIVE"}, false, false, "write the document's archive form"},
    {"unpack", {"ARCHIVE", "FILE"}, false, false, "write the INI file of an archived document"},
};

// What an operand of an action names, for the help text.
const char* OperandMeaning(const std::string& strOperand) {
  if (strOperand == "FILE") return "the INI file";
  if (strOperand == "ARCHIVE") return "the archive file";
  if (strOperand == "SECTION") return "a section name (case is ignored)";
  if (strOperand == "KEY") return "a key (case is ignored)";
  if (strOperand == "VALUE") return "the new value";
  if (strOperand == "OLD") return "the current name";
  return "the new name";
}

void DefineAction(CLI::App& ini, const CAction& action, int& nStatus) {
  CLI::App& command = *ini.add_subcommand(action.pszName, action.pszSummary)->group("Actions");
  auto pArgs = std::make_shared<CIniArgs>();
  pArgs->strAction = action.pszName;
  pArgs->positional.resize(action.operands.size());
  std::string strUsage = std::string("nimbo ini ") + action.pszName;
  for (size_t i = 0; i < action.operands.size(); ++i) {
    command.add_option(action.operands[i], pArgs->positional[i], OperandMeaning(action.operands[i]))
        ->required()
        ->type_name("");
    strUsage += std::string(" ") + action.operands[i];
  }
  if (action.bTyped) {
    CLI::Option* pInt = command.add_flag("--int", pArgs->bInt, "the value is a number");
    // Only the words the store reads: "on" and "off" are not among them.
    const bool bGet = std::strcmp(action.pszName, "get") == 0;
    command
        .add_flag("--bool", pArgs->bBool,
                  bGet ? "read the value as the store reads a flag: yes, true or 1 alone is true, any other text false"
                       : "the value is a flag: yes, true or 1, or no, false or 0 (written Yes or No)")
        ->excludes(pInt);
  }
  if (std::strcmp(action.pszName, "get") == 0) {
    command.add_option("--default", pArgs->strDefault, "printed when the key is missing (exit status 0)")
        ->type_name("TEXT");
    strUsage += " [--default TEXT]";
  }
  if (action.bTyped) strUsage += " [--int | --bool]";
  if (action.bWrites) {
    command.add_flag("--key-only", pArgs->bKeyOnly, "entries with an empty value are written as the key alone");
    strUsage += " [--key-only]";
  }
  SetUsage(command, strUsage);
  SetExamples(command, IniHelpExamples(action.pszName));
  command.footer(IniHelpNotes(action.pszName));
  CLI::Option* pDefault = command.get_option_no_throw("--default");
  command.callback([pArgs, pDefault, &nStatus] {
    pArgs->bHasDefault = pDefault != nullptr && pDefault->count() > 0;
    nStatus = RunAction(*pArgs);
  });
}

void DefineIni(CLI::App& command, int& nStatus) {
  SetUsage(command, "nimbo ini ACTION ARGS...");
  SetExamples(command, IniHelpExamples(""));
  command.footer(IniHelpNotes(""));
  command.require_subcommand(1);
  for (const CAction& action : kActions) DefineAction(command, action, nStatus);
}

}  // namespace

std::vector<CCommand> Commands() {
  return {{"ini", "read and change INI files (get, set, keys, sections, rename, remove, cat, pack, unpack)", DefineIni}};
}

}  // namespace ini
}  // namespace nimbo
