// nimbo_bench_rss: loads one INI file with one reader and prints the
// process's peak resident memory, so that each reader is measured in a
// process of its own.
//
// Usage: nimbo_bench_rss none|nimbo|simpleini|inireader|inih <file>
// Prints "<reader> <peak KiB> <entries read>"; exit status 2 on bad usage or
// a failed load.
//
// Or: nimbo_bench_rss threads <strings>
// Makes that many strings on one thread and frees them on another (see
// StringsAcrossThreads) and prints "threads <KiB after the first million>
// <KiB at the end>".
#include <INIReader.h>
#include <SimpleIni.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "IniReaders.h"
#include "StringsAcrossThreads.h"
#include "ini/CIniFile.h"

namespace {

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
