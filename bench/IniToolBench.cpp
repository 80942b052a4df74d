// `nimbo ini get` as a person runs it, against `git config --get` on the same
// 100 MB file: each a process of its own, timed by the CPU time it used (user
// and system, as the ctags row is). The key asked for is the file's last, so
// both read it whole. Their peak memory is probed apart, from a small
// process (nimbo_bench_rss nimbo-get|git-get): a child spawned from this
// large one would start from its size.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchCommon.h"

extern char** environ;

namespace {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo";

struct CProcessRun {
  bool bOk = false;
  double dCpuSeconds = 0;
};

// Runs argv with its standard output going to strOut.
CProcessRun RunProcess(const std::vector<std::string>& args, const std::string& strOut) {
  CProcessRun run;
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int nSpawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (nSpawned != 0) return run;
  int nStatus = 0;
  struct rusage usage;
  if (wait4(pid, &nStatus, 0, &usage) != pid) return run;
  run.dCpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.bOk = WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
  return run;
}

// tool 0: nimbo ini get; tool 1: git config --get.
void BM_GetProcess(benchmark::State& state) {
  CIniProbe probe;
  const std::string strFile = GitStyleIniFileFor(static_cast<int>(state.range(1)), &probe);
  const std::vector<std::string> args =
      state.range(0) == 0 ? std::vector<std::string>{kNimbo, "ini", "get", strFile, probe.strSection, probe.strKey}
                          : std::vector<std::string>{"git", "config", "-f", strFile, "--get",
                                                     probe.strSection + "." + probe.strKey};
  const std::string strOut = BenchDataDir() + "/get.out";
  for (auto _ : state) {
    const CProcessRun run = RunProcess(args, strOut);
    if (!CheckOr(state, run.bOk, "the get failed (is git installed?)")) return;
    state.SetIterationTime(run.dCpuSeconds);
  }
  std::ifstream in(strOut, std::ios::binary);
  const std::string strPrinted((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  CheckOr(state, strPrinted == probe.strValue + "\n", "the get printed another value");
  unlink(strOut.c_str());
}
BENCHMARK(BM_GetProcess)
    ->ArgNames({"tool", "MB"})
    ->Args({0, 100})
    ->Args({1, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(IterationsFor(100))
    ->UseManualTime();

}  // namespace
