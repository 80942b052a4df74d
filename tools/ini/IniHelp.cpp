// The notes and examples of the nimbo ini help texts, one row an action.
#include "tools/ini/IniHelp.h"

namespace nimbo {
namespace ini {

namespace {

#define NIMBO_INI_ERROR "2 an error (a message on standard error)."
#define NIMBO_INI_REFUSED                                                                         \
  "\nA change whose text would not read back as the expected document is refused; a refused or\n" \
  "failed change leaves the file as it was."
const char kReading[] = "exit status: 0 done, 1 missing (nothing printed), " NIMBO_INI_ERROR;
const char kGetting[] = "exit status: 0 done (--bool: true or false printed), 1 missing and no --default (nothing\n"
                        "printed), " NIMBO_INI_ERROR;
#define NIMBO_INI_NO_FOLDERS "\nNo folder is made: a new file's folder must exist."
const char kWriting[] = "exit status: 0 done, " NIMBO_INI_ERROR;
const char kWritingNew[] = "exit status: 0 done, " NIMBO_INI_ERROR NIMBO_INI_NO_FOLDERS;
const char kSetting[] = "exit status: 0 done, " NIMBO_INI_ERROR NIMBO_INI_REFUSED NIMBO_INI_NO_FOLDERS;
const char kChanging[] = "exit status: 0 done, 1 missing (the file is not touched), " NIMBO_INI_ERROR NIMBO_INI_REFUSED;

struct CActionHelp {
  const char* pszAction;
  const char* pszNotes;
  std::vector<std::string> examples;
};

const CActionHelp kHelp[] = {
    {"",
     "exit status: 0 done, 1 missing or a new name taken (nothing printed), " NIMBO_INI_ERROR,
     {"nimbo ini get app.ini Window Width", "nimbo ini set app.ini Window Width 800", "nimbo help ini get"}},
    {"get", kGetting, {"nimbo ini get app.ini Window Width", "nimbo ini get --int app.ini Window Width --default 640"}},
    {"set", kSetting, {"nimbo ini set app.ini Window Width 800", "nimbo ini set --bool app.ini Window Maximised yes"}},
    {"keys", kReading, {"nimbo ini keys app.ini Window"}},
    {"sections", kWriting, {"nimbo ini sections app.ini"}},
    {"rename-section", kChanging, {"nimbo ini rename-section app.ini Window MainWindow"}},
    {"rename-key", kChanging, {"nimbo ini rename-key app.ini Window Width InitialWidth"}},
    {"remove-section", kChanging, {"nimbo ini remove-section app.ini Recent"}},
    {"remove-key", kChanging, {"nimbo ini remove-key app.ini Window Height"}},
    {"clear-section", kChanging, {"nimbo ini clear-section app.ini Recent"}},
    {"cat", kWriting, {"nimbo ini cat app.ini", "nimbo ini cat app.ini | diff app.ini -"}},
    {"pack", kWritingNew, {"nimbo ini pack app.ini app.bin"}},
    {"unpack", kWritingNew, {"nimbo ini unpack app.bin app.ini"}},
};

const CActionHelp* Find(const std::string& strAction) {
  for (const CActionHelp& help : kHelp)
    if (strAction == help.pszAction) return &help;
  return nullptr;
}

}  // namespace

std::string IniHelpNotes(const std::string& strAction) {
  const CActionHelp* pHelp = Find(strAction);
  return pHelp != nullptr ? pHelp->pszNotes : "";
}

std::vector<std::string> IniHelpExamples(const std::string& strAction) {
  const CActionHelp* pHelp = Find(strAction);
  return pHelp != nullptr ? pHelp->examples : std::vector<std::string>();
}

}  // namespace ini
}  // namespace nimbo
