// `nimbo ini`: reads and changes INI files through the library's document
// store, in the manner of `git config`.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniCommandSupport.h"
#include "CrtMbString.h"
#include "ini/CIniFile.h"

namespace nimbo {
namespace ini {
namespace {

const char kUsage[] =
    "usage: nimbo ini ACTION ARGS...\n"
    "  get FILE SECTION KEY [--default TEXT] [--int | --bool]\n"
    "  set FILE SECTION KEY VALUE [--int | --bool] [--key-only]\n"
    "  keys FILE SECTION\n"
    "  sections FILE\n"
    "  rename-section FILE OLD NEW [--key-only]\n"
    "  rename-key FILE SECTION OLD NEW [--key-only]\n"
    "  remove-section FILE SECTION [--key-only]\n"
    "  remove-key FILE SECTION KEY [--key-only]\n"
    "  clear-section FILE SECTION [--key-only]\n"
    "  cat FILE [--key-only]\n"
    "  pack FILE ARCHIVE\n"
    "  unpack ARCHIVE FILE\n"
    "Exit status: 0 done, 1 false or missing (no output), 2 error.\n"
    "--key-only writes entries with an empty value as the key alone.\n"
    "Changing actions rewrite the file in the store's text form (comments are not kept);\n"
    "a change whose text would not read back as the same document is refused.\n";

struct CAction {
  const char* pszName;
  size_t nOperands;
  bool bTyped;    // takes --int / --bool
  bool bWrites;   // writes INI text, so takes --key-only
};

const CAction kActions[] = {
    {"get", 3, true, false},           {"set", 4, true, true},          {"keys", 2, false, false},
    {"sections", 1, false, false},     {"rename-section", 3, false, true}, {"rename-key", 4, false, true},
    {"remove-section", 2, false, true}, {"remove-key", 3, false, true},  {"clear-section", 2, false, true},
    {"cat", 1, false, true},           {"pack", 2, false, false},       {"unpack", 2, false, false},
};

// One line on standard error; the full usage is shown by `nimbo ini --help`.
int UsageError(const std::string& strMessage) {
  std::fprintf(stderr, "nimbo ini: %s (see nimbo ini --help)\n", strMessage.c_str());
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

// Fills args from the command line; an empty result on success, else the
// usage error.
std::string ParseArgs(const std::vector<std::string>& raw, CIniArgs& args, const CAction*& pAction) {
  if (raw.empty()) return "no action given";
  args.strAction = raw[0];
  pAction = nullptr;
  for (const CAction& action : kActions)
    if (args.strAction == action.pszName) pAction = &action;
  if (pAction == nullptr) return "unknown action '" + args.strAction + "'";
  bool bOptions = true;
  for (size_t i = 1; i < raw.size(); ++i) {
    const std::string& arg = raw[i];
    if (bOptions && arg == "--") {
      bOptions = false;
    } else if (bOptions && arg == "--int" && pAction->bTyped) {
      args.bInt = true;
    } else if (bOptions && arg == "--bool" && pAction->bTyped) {
      args.bBool = true;
    } else if (bOptions && arg == "--key-only" && pAction->bWrites) {
      args.bKeyOnly = true;
    } else if (bOptions && arg == "--default" && args.strAction == "get") {
      if (i + 1 >= raw.size()) return "--default needs a value";
      if (args.bHasDefault) return "--default given twice";
      args.bHasDefault = true;
      args.strDefault = raw[++i];
    } else if (bOptions && arg.size() > 1 && arg[0] == '-') {
      return "unknown option '" + arg + "' for " + args.strAction;
    } else {
      args.positional.push_back(arg);
    }
  }
  if (args.bInt && args.bBool) return "--int and --bool exclude each other";
  if (args.positional.size() != pAction->nOperands) return "wrong number of arguments for " + args.strAction;
  return std::string();
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
  // and the text is never held whole.
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

int RunIni(const std::vector<std::string>& raw) {
  if (!raw.empty() && (raw[0] == "--help" || raw[0] == "-h" || raw[0] == "help")) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  CIniArgs args;
  const CAction* pAction = nullptr;
  const std::string strProblem = ParseArgs(raw, args, pAction);
  if (!strProblem.empty()) return UsageError(strProblem);
  if (args.strAction == "get") return RunGet(args);
  if (args.strAction == "set") return RunSet(args);
  if (args.strAction == "keys") return RunKeys(args);
  if (args.strAction == "sections") return RunSections(args);
  if (args.strAction == "cat") return RunCat(args);
  if (args.strAction == "pack") return RunPack(args);
  if (args.strAction == "unpack") return RunUnpack(args);
  return RunChange(args);
}

}  // namespace

std::vector<CCommand> Commands() {
  return {{"ini", "read and change INI files (get, set, keys, sections, rename, remove, cat, pack, unpack)", RunIni}};
}

}  // namespace ini
}  // namespace nimbo
