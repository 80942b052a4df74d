// Catalogue benchmarks: the user catalogue over a generated project against
// Universal Ctags indexing the same files, and the standard catalogue over a
// large funcwiz.ini against loading that file into a document.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"
#include "ini/CIniFile.h"
#include "obrin/CProjectManagerObject.h"

extern char** environ;

namespace {

const int kScriptFiles = 1000;
const int kLinesPerFile = 100;      // 100,000 lines in all
const int kFunctionsPerFile = 10;
const int kStdFunctions = 5000;

// ctags is told the script language by a regular expression for definitions
// ("function [Type] Name("), the cheapest way it has to index a language it
// does not know; it writes its index where it is told (here a file).
std::vector<std::string> CtagsArguments(const std::string& strDir, const std::string& strOut) {
  std::vector<std::string> args = {"ctags", "--quiet", "--options=NONE", "--langdef=nimboscript",
                                   "--langmap=nimboscript:.nsc",
                                   "--regex-nimboscript=/^[ \\t]*function[ \\t]+([A-Za-z_][A-Za-z0-9_]*[ \\t]+)?"
                                   "([A-Za-z_][A-Za-z0-9_]*)[ \\t]*\\(/\\2/f,function/",
                                   "-f", strOut, "-R", strDir};
  return args;
}

// Runs ctags and waits for it; true when it exited with 0. pdCpuSeconds
// (optional) receives the user and system time that ctags used.
bool RunCtags(const std::vector<std::string>& args, double* pdCpuSeconds = nullptr) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ctags", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int nStatus = 0;
  struct rusage usage;
  if (wait4(pid, &nStatus, 0, &usage) != pid) return false;
  if (pdCpuSeconds != nullptr)
    *pdCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

// The number of function tags in a ctags index file.
size_t CountTags(const std::string& strPath) {
  std::FILE* pFile = std::fopen(strPath.c_str(), "r");
  if (pFile == nullptr) return 0;
  size_t nTags = 0;
  char szLine[4096];
  while (std::fgets(szLine, sizeof szLine, pFile) != nullptr) {
    if (szLine[0] != '!') ++nTags;
  }
  std::fclose(pFile);
  return nTags;
}

void BM_UserCatalogProject(benchmark::State& state) {
  size_t nFunctions = 0;
  const std::string strDir = ScriptProjectFor(kScriptFiles, kLinesPerFile, kFunctionsPerFile, &nFunctions);
  CProjectManagerObject manager;
  if (!CheckOr(state, manager.OpenProject(strDir.c_str()), "cannot open the project")) return;
  CZoFuncInfoUser catalog;
  for (auto _ : state) catalog.Init(&manager);
  CheckOr(state, catalog.size() == nFunctions, "the user catalogue found another number of functions");
  state.counters["functions"] = static_cast<double>(catalog.size());
}
BENCHMARK(BM_UserCatalogProject)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CtagsProject(benchmark::State& state) {
  size_t nFunctions = 0;
  const std::string strDir = ScriptProjectFor(kScriptFiles, kLinesPerFile, kFunctionsPerFile, &nFunctions);
  const std::string strTags = BenchDataDir() + "/tags";
  const std::vector<std::string> args = CtagsArguments(strDir, strTags);
  if (!CheckOr(state, RunCtags(args), "ctags failed (is universal-ctags installed?)")) return;
  if (!CheckOr(state, CountTags(strTags) == nFunctions, "ctags found another number of functions")) return;
  // The time of a row is the CPU time that ctags itself used (its process's
  // user and system time), comparable with the CPU time of the other rows.
  for (auto _ : state) {
    double dSeconds = 0;
    RunCtags(args, &dSeconds);
    state.SetIterationTime(dSeconds);
  }
  state.counters["functions"] = static_cast<double>(CountTags(strTags));
}
BENCHMARK(BM_CtagsProject)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();

void BM_StdCatalogFuncWiz(benchmark::State& state) {
  CProjectManagerObject manager;
  manager.GetGlobalData()->pDirLoc->SetLocation("Programs", FuncWizDirFor(kStdFunctions).c_str());
  size_t nSize = 0;
  for (auto _ : state) {
    CZoFuncInfoStd catalog;  // a filled catalogue would not read the file again
    catalog.Init(&manager);
    nSize = catalog.size();
  }
  CheckOr(state, nSize == static_cast<size_t>(kStdFunctions), "the standard catalogue holds another number");
  state.counters["functions"] = static_cast<double>(nSize);
}
BENCHMARK(BM_StdCatalogFuncWiz)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_LoadFuncWizDocument(benchmark::State& state) {
  const std::string strPath = FuncWizDirFor(kStdFunctions) + "/funcwiz.ini";
  for (auto _ : state) {
    CIniFile ini;
    benchmark::DoNotOptimize(ini.Load(strPath.c_str(), false));
  }
}
BENCHMARK(BM_LoadFuncWizDocument)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
