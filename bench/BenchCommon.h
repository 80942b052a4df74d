// BenchCommon: shared pieces of the benchmark files: the INI layouts, the
// fixed iteration counts and the checked inputs.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "BenchInput.h"

// Fixed iteration counts, so that every row of one run does the same amount
// of work whatever the machine's speed (big inputs take long per iteration).
inline int IterationsFor(int nMegabytes) { return nMegabytes >= 100 ? 3 : nMegabytes >= 10 ? 6 : 30; }

// The INI input of (megabytes, keys per section), generated on first use,
// and what every reader must find in it; 0 keys per section stands for the
// mixed shape (MixedIniFileFor), where readers that trim the blanks around
// "=" find other keys and values than our document, which keeps them.
struct CIniInput {
  std::string strPath;
  CIniSummary expected;         // what our document reads
  CIniSummary expectedTrimmed;  // what SimpleIni, inih and INIReader read
};
const CIniInput& IniInput(int nMegabytes, int nKeysPerSection);

// Stops the benchmark with an error unless bOk.
inline bool CheckOr(benchmark::State& state, bool bOk, const char* pszWhat) {
  if (!bOk) state.SkipWithError(pszWhat);
  return bOk;
}
