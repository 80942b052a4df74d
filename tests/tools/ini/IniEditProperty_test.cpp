// Seeded random INI texts read and changed by `nimbo ini`'s actions. After
// each change the file, read by the store, is the document the store's own
// operation makes of what it read before, and every line outside the
// sections concerned keeps its bytes; what a reading action answers from is
// the store's document, cut to the names meant. NIMBO_INI_PROPERTY_RUNS sets the number
// of texts (each changed several times in a row); NIMBO_INI_PROPERTY_SEED
// replays the one a failure names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ini/CIniFile.h"
#include "ini/IniTestUtil.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/ini/IniFileText.h"

namespace {

using nimbo::ini::CIniFileText;
using nimbo::ini::SameName;

// Names and values drawn on: letter case, blanks and tabs at the ends and
// inside, Latin-1 bytes, "=" in a value, a key that looks like a header.
const char* const kSections[] = {"a", "A", "b", "Mail", "Fonts", " sp ", "\xE9t\xE9", "x y", "t\tb"};
const char* const kKeys[] = {"k", "K", "x", "Width", "\xE9", " lead", "tr ", "t\tab", " [x]", "k "};
const char* const kValues[] = {"1", " 1", "v", "a=b", "\xE9", "", "x y", "\tq", "a\rb", "Yes "};
const char* const kNewValues[] = {"2", "new", "", " sp", "c=d", "\xFC"};

class CRandom {
 public:
  explicit CRandom(unsigned nSeed) : m_rng(nSeed) {}
  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_rng); }
  bool OneIn(size_t n) { return Below(n) == 0; }
  template <size_t N>
  std::string Pick(const char* const (&choices)[N]) {
    return choices[Below(N)];
  }
  // The name with some of its ASCII letters in the other case.
  std::string FlipCase(std::string str) {
    for (char& c : str)
      if (std::isalpha(static_cast<unsigned char>(c)) && c < 0x7F && OneIn(2)) c ^= 0x20;
    return str;
  }

 private:
  std::mt19937 m_rng;
};

// An INI text the store reads to its end.
std::string MakeText(CRandom& random) {
  const size_t nEnds = random.Below(3);  // LF, CR LF, or mixed
  auto fnEnd = [&] { return nEnds == 0 || (nEnds == 2 && random.OneIn(2)) ? "\n" : "\r\n"; };
  std::string str;
  for (size_t i = random.Below(3); i > 0; --i) str += (random.OneIn(2) ? "; before\t the first" : "") + std::string(fnEnd());
  for (size_t nSection = random.Below(6); nSection > 0; --nSection) {
    if (random.OneIn(12)) {
      // "[]" names no section: only comments and blanks may follow it.
      str += "[]" + std::string(fnEnd()) + (random.OneIn(2) ? ";c" + std::string(fnEnd()) : "");
      continue;
    }
    str += "[" + random.Pick(kSections) + "]" + fnEnd();
    for (size_t nLine = random.Below(5); nLine > 0; --nLine) {
      switch (random.Below(8)) {
        case 0: str += "; semicolon comment"; break;
        case 1: str += "# hash comment"; break;  // an entry to the store
        case 2: break;                           // a blank line
        case 3: str += random.Pick(kKeys); break;  // a key alone
        default: {
          const char* const kBlanks[] = {"", "", " ", "\t", "  "};
          str += random.Pick(kKeys) + random.Pick(kBlanks) + "=" + random.Pick(kBlanks) + random.Pick(kValues);
        }
      }
      str += fnEnd();
    }
  }
  if (!str.empty() && random.OneIn(5)) str.erase(str.find_last_not_of("\r\n") + 1);  // no final line end
  if (random.OneIn(6)) str += std::string("\x1A[junk\n=\0\xFF", 10);  // not read by the store
  return str;
}

// Bytes as a failure shows them, on one line.
std::string Shown(const std::string& str) { return initest::Escape(CString(str.data(), static_cast<int>(str.size()))); }

// The document the store reads from bytes; false when it does not read them
// to their end.
bool Read(CIniFile& ini, const std::string& strBytes, bool bKeyOnly) {
  CIniMemorySource source(strBytes.data(), strBytes.size());
  CIniReader reader(source, true);
  return ini.Read(reader, bKeyOnly).eStatus == EIniRead::Read;
}

// The document again, with the name of one section or key spelled anew
// (the store's own Rename keeps the spelling of a name that differs only in
// letter case; a line edit does not).
void Respell(CIniFile& ini, int nSection, int nEntry, const std::string& strNew) {
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
  for (const CIniFile::CItem& section : ini) {
    sections.emplace_back(section.first.Str(), std::vector<std::pair<std::string, std::string>>());
    for (const CIniFileSection::CItem& entry : section.second)
      sections.back().second.emplace_back(entry.first.Str(), entry.second.Str());
  }
  if (nEntry < 0) sections[static_cast<size_t>(nSection)].first = strNew;
  else sections[static_cast<size_t>(nSection)].second[static_cast<size_t>(nEntry)].first = strNew;
  ini.RemoveAll();
  for (const auto& section : sections) {
    CStringList keys;
    ini.GetKeys(section.first.c_str(), keys);  // makes the section, empty ones too
    for (const auto& entry : section.second)
      ini.SetString(section.first.c_str(), entry.first.c_str(), entry.second.c_str());
  }
}

// A random change of the document read from the text: the action's
// operands after FILE, the status it must end with, and the document the
// store's operation leaves. bMayRefuse: a set that a last line without its
// line end may stand in the way of.
struct CChange {
  std::vector<std::string> operands;
  int nStatus = 0;
  bool bMayRefuse = false;
  std::vector<std::string> touched;  // the sections whose lines may change
};

std::string FreshName(CRandom& random, const std::function<bool(const std::string&)>& fnTaken) {
  for (;;) {
    const std::string str = "n" + std::to_string(random.Below(1000)) + (random.OneIn(3) ? " \xE4" : "");
    if (!fnTaken(str)) return str;
  }
}

CChange MakeChange(CRandom& random, CIniFile& expected, bool bTailInTheWay) {
  CChange change;
  const int nSections = expected.GetCount();
  // A name is taken when the store or a person would read it as one there is.
  auto fnSectionTaken = [&expected](const std::string& str, int nExcept = -1) {
    for (int i = 0; i < expected.GetCount(); ++i)
      if (i != nExcept && SameName(nimbo::ini::SplitBlanks(expected.GetAt(i).first.Str()).strCore, str)) return true;
    return false;
  };
  const size_t nKind = nSections == 0 ? 0 : random.Below(9);
  const std::string strValue = random.Pick(kNewValues);
  if (nKind == 0) {  // a new section
    const std::string strSection = FreshName(random, fnSectionTaken);
    change.operands = {"set", strSection, "k", strValue};
    change.touched = {strSection};
    change.bMayRefuse = bTailInTheWay;
    expected.SetString(strSection.c_str(), "k", strValue.c_str());
    return change;
  }
  const int nSection = static_cast<int>(random.Below(static_cast<size_t>(nSections)));
  const std::string strStored = expected.GetAt(nSection).first.Str();
  const std::string strSection = random.FlipCase(strStored);
  change.touched = {strStored};
  CIniFileSection& section = expected.GetAt(nSection).second;
  auto fnKeyTaken = [&section](const std::string& str, int nExcept = -1) {
    for (int i = 0; i < section.GetCount(); ++i)
      if (i != nExcept && SameName(nimbo::ini::SplitBlanks(section.GetAt(i).first.Str()).strCore, str)) return true;
    return false;
  };
  const int nEntry = section.GetCount() > 0 ? static_cast<int>(random.Below(static_cast<size_t>(section.GetCount()))) : -1;
  const std::string strKey = nEntry >= 0 ? section.GetAt(nEntry).first.Str() : FreshName(random, fnKeyTaken);
  const std::string strKeyGiven = random.FlipCase(strKey);
  switch (nKind) {
    case 1:
    case 2: {  // set a key, new or not ("[]" can hold none)
      if (strStored.empty()) return MakeChange(random, expected, bTailInTheWay);
      const bool bNew = nEntry < 0 || nKind == 2;
      const std::string strNewKey = bNew ? FreshName(random, fnKeyTaken) : strKey;
      change.operands = {"set", strSection, bNew ? strNewKey : strKeyGiven, strValue};
      change.bMayRefuse = bTailInTheWay;
      const std::string strStoredValue = bNew ? "" : section.GetAt(nEntry).second.Str();
      // The blanks around the old value stay: they are the line's spacing.
      expected.SetString(strStored.c_str(), strNewKey.c_str(), CIniFileText::KeepBlanks(strStoredValue, strValue).c_str());
      return change;
    }
    case 3:
      change.operands = {"remove-key", strSection, strKeyGiven};
      change.nStatus = expected.RemoveKey(strStored.c_str(), strKey.c_str()) ? 0 : 1;
      return change;
    case 4:
      change.operands = {"remove-section", strSection};
      expected.RemoveSection(strStored.c_str());
      return change;
    case 5:
      change.operands = {"clear-section", strSection};
      expected.RemoveAllKeys(strStored.c_str());
      return change;
    case 6: {
      const std::string strGiven = random.OneIn(3)   ? random.FlipCase(strStored)
                                   : random.OneIn(2) ? random.FlipCase(expected.GetAt(static_cast<int>(random.Below(static_cast<size_t>(nSections)))).first.Str())
                                                     : FreshName(random, fnSectionTaken);
      if (strGiven.empty()) return MakeChange(random, expected, bTailInTheWay);
      change.operands = {"rename-section", strSection, strGiven};
      const std::string strNew = CIniFileText::KeepBlanks(strStored, strGiven);
      change.touched.push_back(strNew);
      if (strNew == strStored) return change;
      // A name that a person reads as another's is taken, blanks at the ends aside.
      if (SameName(strNew, strStored)) Respell(expected, nSection, -1, strNew);
      else if (fnSectionTaken(nimbo::ini::SplitBlanks(strNew).strCore, nSection)) change.nStatus = 1;
      else change.nStatus = expected.RenameSection(strStored.c_str(), strNew.c_str()) ? 0 : 1;
      return change;
    }
    case 7: {
      if (nEntry < 0) return MakeChange(random, expected, bTailInTheWay);
      const std::string strGiven = random.OneIn(3)   ? random.FlipCase(strKey)
                                   : random.OneIn(2) ? section.GetAt(static_cast<int>(random.Below(static_cast<size_t>(section.GetCount())))).first.Str()
                                                     : FreshName(random, fnKeyTaken);
      change.operands = {"rename-key", strSection, strKeyGiven, strGiven};
      const std::string strNew = CIniFileText::KeepBlanks(strKey, strGiven);
      if (strNew == strKey) return change;
      if (SameName(strNew, strKey)) Respell(expected, nSection, nEntry, strNew);
      else if (fnKeyTaken(nimbo::ini::SplitBlanks(strNew).strCore, nEntry)) change.nStatus = 1;
      else change.nStatus = expected.RenameKey(strStored.c_str(), strKey.c_str(), strNew.c_str()) ? 0 : 1;
      return change;
    }
    default: {  // names that are not there
      const std::string strMissing = FreshName(random, fnSectionTaken);
      change.operands = random.OneIn(2) ? std::vector<std::string>{"remove-key", strSection, FreshName(random, fnKeyTaken)}
                                        : std::vector<std::string>{"rename-section", strMissing, "z"};
      change.nStatus = 1;
      return change;
    }
  }
}

// The lines of a text up to its Ctrl-Z, each with the section it lies in.
struct CTextLine {
  std::string strText;
  std::string strEnd;
  bool bInSection = false;
  std::string strSection;  // the name of the header at or above it
};
std::vector<CTextLine> Lines(const std::string& strBytes, std::string& strAfterText) {
  const size_t nTextEnd = std::min(strBytes.find('\x1A'), strBytes.size());
  strAfterText = strBytes.substr(nTextEnd);
  std::vector<CTextLine> lines;
  for (size_t nAt = 0; nAt < nTextEnd;) {
    const size_t nLf = std::min(strBytes.find('\n', nAt), nTextEnd);
    CTextLine line;
    line.strText = strBytes.substr(nAt, nLf - nAt);
    line.strEnd = nLf < nTextEnd ? "\n" : "";
    if (!line.strEnd.empty() && !line.strText.empty() && line.strText.back() == '\r') {
      line.strText.pop_back();
      line.strEnd = "\r\n";
    }
    if (!line.strText.empty() && line.strText[0] == '[' && line.strText.back() == ']') {
      line.bInSection = true;
      line.strSection = line.strText.substr(1, line.strText.size() - 2);
    } else if (!lines.empty()) {
      line.bInSection = lines.back().bInSection;
      line.strSection = lines.back().strSection;
    }
    lines.push_back(line);
    nAt = nLf + 1;
  }
  return lines;
}

// Every line of the old text outside the touched sections is in the new
// one, in the same order and with the same bytes (a last line without its
// line end may gain one), and every line the new text adds there is blank:
// a common subsequence that keeps all of them, found by weighing them above
// all others.
bool KeepsOtherLines(const std::string& strOld, const std::string& strNew, const std::vector<std::string>& touched) {
  std::string strOldAfter, strNewAfter;
  const std::vector<CTextLine> oldLines = Lines(strOld, strOldAfter);
  const std::vector<CTextLine> newLines = Lines(strNew, strNewAfter);
  if (strOldAfter != strNewAfter) return false;
  auto fnTouched = [&touched](const CTextLine& line) {
    return line.bInSection &&
           std::any_of(touched.begin(), touched.end(), [&line](const std::string& str) { return SameName(str, line.strSection); });
  };
  const size_t n = oldLines.size(), m = newLines.size();
  const long long nMust = static_cast<long long>(n + m + 1);
  std::vector<bool> oldMust(n), newMust(m);
  long long nRequired = 0;
  for (size_t i = 0; i < n; ++i) nRequired += oldMust[i] = !fnTouched(oldLines[i]);
  for (size_t j = 0; j < m; ++j) nRequired += newMust[j] = !fnTouched(newLines[j]) && !newLines[j].strText.empty();
  std::vector<std::vector<long long>> best(n + 1, std::vector<long long>(m + 1, 0));
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      best[i][j] = std::max(best[i + 1][j], best[i][j + 1]);
      const CTextLine& a = oldLines[i];
      const CTextLine& b = newLines[j];
      if (a.strText == b.strText && (a.strEnd == b.strEnd || a.strEnd.empty()))
        best[i][j] = std::max(best[i][j], best[i + 1][j + 1] + 1 + nMust * (oldMust[i] + newMust[j]));
    }
  }
  return best[0][0] / nMust == nRequired;
}

bool TailInTheWay(const std::string& strBytes) {
  std::string strAfter;
  const std::vector<CTextLine> lines = Lines(strBytes, strAfter);
  return !lines.empty() && lines.back().strEnd.empty() && lines.back().strText.compare(0, 1, ";") != 0;
}

// What the reading actions answer from (a part of the document, streamed)
// is the whole document's, cut to the sections and keys a name may mean:
// the same names, spellings, order and last values.
void CheckPart(CRandom& random, const CIniFile& whole, const std::string& strFile) {
  auto fnSome = [&random](const std::string& strStored) {
    const char* const kPads[] = {"", "", " ", "\t "};
    return random.Pick(kPads) + random.FlipCase(strStored) + random.Pick(kPads);
  };
  const std::string strSection = whole.GetCount() > 0 && !random.OneIn(5)
                                     ? fnSome(whole.GetAt(static_cast<int>(random.Below(static_cast<size_t>(whole.GetCount())))).first.Str())
                                     : "none";
  const std::string strKey = fnSome(random.Pick(kKeys));
  nimbo::ini::CDocumentPart part;
  part.pSection = random.OneIn(4) ? nullptr : &strSection;
  part.pKey = random.OneIn(3) ? nullptr : &strKey;
  part.bEntries = !random.OneIn(5);
  auto fnMeant = [](const std::string* pWanted, const CString& strName) {
    return pWanted == nullptr ||
           SameName(nimbo::ini::SplitBlanks(strName.Str()).strCore, nimbo::ini::SplitBlanks(*pWanted).strCore);
  };
  CIniFile expected;
  for (const CIniFile::CItem& section : whole) {
    if (!fnMeant(part.pSection, section.first)) continue;
    CStringList keys;
    expected.GetKeys(section.first, keys);
    for (const CIniFileSection::CItem& entry : section.second)
      if (part.bEntries && fnMeant(part.pKey, entry.first)) expected.SetString(section.first, entry.first, entry.second);
  }
  CIniFile read;
  SCOPED_TRACE("part: [" + Shown(part.pSection != nullptr ? strSection : "*") + "] " +
               Shown(part.pKey != nullptr ? strKey : "*") + (part.bEntries ? "" : " (no entries)"));
  EXPECT_TRUE(nimbo::ini::LoadDocumentPart(read, strFile, part));
  EXPECT_EQ(initest::Dump(read), initest::Dump(expected));
}

unsigned EnvNumber(const char* pszName, unsigned nDefault) {
  const char* psz = std::getenv(pszName);
  return psz != nullptr && *psz != 0 ? static_cast<unsigned>(std::strtoul(psz, nullptr, 10)) : nDefault;
}

// One text and a row of changes to it; false after the first failure.
bool CheckSeed(unsigned nSeed, const std::string& strFile) {
  CRandom random(nSeed);
  std::string strText;
  CIniFile first;
  const bool bKeyOnly = random.OneIn(4);
  do strText = MakeText(random);
  while (!Read(first, strText, bKeyOnly));
  for (int nStep = 0; nStep < 6; ++nStep) {
    CIniFile expected;
    Read(expected, strText, bKeyOnly);
    initest::WriteFile(strFile, strText);
    CheckPart(random, expected, strFile);
    const CChange change = MakeChange(random, expected, TailInTheWay(strText));
    nimbo::ini::CIniArgs args;
    args.strAction = change.operands[0];
    args.positional = change.operands;
    args.positional[0] = strFile;
    args.bKeyOnly = bKeyOnly;
    std::string strArgs;
    for (const std::string& str : change.operands) strArgs += " \"" + Shown(str) + "\"";
    SCOPED_TRACE("NIMBO_INI_PROPERTY_SEED=" + std::to_string(nSeed) + ", change " + std::to_string(nStep) + ":" +
                 strArgs + (bKeyOnly ? " --key-only" : "") + " on \"" + Shown(strText) + "\"");
    const int nStatus = nimbo::ini::RunAction(args);
    const std::string strAfter = initest::ReadFile(strFile);
    if (nStatus == 2 && change.bMayRefuse) {
      EXPECT_EQ(Shown(strAfter), Shown(strText));
      continue;
    }
    EXPECT_EQ(nStatus, change.nStatus);
    CIniFile changed;
    EXPECT_TRUE(Read(changed, strAfter, bKeyOnly)) << Shown(strAfter);
    EXPECT_EQ(initest::Dump(changed), initest::Dump(expected)) << Shown(strAfter);
    if (nStatus != 0) {
      EXPECT_EQ(Shown(strAfter), Shown(strText));
    }
    EXPECT_TRUE(KeepsOtherLines(strText, strAfter, change.touched)) << Shown(strAfter);
    if (::testing::Test::HasFailure()) return false;
    strText = strAfter;
  }
  return true;
}

TEST(IniEditProperty, EachChangeIsTheStoresOwnAndTouchesOnlyItsLines) {
  // Every change is flushed to the disk: where the system has a file system
  // in memory, the thousand changes go there.
  initest::CScratchDir dir;
  char szMemory[] = "/dev/shm/nimbo_ini_XXXXXX";
  const bool bMemory = ::mkdtemp(szMemory) != nullptr;
  const std::string strFile = bMemory ? std::string(szMemory) + "/p.ini" : dir / "p.ini";
  const unsigned nReplay = EnvNumber("NIMBO_INI_PROPERTY_SEED", 0);
  const unsigned nRuns = nReplay != 0 ? 1 : EnvNumber("NIMBO_INI_PROPERTY_RUNS", 500);
  const unsigned nFirst = nReplay != 0 ? nReplay : std::random_device()() | 1;
  for (unsigned i = 0; i < nRuns; ++i)
    if (!CheckSeed(nFirst + 2 * i, strFile)) break;
  if (bMemory) std::filesystem::remove_all(szMemory);
}

}  // namespace
