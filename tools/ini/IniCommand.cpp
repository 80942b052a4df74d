// `nimbo ini`: reads and changes INI files through the library's document
// store, in the manner of `git config`.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/ini/IniHelp.h"
#include "tools/ini/IniSystem.h"
#include "CrtMbString.h"
#include "ini/CIniFile.h"

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

// One line on standard error, for an option value the parser cannot judge.
int UsageError(const std::string& strMessage) {
  std::fprintf(stderr, "nimbo ini get: %s (see nimbo ini get --help)\n", strMessage.c_str());
  return kExitError;
}

bool SameName(const std::string& a, const std::string& b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                  reinterpret_cast<const unsigned char*>(b.c_str())) == 0;
}

// Why a new section name would not read back, or empty when it would.
std::string CheckSection(const std::string& str) {
  if (str.empty()) return "a section name must not be empty";
  if (HasLineBreakOrEnd(str)) return "a section name must not hold a line break or Ctrl-Z";
  return std::string();
}

bool ParseInt(const std::string& str, int& nValue) {
  if (str.empty()) return false;
  errno = 0;
  char* pEnd = nullptr;
  const long long n = std::strtoll(str.c_str(), &pEnd, 10);
  if (*pEnd != 0 || errno == ERANGE || n < INT_MIN || n > INT_MAX) return false;
  nValue = static_cast<int>(n);
  return true;
}

bool ParseBool(const std::string& str, bool& bValue) {
  for (const char* psz : {"yes", "true", "1", "on"}) {
    if (SameName(str, psz)) {
      bValue = true;
      return true;
    }
  }
  for (const char* psz : {"no", "false", "0", "off"}) {
    if (SameName(str, psz)) {
      bValue = false;
      return true;
    }
  }
  return false;
}

void PrintLine(const CString& str) {
  std::fwrite(static_cast<LPCTSTR>(str), 1, static_cast<size_t>(str.GetLength()), stdout);
  std::fputc('\n', stdout);
}

int RunGet(const CIniArgs& args) {
  const std::string& strSection = args.positional[1];
  const std::string& strKey = args.positional[2];
  int nDefault = 0;
  bool bDefault = false;
  if (args.bHasDefault && args.bInt && !ParseInt(args.strDefault, nDefault))
    return UsageError("--default is not a number: " + args.strDefault);
  if (args.bHasDefault && args.bBool && !ParseBool(args.strDefault, bDefault))
    return UsageError("--default is not a flag: " + args.strDefault);
  CIniFile ini;
  if (!LoadDocument(ini, args.positional[0], args.bKeyOnly)) return kExitError;
  if (!args.bHasDefault && !ini.KeyExists(strSection.c_str(), strKey.c_str())) return kExitFalse;
  if (args.bInt) {
    std::printf("%d\n", ini.GetInt(strSection.c_str(), strKey.c_str(), nDefault));
  } else if (args.bBool) {
    std::printf("%s\n", ini.GetBool(strSection.c_str(), strKey.c_str(), bDefault) ? "true" : "false");
  } else {
    PrintLine(ini.GetString(strSection.c_str(), strKey.c_str(), CString(args.strDefault)));
  }
  return kExitOk;
}

int RunSet(const CIniArgs& args) {
  const std::string& strFile = args.positional[0];
  const std::string& strSection = args.positional[1];
  const std::string& strKey = args.positional[2];
  const std::string& strValue = args.positional[3];
  std::string strProblem = CheckSection(strSection);
  if (strProblem.empty()) strProblem = CheckKey(strKey);
  if (strProblem.empty() && HasLineBreakOrEnd(strValue)) strProblem = "a value must not hold a line break or Ctrl-Z";
  int nValue = 0;
  bool bValue = false;
  if (strProblem.empty() && args.bInt && !ParseInt(strValue, nValue)) strProblem = "not a number: " + strValue;
  if (strProblem.empty() && args.bBool && !ParseBool(strValue, bValue)) strProblem = "not a flag: " + strValue;
  if (!strProblem.empty()) return Error("cannot change " + strFile + ": " + strProblem);

  CIniFile ini;
  std::FILE* pExisting = std::fopen(strFile.c_str(), "rb");
  if (pExisting != nullptr || errno != ENOENT) {
    if (pExisting != nullptr) std::fclose(pExisting);
    if (!LoadDocument(ini, strFile, args.bKeyOnly)) return kExitError;
  } else {
    ini.Load(strFile.c_str(), args.bKeyOnly);  // a new file: an empty document with the flag set
  }
  if (args.bInt)
    ini.SetInt(strSection.c_str(), strKey.c_str(), nValue);
  else if (args.bBool)
    ini.SetBool(strSection.c_str(), strKey.c_str(), bValue);
  else
    ini.SetString(strSection.c_str(), strKey.c_str(), strValue.c_str());
  return SaveDocument(ini, strFile, args.bKeyOnly);
}

int RunKeys(const CIniArgs& args) {
  CIniFile ini;
  if (!LoadDocument(ini, args.positional[0], args.bKeyOnly)) return kExitError;
  const CString strSection(args.positional[1]);
  // Listing would add a missing section; it is answered as missing instead.
  if (!ini.SectionExists(strSection)) return kExitFalse;
  CStringArray keys;
  ini.GetKeys(strSection, keys);
  for (int i = 0; i < keys.GetSize(); ++i) PrintLine(keys.GetAt(i));
  return kExitOk;
}

int RunSections(const CIniArgs& args) {
  CIniFile ini;
  if (!LoadDocument(ini, args.positional[0], args.bKeyOnly)) return kExitError;
  for (const CIniFile::CItem& section : ini) PrintLine(section.first);
  return kExitOk;
}

// The store's text form, CR LF line ends, on standard output.
int RunCat(const CIniArgs& args) {
  CIniFile ini;
  if (!LoadDocument(ini, args.positional[0], args.bKeyOnly)) return kExitError;
  // Streamed through the store's own writer: the format lives in one place,
  // and the text is never held whole. Its bytes are the file's, untranslated.
  SetStdoutBinary();
  ini.WriteText([](const char* pData, size_t nSize) { std::fwrite(pData, 1, nSize, stdout); });
  const bool bFlushed = std::fflush(stdout) == 0;
  return bFlushed && std::ferror(stdout) == 0 ? kExitOk : Error("cannot write to standard output");
}

// The changing actions that return a result: load, change, save when true.
int RunChange(const CIniArgs& args) {
  const std::vector<std::string>& op = args.positional;
  const std::string& strFile = op[0];
  std::string strProblem;
  if (args.strAction == "rename-section") strProblem = CheckSection(op[2]);
  if (args.strAction == "rename-key") strProblem = CheckKey(op[3]);
  if (!strProblem.empty()) return Error("cannot change " + strFile + ": " + strProblem);

  CIniFile ini;
  if (!LoadDocument(ini, strFile, args.bKeyOnly)) return kExitError;
  bool bResult = false;
  bool bChanged = true;
  if (args.strAction == "rename-section") {
    bResult = ini.RenameSection(op[1].c_str(), op[2].c_str());
    bChanged = !SameName(op[1], op[2]);
  } else if (args.strAction == "rename-key") {
    bResult = ini.RenameKey(op[1].c_str(), op[2].c_str(), op[3].c_str());
    bChanged = !SameName(op[2], op[3]);
  } else if (args.strAction == "remove-section") {
    bResult = ini.RemoveSection(op[1].c_str());
  } else if (args.strAction == "remove-key") {
    bResult = ini.RemoveKey(op[1].c_str(), op[2].c_str());
  } else {
    bResult = ini.RemoveAllKeys(op[1].c_str());
  }
  if (!bResult) return kExitFalse;
  // A rename to the same name changes nothing: the file is left as it is.
  return bChanged ? SaveDocument(ini, strFile, args.bKeyOnly) : kExitOk;
}

int RunAction(const CIniArgs& args) {
  if (args.strAction == "get") return RunGet(args);
  if (args.strAction == "set") return RunSet(args);
  if (args.strAction == "keys") return RunKeys(args);
  if (args.strAction == "sections") return RunSections(args);
  if (args.strAction == "cat") return RunCat(args);
  if (args.strAction == "pack") return RunPack(args);
  if (args.strAction == "unpack") return RunUnpack(args);
  return RunChange(args);
}

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
    command.add_flag("--bool", pArgs->bBool, "the value is a flag (yes/no, true/false, on/off, 1/0)")->excludes(pInt);
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
