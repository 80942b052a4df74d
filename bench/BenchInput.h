// BenchInput: the generated inputs of the benchmarks (INI text, a script
// project, a function-wizard file), made from a fixed seed and kept on disk
// between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The directory holding the generated files: $NIMBO_BENCH_DATA, or
// /tmp/nimbo-bench-data. Created on first use.
const std::string& BenchDataDir();

// What a complete reading of a generated INI file must yield: the number of
// sections and entries, and an order-independent checksum over every
// (section, key, value) triple (see EntryChecksum).
struct CIniSummary {
  size_t nSections = 0;
  size_t nEntries = 0;
  uint64_t nChecksum = 0;
  bool operator==(const CIniSummary& other) const {
    return nSections == other.nSections && nEntries == other.nEntries && nChecksum == other.nChecksum;
  }
};

// The checksum term of one entry: FNV-1a over section, key and value with
// separators; a document's checksum is the sum of its entries' terms.
uint64_t EntryChecksum(const char* pszSection, const char* pszKey, const char* pszValue);

// An INI text of about nMegabytes MB: ASCII, CR LF line ends, lines of about
// 100 bytes, lower-case names (so that every peer sees the same names),
// "key=value" with no blanks around "=", a comment line now and then, an
// empty line after each section, nKeysPerSection entries per section.
// Returns its path; pSummary (optional) receives what it holds.
std::string IniFileFor(int nMegabytes, int nKeysPerSection, CIniSummary* pSummary = nullptr);

// An INI text of about nMegabytes MB in another shape: mixed-case names,
// sections of 5 to 60 entries, blanks on either side of "=" or none, values
// of 5 to 90 characters holding blanks and "=" signs, a comment line now and
// then. pKept receives what a reader that keeps every byte finds (keys with
// their trailing blanks, values with their leading ones); pTrimmed what a
// reader that trims the blanks around "=" finds.
std::string MixedIniFileFor(int nMegabytes, CIniSummary* pKept = nullptr, CIniSummary* pTrimmed = nullptr);

// An INI text of about nMegabytes MB that git config reads too: the shape of
// IniFileFor with 10 keys a section, but keys of letters, digits and "-"
// only, and LF line ends. pProbe (optional) receives the last section, its
// last key and that key's value, which a reader finds only at the end.
struct CIniProbe {
  std::string strSection, strKey, strValue;
};
std::string GitStyleIniFileFor(int nMegabytes, CIniProbe* pProbe = nullptr);

// A project directory of nFiles scripts of nLinesPerFile lines each, every
// script defining nFunctionsPerFile functions with bodies. Returns its path;
// pnFunctions receives the number of definitions (names are unique).
std::string ScriptProjectFor(int nFiles, int nLinesPerFile, int nFunctionsPerFile, size_t* pnFunctions = nullptr);

// A "Programs" directory whose funcwiz.ini lists nFunctions functions, each
// with its own section holding "SampleLine" and two other keys.
std::string FuncWizDirFor(int nFunctions);

// A small deterministic generator (xorshift64*), so that inputs do not depend
// on the standard library's distributions.
class CBenchRandom {
 public:
  explicit CBenchRandom(uint64_t nSeed) : m_nState(nSeed ? nSeed : 1) {}
  uint64_t Next() {
    m_nState ^= m_nState >> 12;
    m_nState ^= m_nState << 25;
    m_nState ^= m_nState >> 27;
    return m_nState * 0x2545F4914F6CDD1DULL;
  }
  // A value in [0, nBound).
  unsigned Below(unsigned nBound) { return static_cast<unsigned>(Next() % nBound); }

 private:
  uint64_t m_nState;
};
