// Benchmarks of inputs whose order is the worst for a growing list - one
// section's header or archive record repeated before every entry - against
// the same entries under one header or in one record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "CArchive.h"
#include "CMemFile.h"
#include "ini/CIniFile.h"

namespace {

const int kRepeatedEntries = 40000;

std::string KeyOf(int i) {
  char szKey[16];
  std::snprintf(szKey, sizeof szKey, "k%07d", i);
  return szKey;
}

// The text of nEntries entries of section a, with the header before every
// entry or only before the first.
const std::string& TextFile(int nEntries, bool bRepeatHeader) {
  static std::string s_astrPath[2];
  std::string& strPath = s_astrPath[bRepeatHeader ? 1 : 0];
  if (!strPath.empty()) return strPath;
  strPath = BenchDataDir() + (bRepeatHeader ? "/repeated_headers.ini" : "/one_header.ini");
  std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
  for (int i = 0; i < nEntries; ++i) {
    if (bRepeatHeader || i == 0) out << "[a]\r\n";
    out << KeyOf(i) << "=v\r\n";
  }
  return strPath;
}

// A document's archive record holding nEntries entries of section a, as
// nEntries records of one entry each or as one record.
std::vector<BYTE> ArchiveBytes(int nEntries, bool bRepeatRecord) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    const int nRecords = bRepeatRecord ? nEntries : 1;
    ar << DWORD(1);
    ar.WriteCount(static_cast<DWORD_PTR>(nRecords));
    for (int nRecord = 0; nRecord < nRecords; ++nRecord) {
      ar << CString("a");
      CIniFileSection record;
      for (int i = nRecord; i < (bRepeatRecord ? nRecord + 1 : nEntries); ++i) record[KeyOf(i)] = "v";
      record.Serialize(ar);
    }
    ar.Close();
  }
  return file.GetBytes();
}

bool HoldsAllEntries(CIniFile& ini, int nEntries) {
  CStringArray keys;
  ini.GetKeys("a", keys);
  return ini.GetCount() == 1 && keys.GetSize() == nEntries;
}

void BM_LoadTextHeaders(benchmark::State& state) {
  const int nEntries = static_cast<int>(state.range(0));
  const bool bRepeat = state.range(1) != 0;
  const std::string& strPath = TextFile(nEntries, bRepeat);
  {
    CIniFile ini;
    if (!CheckOr(state, ini.Load(strPath.c_str(), false) && HoldsAllEntries(ini, nEntries), "other data read"))
      return;
  }
  for (auto _ : state) {
    CIniFile ini;
    benchmark::DoNotOptimize(ini.Load(strPath.c_str(), false));
  }
}

void BM_LoadArchiveRecords(benchmark::State& state) {
  const int nEntries = static_cast<int>(state.range(0));
  std::vector<BYTE> bytes = ArchiveBytes(nEntries, state.range(1) != 0);
  auto Load = [&bytes](CIniFile& ini) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    ini.Serialize(ar);
  };
  {
    CIniFile ini;
    Load(ini);
    if (!CheckOr(state, HoldsAllEntries(ini, nEntries), "other data read")) return;
  }
  for (auto _ : state) {
    CIniFile ini;
    Load(ini);
    benchmark::DoNotOptimize(ini.GetCount());
  }
}

// (entries, 1 when the header or record repeats before every entry)
BENCHMARK(BM_LoadTextHeaders)->ArgNames({"entries", "repeat"})->Args({kRepeatedEntries, 0})->Args({kRepeatedEntries, 1})->Iterations(5);
BENCHMARK(BM_LoadArchiveRecords)->ArgNames({"entries", "repeat"})->Args({kRepeatedEntries, 0})->Args({kRepeatedEntries, 1})->Iterations(5);

}  // namespace
