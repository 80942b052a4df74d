// nimbo functions: lists every known function as the completion list shows
// it, with its source, its prototype and where it is defined; as text
// columns, or with --json for programs.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"
#include "tools/functions/FunctionList.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HostOptions.h"

namespace nimbo {
namespace functions {

namespace {

const char kHiddenNote[] = "(hidden: the tip shows the built-in's)";

const char* SourceName(const CFunctionEntry& entry) { return entry.bBuiltIn ? "built-in" : "project"; }

void PrintText(const std::vector<CFunctionEntry>& entries) {
  size_t nWidth = 0;
  for (const CFunctionEntry& entry : entries) nWidth = std::max(nWidth, entry.strName.size());
  for (const CFunctionEntry& entry : entries)
    std::printf("%-*s  %-8s  %s%s%s\n", static_cast<int>(nWidth), entry.strName.c_str(), SourceName(entry),
                entry.strPrototype.c_str(), entry.bHidden ? "  " : "", entry.bHidden ? kHiddenNote : "");
}

// A JSON array, one object a line. Bytes that are not UTF-8 (the scripts are
// 8-bit text) are written as U+FFFD.
void PrintJson(const std::vector<CFunctionEntry>& entries) {
  std::printf("[");
  for (size_t i = 0; i < entries.size(); ++i) {
    const CFunctionEntry& entry = entries[i];
    nlohmann::ordered_json object = {
        {"name", entry.strName},
        {"source", SourceName(entry)},
        {"prototype", entry.strPrototype},
        {"file", entry.strFile.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(entry.strFile)},
        {"line", entry.nLine > 0 ? nlohmann::ordered_json(entry.nLine) : nullptr},
        {"hidden", entry.bHidden}};
    std::printf("%s\n%s", i == 0 ? "" : ",",
                object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
  }
  std::printf("\n]\n");
}

int RunFunctions(const CHostOptions& options, bool bJson) {
  CProjectManagerObject manager;
  if (!OpenHost("functions", options, manager)) return kExitError;
  std::vector<CFunctionEntry> entries;
  std::string strError;
  if (!ListFunctions(manager, options.strProgramsDir, entries, strError)) {
    std::fprintf(stderr, "nimbo functions: %s\n", strError.c_str());
    return kExitError;
  }
  if (g_FuncInfoStd.empty())
    std::fprintf(stderr, "nimbo functions: warning: no built-in functions read from %s/funcwiz.ini\n",
                 options.strProgramsDir.c_str());
  if (bJson)
    PrintJson(entries);
  else
    PrintText(entries);
  return kExitOk;
}

void DefineFunctions(CLI::App& command, int& nStatus) {
  SetUsage(command, "nimbo functions [--json] [--programs DIR] [--project DIR]");
  SetExamples(command, {"nimbo functions --project ~/scripts       # what the tip knows in a project",
                        "nimbo functions --json | jq -r '.[] | select(.hidden) | .name'"});
  command.footer(
      "The functions come in the order of the completion list (Ctrl+Space in the editor): the project's\n"
      "own, then the built-ins of funcwiz.ini. A project function that has a built-in's name is marked\n"
      "hidden: the tip shows the built-in's prototype for that name.\n"
      "--json prints an array, one object a line: name, source (\"built-in\" or \"project\"), prototype,\n"
      "file and line (of the section in funcwiz.ini, or of the name in the script; null when unknown),\n"
      "hidden.");
  auto pOptions = std::make_shared<CHostOptions>();
  auto pJson = std::make_shared<bool>(false);
  command.add_flag("--json", *pJson, "print JSON for programs and editors");
  AddHostOptions(command, *pOptions);
  command.callback([pOptions, pJson, &nStatus] { nStatus = RunFunctions(*pOptions, *pJson); });
}

}  // namespace

}  // namespace functions
}  // namespace nimbo

NIMBO_COMMAND_GROUP(functions)

std::vector<nimbo::CCommand> nimbo::functions::Commands() {
  return {{"functions", "list every known function: name, source, prototype (--json: also file and line)",
           DefineFunctions}};
}
