// nimbo_bench_rss: loads one INI file with one reader and prints the
// process's peak resident memory, so that each reader is measured in a
// process of its own.
//
// Usage: nimbo_bench_rss none|nimbo|simpleini|inireader|inih <file>
// Prints "<reader> <peak KiB> <entries read>"; exit status 2 on bad usage or
// a failed load.
//
// Or: nimbo_bench_rss nimbo-get|git-get <file>
// Runs `nimbo ini get` or `git config --get` for the last key of the
// git-style input (GitStyleIniFileFor, made on first use at <file>'s size
// of 100 MB) as a child of this small process, and prints "<reader> <the
// child's peak KiB> 1". The child is forked, not spawned with a shared
// address space, so that its peak starts from this process's present size
// and not from the largest it ever was (the input's text).
//
// Or: nimbo_bench_rss threads <strings>
// Makes that many strings on one thread and frees them on another (see
// StringsAcrossThreads) and prints "threads <KiB after the first million>
// <KiB at the end>".
#include <INIReader.h>
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchInput.h"
#include "IniReaders.h"
#include "StringsAcrossThreads.h"
#include "ini/CIniFile.h"

namespace {

// The peak KiB of a forked child that runs args, or -1 when it fails.
long ChildPeakKiB(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int fdNull = open("/dev/null", O_WRONLY);
    dup2(fdNull, 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int nStatus = 0;
  struct rusage usage;
  if (pid < 0 || wait4(pid, &nStatus, 0, &usage) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0) return -1;
  return usage.ru_maxrss;
}

long PeakKiB() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s none|nimbo|simpleini|inireader|inih <file>\n", argv[0]);
    return 2;
  }
  const char* pszReader = argv[1];
  if (std::strcmp(pszReader, "threads") == 0) {
    const CResidentGrowth growth = StringsAcrossThreads(std::atol(argv[2]));
    std::printf("threads %ld %ld\n", growth.nFirstKiB, growth.nEndKiB);
    return 0;
  }
  if (std::strcmp(pszReader, "nimbo-get") == 0 || std::strcmp(pszReader, "git-get") == 0) {
    CIniProbe probe;
    const std::string strFile = GitStyleIniFileFor(100, &probe);
    const long nPeak = ChildPeakKiB(
        std::strcmp(pszReader, "nimbo-get") == 0
            ? std::vector<std::string>{std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo", "ini", "get", strFile,
                                       probe.strSection, probe.strKey}
            : std::vector<std::string>{"git", "config", "-f", strFile, "--get", probe.strSection + "." + probe.strKey});
    std::printf("%s %ld 1\n", pszReader, nPeak);
    return nPeak >= 0 ? 0 : 2;
  }
  const char* pszPath = argv[2];
  size_t nEntries = 0;
  bool bOk = true;
  // Each document stays alive until the peak has been read: the figure is
  // the memory of holding the loaded document.
  std::unique_ptr<CIniFile> pNimbo;
  std::unique_ptr<CSimpleIniA> pSimple;
  std::unique_ptr<INIReader> pReader;
  if (std::strcmp(pszReader, "nimbo") == 0) {
    pNimbo = std::make_unique<CIniFile>();
    bOk = pNimbo->Load(pszPath, false);
    nEntries = SummaryOf(*pNimbo).nEntries;
  } else if (std::strcmp(pszReader, "simpleini") == 0) {
    pSimple = std::make_unique<CSimpleIniA>();
    bOk = pSimple->LoadFile(pszPath) == SI_OK;
    nEntries = SummaryOfSimpleIni(*pSimple).nEntries;
  } else if (std::strcmp(pszReader, "inireader") == 0) {
    pReader = std::make_unique<INIReader>(pszPath);
    bOk = pReader->ParseError() == 0;
  } else if (std::strcmp(pszReader, "inih") == 0) {
    CIniSummary summary;
    bOk = SummaryByInih(pszPath, &summary);
    nEntries = summary.nEntries;
  } else if (std::strcmp(pszReader, "none") != 0) {
    std::fprintf(stderr, "unknown reader %s\n", pszReader);
    return 2;
  }
  const long nPeak = PeakKiB();
  std::printf("%s %ld %zu\n", pszReader, nPeak, nEntries);
  return bOk ? 0 : 2;
}
