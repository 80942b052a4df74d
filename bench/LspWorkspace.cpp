// LspWorkspace: writing the generated workspace.
#include "LspWorkspace.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "BenchInput.h"

namespace {

const size_t kScripts = 5000;
const int kFunctionsPerScript = 10;

std::string ScriptPath(const std::string& strRoot, size_t nScript) {
  char szPath[64];
  std::snprintf(szPath, sizeof szPath, "/area%02zu/part%02zu/script%04zu.nsc", nScript / 500, nScript / 50 % 10, nScript);
  return strRoot + szPath;
}

}  // namespace

std::string LspFunctionName(size_t nScript, int nFunction) {
  static const char* const kVerbs[] = {"Read", "Write", "Count", "Find", "Make", "Check", "Sort", "Send", "Load", "Save"};
  char szName[64];
  std::snprintf(szName, sizeof szName, "Fn%s%04zu_%d", kVerbs[nFunction % 10], nScript, nFunction);
  return szName;
}

std::string LspSharedFunction() { return LspFunctionName(0, 0); }

std::string LspScriptText(size_t nScript, int nVariant) {
  std::string strText = "// Generated script " + std::to_string(nScript) + ".\n\n";
  for (int i = 0; i < kFunctionsPerScript; ++i) {
    strText += "function " + LspFunctionName(nScript, i) + "(nFirst, szSecond" +
               (i == 0 && nVariant != 0 ? ", nThird" : "") + ") {\n";
    strText += "  var nTotal = StrLen(szSecond) + nFirst;\n";
    strText += "  if (nTotal > 10) { nTotal = Mid(szSecond, 1, 2); }\n";
    if (i == 1 || i == 2) strText += "  nTotal = " + LspSharedFunction() + "(nTotal, szSecond);\n";
    strText += "  return nTotal;\n}\n\n";
  }
  return strText;
}

const CLspWorkspace& LspWorkspace() {
  static const CLspWorkspace workspace = [] {
    CLspWorkspace made;
    // Named for its text: a workspace of an earlier text is not taken for it.
    made.strRoot = BenchDataDir() + "/lsp-workspace-2";
    const std::string strDone = made.strRoot + "/.complete";
    const bool bExists = std::filesystem::exists(strDone);
    for (size_t i = 0; i < kScripts; ++i) {
      made.scripts.push_back(ScriptPath(made.strRoot, i));
      if (bExists) continue;
      std::filesystem::create_directories(std::filesystem::path(made.scripts.back()).parent_path());
      std::ofstream(made.scripts.back(), std::ios::binary) << LspScriptText(i, 0);
    }
    if (!bExists) std::ofstream(strDone) << "5000 scripts\n";
    made.nFunctions = kScripts * kFunctionsPerScript;
    return made;
  }();
  return workspace;
}
