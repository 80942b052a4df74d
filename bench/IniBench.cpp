// INI benchmarks: loading and saving text against SimpleIni and inih, and the
// archive form against the text form of the same document.
#include <INIReader.h>
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <utility>

#include "BenchCommon.h"
#include "CArchive.h"
#include "CException.h"
#include "CFile.h"
#include "IniArchiveFiles.h"
#include "IniReaders.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"
#include "tools/ini/IniCommandSupport.h"

const CIniInput& IniInput(int nMegabytes, int nKeysPerSection) {
  static std::map<std::pair<int, int>, CIniInput> inputs;
  CIniInput& input = inputs[{nMegabytes, nKeysPerSection}];
  if (!input.strPath.empty()) return input;
  if (nKeysPerSection == 0) {
    input.strPath = MixedIniFileFor(nMegabytes, &input.expected, &input.expectedTrimmed);
  } else {
    input.strPath = IniFileFor(nMegabytes, nKeysPerSection, &input.expected);
    input.expectedTrimmed = input.expected;
  }
  return input;
}

namespace {

void SetCounters(benchmark::State& state, const CIniInput& input) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.expected.nEntries) * 100);
  state.counters["entries"] = static_cast<double>(input.expected.nEntries);
}

// ---- Loading ----------------------------------------------------------------

void BM_LoadNimbo(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  {
    CIniFile ini;
    if (!CheckOr(state, ini.Load(input.strPath.c_str(), false) && SummaryOf(ini) == input.expected,
                 "CIniFile read other data"))
      return;
  }
  for (auto _ : state) {
    CIniFile ini;
    benchmark::DoNotOptimize(ini.Load(input.strPath.c_str(), false));
  }
  SetCounters(state, input);
}

void BM_LoadSimpleIni(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  {
    CSimpleIniA ini;
    if (!CheckOr(state, ini.LoadFile(input.strPath.c_str()) == SI_OK && SummaryOfSimpleIni(ini) == input.expectedTrimmed,
                 "SimpleIni read other data"))
      return;
  }
  for (auto _ : state) {
    CSimpleIniA ini;
    benchmark::DoNotOptimize(ini.LoadFile(input.strPath.c_str()));
  }
  SetCounters(state, input);
}

void BM_LoadINIReader(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  {
    CIniFile reference;
    reference.Load(input.strPath.c_str(), false);
    INIReader reader(input.strPath);
    if (!CheckOr(state, reader.ParseError() == 0 && SummaryByLookups(reader, reference) == input.expectedTrimmed,
                 "INIReader read other data"))
      return;
  }
  for (auto _ : state) {
    INIReader reader(input.strPath);
    benchmark::DoNotOptimize(reader.ParseError());
  }
  SetCounters(state, input);
}

void BM_LoadInihEmptyHandler(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CIniSummary summary;
  if (!CheckOr(state, SummaryByInih(input.strPath, &summary) && summary == input.expectedTrimmed, "inih read other data"))
    return;
  for (auto _ : state) benchmark::DoNotOptimize(ParseWithEmptyHandler(input.strPath));
  SetCounters(state, input);
}

void LoadArgs(benchmark::internal::Benchmark* pBench) {
  pBench->ArgNames({"MB", "keys"})->Unit(benchmark::kMillisecond);
}

#define NIMBO_LOAD_BENCH(fn)                                                   \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({1, 10})->Iterations(IterationsFor(1)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({1, 1000})->Iterations(IterationsFor(1)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({10, 10})->Iterations(IterationsFor(10)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({10, 1000})->Iterations(IterationsFor(10)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({100, 10})->Iterations(IterationsFor(100)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({100, 1000})->Iterations(IterationsFor(100)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({10, 0})->Iterations(IterationsFor(10))

NIMBO_LOAD_BENCH(BM_LoadNimbo);
NIMBO_LOAD_BENCH(BM_LoadSimpleIni);
NIMBO_LOAD_BENCH(BM_LoadINIReader);
NIMBO_LOAD_BENCH(BM_LoadInihEmptyHandler);

// ---- Saving -----------------------------------------------------------------

std::string OutputPath(const char* pszName) { return BenchDataDir() + "/" + pszName; }

std::string ReadWholeBytes(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes a file just made back to disk. The kernel would otherwise do it in
// the background, beside the timed loads of that very file, and bill them
// for it: the text inputs, written long before, have no such cost.
bool SyncFile(const std::string& strPath) {
  const int fd = open(strPath.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool bSynced = fsync(fd) == 0;
  close(fd);
  return bSynced;
}

void BM_SaveNimbo(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CIniFile ini;
  ini.Load(input.strPath.c_str(), false);
  const std::string strOut = OutputPath("saved_nimbo.ini");
  for (auto _ : state) benchmark::DoNotOptimize(ini.SaveAs(strOut.c_str()));
  CIniFile again;
  CheckOr(state, again.Load(strOut.c_str(), false) && SummaryOf(again) == input.expected, "CIniFile saved other data");
  SetCounters(state, input);
  unlink(strOut.c_str());
}

void BM_SaveSimpleIni(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CSimpleIniA ini;
  ini.LoadFile(input.strPath.c_str());
  const std::string strOut = OutputPath("saved_simpleini.ini");
  for (auto _ : state) benchmark::DoNotOptimize(ini.SaveFile(strOut.c_str(), false));
  CSimpleIniA again;
  CheckOr(state, again.LoadFile(strOut.c_str()) == SI_OK && SummaryOfSimpleIni(again) == input.expected,
          "SimpleIni saved other data");
  SetCounters(state, input);
  unlink(strOut.c_str());
}

#define NIMBO_SAVE_BENCH(fn)                                                     \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({10, 10})->Iterations(IterationsFor(10)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({10, 1000})->Iterations(IterationsFor(10)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({100, 10})->Iterations(IterationsFor(100)); \
  BENCHMARK(fn)->Apply(LoadArgs)->Args({100, 1000})->Iterations(IterationsFor(100))

NIMBO_SAVE_BENCH(BM_SaveNimbo);
NIMBO_SAVE_BENCH(BM_SaveSimpleIni);

// ---- Archive form against text form ------------------------------------------

void BM_ArchiveStore(benchmark::State& state) {
  NimboInit();
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  CIniFile ini;
  ini.Load(input.strPath.c_str(), false);
  const std::string strOut = OutputPath("stored.bin");
  for (auto _ : state) benchmark::DoNotOptimize(StoreArchive(ini, strOut));
  std::unique_ptr<CIniFile> pBack = LoadArchive(strOut);
  CheckOr(state, pBack && SummaryOf(*pBack) == input.expected, "the archive holds other data");
  SetCounters(state, input);
  // Gone before the kernel writes it back, as the saves' outputs are: that
  // write-back would run beside the rows that come next.
  unlink(strOut.c_str());
}

void BM_ArchiveLoad(benchmark::State& state) {
  NimboInit();
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string strArchive = OutputPath("load.bin");
  {
    CIniFile ini;
    ini.Load(input.strPath.c_str(), false);
    if (!CheckOr(state, StoreArchive(ini, strArchive) && SyncFile(strArchive), "cannot store the archive")) return;
    std::unique_ptr<CIniFile> pBack = LoadArchive(strArchive);
    if (!CheckOr(state, pBack && SummaryOf(*pBack) == input.expected, "the archive holds other data")) return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(LoadArchive(strArchive));
  SetCounters(state, input);
  unlink(strArchive.c_str());
}

NIMBO_SAVE_BENCH(BM_ArchiveStore);
NIMBO_SAVE_BENCH(BM_ArchiveLoad);

// ---- One key changed in a large file ------------------------------------------
// `nimbo ini set` changes the lines of one key and writes the file; the
// store's way is a load, the change and a save of the whole document. Both
// work on a copy of the input, and each iteration gives the key a value of
// the same length, so every iteration writes a file of the same size.

std::string EditCopy(const CIniInput& input, const char* pszName) {
  const std::string strCopy = OutputPath(pszName);
  std::string strWhy;
  const std::string strBytes = ReadWholeBytes(input.strPath);
  nimbo::ini::WriteWholeFile(strCopy, strBytes.data(), strBytes.size(), strWhy);
  return strCopy;
}

void BM_EditOneKeyTool(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string strCopy = EditCopy(input, "edit_tool.ini");
  CIniFile reference;
  reference.Load(strCopy.c_str(), false);
  // A key in the middle of the file.
  const CIniFile::CItem& section = reference.GetAt(reference.GetCount() / 2);
  nimbo::ini::CIniArgs args;
  args.strAction = "set";
  args.positional = {strCopy, section.first.Str(), section.second.GetAt(0).first.Str(), ""};
  int nRound = 0;
  for (auto _ : state) {
    args.positional[3] = (++nRound & 1) != 0 ? "odd" : "even";
    if (nimbo::ini::RunAction(args) != 0) state.SkipWithError("nimbo ini set failed");
  }
  CIniFile after;
  CheckOr(state, after.Load(strCopy.c_str(), false) && after.GetString(args.positional[1].c_str(),
          args.positional[2].c_str(), "") == CString(args.positional[3]), "the change is not in the file");
  SetCounters(state, input);
  unlink(strCopy.c_str());
}

void BM_EditOneKeyStore(benchmark::State& state) {
  const CIniInput& input = IniInput(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const std::string strCopy = EditCopy(input, "edit_store.ini");
  CIniFile reference;
  reference.Load(strCopy.c_str(), false);
  const CIniFile::CItem& section = reference.GetAt(reference.GetCount() / 2);
  const CString strSection = section.first;
  const CString strKey = section.second.GetAt(0).first;
  int nRound = 0;
  for (auto _ : state) {
    CIniFile ini;
    ini.Load(strCopy.c_str(), false);
    ini.SetString(strSection, strKey, (++nRound & 1) != 0 ? "odd" : "even");
    if (!ini.SaveAs(strCopy.c_str())) state.SkipWithError("SaveAs failed");
  }
  SetCounters(state, input);
  unlink(strCopy.c_str());
}

BENCHMARK(BM_EditOneKeyTool)->Apply(LoadArgs)->Args({10, 10})->Iterations(IterationsFor(10));
BENCHMARK(BM_EditOneKeyStore)->Apply(LoadArgs)->Args({10, 10})->Iterations(IterationsFor(10));

}  // namespace
