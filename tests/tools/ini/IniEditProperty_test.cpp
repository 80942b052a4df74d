// Seeded random INI texts read and changed by `nimbo ini`'s actions. After
// each change the file, read by the store, is the document the store's own
// operation makes of what it read before, and every line outside the
// sections concerned keeps its bytes; what a reading action answers from is
// the store's document cut to the names meant. NIMBO_INI_PROPERTY_RUNS sets
// the number of texts (each changed six times in a row);
// NIMBO_INI_PROPERTY_SEED replays the one a failure names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
using nimbo::ini::SplitBlanks;

// Letter case, blanks and tabs at the ends and inside, Latin-1 bytes, "=" in
// a value, a key that looks like a header.
const char* const kSections[] = {"a", "A", "b", "Mail", "Fonts", " sp ", "\xE9t\xE9", "x y", "t\tb"};
const char* const kKeys[] = {"k", "K", "x", "Width", "\xE9", " lead", "tr ", "t\tab", " [x]", "k "};
const char* const kValues[] = {"1", " 1", "v", "a=b", "\xE9", "", "x y", "\tq", "a\rb", "Yes "};
const char* const kNewValues[] = {"2", "new", "", " sp", "c=d", "\xFC"};
const char* const kBlanks[] = {"", "", " ", "\t", "  "};

struct CRandom {
  std::mt19937 rng;
  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); }
  bool OneIn(size_t n) { return Below(n) == 0; }
  template <size_t N>
  std::string Pick(const char* const (&choices)[N]) {
    return choices[Below(N)];
  }
  std::string FlipCase(std::string str) {
    for (char& c : str)
      if (std::isalpha(static_cast<unsigned char>(c)) && c < 0x7F && OneIn(2)) c ^= 0x20;
    return str;
  }
  // A name that no name of names reads as (blanks at the ends aside).
  std::string Fresh(const std::vector<std::string>& names) {
    for (;;) {
      const std::string str = "n" + std::to_string(Below(1000)) + (OneIn(3) ? " \xE4" : "");
      bool bTaken = false;
      for (const std::string& strName : names) bTaken = bTaken || SameName(SplitBlanks(strName).strCore, str);
      if (!bTaken) return str;
    }
  }
};

// An INI text the store reads to its end: LF, CR LF or mixed; sections
// after sections, empty, repeated; both comment forms ("#" is an entry to
// the store); no final line end; bytes after a Ctrl-Z.
std::string MakeText(CRandom& random) {
  const size_t nEnds = random.Below(3);
  auto fnEnd = [&] { return std::string(nEnds == 0 || (nEnds == 2 && random.OneIn(2)) ? "\n" : "\r\n"); };
  std::string str;
  for (size_t i = random.Below(3); i > 0; --i) str += (random.OneIn(2) ? "; first\t" : "") + fnEnd();
  for (size_t nSection = random.Below(6); nSection > 0; --nSection) {
    if (random.OneIn(12)) {  // "[]" names no section: no entry may follow it
      str += "[]" + fnEnd() + (random.OneIn(2) ? ";c" + fnEnd() : "");
      continue;
    }
    str += "[" + random.Pick(kSections) + "]" + fnEnd();
    for (size_t nLine = random.Below(5); nLine > 0; --nLine) {
      const size_t nKind = random.Below(8);
      str += nKind == 0 ? "; comment" : nKind == 1 ? "# hash" : nKind == 2 ? "" : random.Pick(kKeys);
      if (nKind > 3) str += random.Pick(kBlanks) + "=" + random.Pick(kBlanks) + random.Pick(kValues);
      str += fnEnd();
    }
  }
  if (!str.empty() && random.OneIn(5)) str.erase(str.find_last_not_of("\r\n") + 1);
  if (random.OneIn(6)) str += std::string("\x1A[junk\n=\0\xFF", 10);
  return str;
}

std::string Shown(const std::string& str) { return initest::Escape(CString(str.data(), static_cast<int>(str.size()))); }

bool Read(CIniFile& ini, const std::string& strBytes, bool bKeyOnly) {
  CIniMemorySource source(strBytes.data(), strBytes.size());
  CIniReader reader(source, true);
  return ini.Read(reader, bKeyOnly).eStatus == EIniRead::Read;
}

// A random action on the document read from the text, applied to it by the
// store's own operation: the operands after FILE, the status due, the
// sections whose lines may change. bMayRefuse: a set that a last line
// without its line end may stand in the way of.
struct CChange {
  std::vector<std::string> operands;
  int nStatus = 0;
  bool bMayRefuse = false;
  std::vector<std::string> touched;
};

CChange MakeChange(CRandom& random, CIniFile& ini, bool bTail) {
  std::vector<std::string> sections;
  for (const CIniFile::CItem& section : ini) sections.push_back(section.first.Str());
  CChange change;
  const size_t nKind = sections.empty() ? 0 : random.Below(9);
  const std::string strValue = random.Pick(kNewValues);
  const int nSection = sections.empty() ? -1 : static_cast<int>(random.Below(sections.size()));
  const std::string strSection = nSection < 0 ? random.Fresh(sections) : sections[static_cast<size_t>(nSection)];
  std::vector<std::string> keys;
  if (nSection >= 0)
    for (const CIniFileSection::CItem& entry : ini.GetAt(nSection).second) keys.push_back(entry.first.Str());
  const std::string strKey = keys.empty() || nKind == 2 ? random.Fresh(keys) : keys[random.Below(keys.size())];
  const bool bNewKey = keys.empty() || nKind == 2;
  change.touched = {strSection};
  const std::string strGivenSection = random.FlipCase(strSection);
  const std::string strGivenKey = bNewKey ? strKey : random.FlipCase(strKey);
  // A rename: to a spelling of the old name (a line edit changes it, where
  // the store's own Rename would not), to a name there is (or one a person
  // reads as it: refused), or to a new one.
  auto fnRename = [&](const std::vector<std::string>& names, const std::string& strOld, auto fnStore) {
    std::string strGiven = random.OneIn(3) ? random.FlipCase(strOld) : names[random.Below(names.size())];
    if (strGiven.empty() || random.OneIn(2)) strGiven = random.Fresh(names);  // an empty name is refused
    const std::string strNew = CIniFileText::KeepBlanks(strOld, strGiven);
    bool bTaken = false;
    for (const std::string& str : names)
      bTaken = bTaken || (str != strOld && SameName(SplitBlanks(str).strCore, SplitBlanks(strNew).strCore));
    if (strNew != strOld && SameName(strNew, strOld)) {
      fnStore(strOld, "\x01");
      fnStore("\x01", strNew);
    } else if (strNew != strOld) {
      change.nStatus = !bTaken && fnStore(strOld, strNew) ? 0 : 1;
    }
    change.touched.push_back(strNew);
    return strGiven;
  };
  const CString strS(strSection.c_str());
  switch (nSection < 0 || (nKind <= 2 && strSection.empty()) ? 0 : nKind) {
    case 0:  // a new section ("[]" can hold no key)
      change.operands = {"set", random.Fresh(sections), "k", strValue};
      change.touched = {change.operands[1]};
      change.bMayRefuse = bTail;
      ini.SetString(change.operands[1].c_str(), "k", strValue.c_str());
      break;
    case 1:
    case 2:  // a key, new or not; the blanks around an old value are the line's spacing and stay
      change.operands = {"set", strGivenSection, strGivenKey, strValue};
      change.bMayRefuse = bTail;
      ini.SetString(strS, strKey.c_str(),
                    CIniFileText::KeepBlanks(bNewKey ? "" : ini.GetString(strS, strKey.c_str(), "").Str(), strValue)
                        .c_str());
      break;
    case 3:
      change.operands = {"remove-key", strGivenSection, strGivenKey};
      change.nStatus = ini.RemoveKey(strS, strKey.c_str()) ? 0 : 1;
      break;
    case 4:
      change.operands = {"remove-section", strGivenSection};
      ini.RemoveSection(strS);
      break;
    case 5:
      change.operands = {"clear-section", strGivenSection};
      ini.RemoveAllKeys(strS);
      break;
    case 6:
      change.operands = {"rename-section", strGivenSection, ""};
      change.operands[2] = fnRename(sections, strSection, [&](const std::string& a, const std::string& b) {
        return ini.RenameSection(a.c_str(), b.c_str());
      });
      break;
    case 7:
      if (bNewKey) return MakeChange(random, ini, bTail);
      change.operands = {"rename-key", strGivenSection, strGivenKey, ""};
      change.operands[3] = fnRename(keys, strKey, [&](const std::string& a, const std::string& b) {
        return ini.RenameKey(strS, a.c_str(), b.c_str());
      });
      break;
    default:  // names that are not there
      change.operands = {"rename-section", random.Fresh(sections), "z"};
      if (random.OneIn(2)) change.operands = {"remove-key", strGivenSection, random.Fresh(keys)};
      change.nStatus = 1;
  }
  return change;
}

// The lines of a text up to its Ctrl-Z (text and line end), each with the
// name of the header at or above it ("\x02" before the first).
struct CTextLine {
  std::string strText, strEnd, strSection;
};
std::vector<CTextLine> Lines(const std::string& strBytes, std::string& strAfterText) {
  const size_t nTextEnd = std::min(strBytes.find('\x1A'), strBytes.size());
  strAfterText = strBytes.substr(nTextEnd);
  std::vector<CTextLine> lines;
  for (size_t nAt = 0; nAt < nTextEnd;) {
    const size_t nLf = std::min(strBytes.find('\n', nAt), nTextEnd);
    CTextLine line{strBytes.substr(nAt, nLf - nAt), nLf < nTextEnd ? "\n" : "",
                   lines.empty() ? "\x02" : lines.back().strSection};
    if (!line.strEnd.empty() && !line.strText.empty() && line.strText.back() == '\r') {
      line.strText.pop_back();
      line.strEnd = "\r\n";
    }
    if (!line.strText.empty() && line.strText[0] == '[' && line.strText.back() == ']')
      line.strSection = line.strText.substr(1, line.strText.size() - 2);
    lines.push_back(line);
    nAt = nLf + 1;
  }
  return lines;
}

// Whether the lines of a that lie outside the touched sections (and are not
// blank, when bSkipBlank) are, in order, lines of b with the same bytes; a
// last line without its line end may have gained one in b.
bool KeptIn(const std::vector<CTextLine>& a, const std::vector<CTextLine>& b, const std::vector<std::string>& touched,
            bool bSkipBlank) {
  size_t j = 0;
  for (const CTextLine& line : a) {
    bool bTouched = bSkipBlank && line.strText.empty();
    for (const std::string& str : touched) bTouched = bTouched || SameName(str, line.strSection);
    if (bTouched) continue;
    auto fnSame = [&](const CTextLine& other) {
      return other.strText == line.strText &&
             (other.strEnd == line.strEnd || (bSkipBlank ? other.strEnd : line.strEnd).empty());
    };
    while (j < b.size() && !fnSame(b[j])) ++j;
    if (j++ >= b.size()) return false;
  }
  return true;
}

// What the reading actions answer from (the part of the document streamed)
// is the whole document cut to the sections and keys the names may mean.
void CheckPart(CRandom& random, const CIniFile& whole, const std::string& strFile) {
  auto fnSome = [&random](const std::string& str) {
    return random.Pick(kBlanks) + random.FlipCase(str) + random.Pick(kBlanks);
  };
  const int nCount = whole.GetCount();
  const std::string strSection =
      fnSome(nCount > 0 ? whole.GetAt(static_cast<int>(random.Below(static_cast<size_t>(nCount)))).first.Str() : "x");
  const std::string strKey = fnSome(random.Pick(kKeys));
  nimbo::ini::CDocumentPart part;
  part.pSection = random.OneIn(4) ? nullptr : &strSection;
  part.pKey = random.OneIn(3) ? nullptr : &strKey;
  part.bEntries = !random.OneIn(5);
  auto fnMeant = [](const std::string* pWanted, const CString& str) {
    return pWanted == nullptr || SameName(SplitBlanks(str.Str()).strCore, SplitBlanks(*pWanted).strCore);
  };
  CIniFile expected, read;
  for (const CIniFile::CItem& section : whole) {
    if (!fnMeant(part.pSection, section.first)) continue;
    CStringList keys;
    expected.GetKeys(section.first, keys);  // makes the section
    for (const CIniFileSection::CItem& entry : section.second)
      if (part.bEntries && fnMeant(part.pKey, entry.first))
        expected.SetString(section.first, entry.first, entry.second);
  }
  SCOPED_TRACE("part [" + Shown(part.pSection ? strSection : "*") + "] " + Shown(part.pKey ? strKey : "*") +
               (part.bEntries ? "" : " -"));
  EXPECT_TRUE(nimbo::ini::LoadDocumentPart(read, strFile, part));
  EXPECT_EQ(initest::Dump(read), initest::Dump(expected));
}

// One text and six changes in a row; false after the first failure.
bool CheckSeed(unsigned nSeed, const std::string& strFile) {
  CRandom random{std::mt19937(nSeed)};
  const bool bKeyOnly = random.OneIn(4);
  std::string strText;
  CIniFile first;
  do strText = MakeText(random);
  while (!Read(first, strText, bKeyOnly));
  for (int nStep = 0; nStep < 6; ++nStep) {
    CIniFile expected, changed;
    Read(expected, strText, bKeyOnly);
    initest::WriteFile(strFile, strText);
    CheckPart(random, expected, strFile);
    std::string strAfterText;
    const std::vector<CTextLine> before = Lines(strText, strAfterText);
    const bool bTail = !before.empty() && before.back().strEnd.empty() && before.back().strText[0] != ';';
    const CChange change = MakeChange(random, expected, bTail);
    nimbo::ini::CIniArgs args{change.operands[0], change.operands, false, false, bKeyOnly, false, ""};
    args.positional[0] = strFile;
    std::string strArgs;
    for (const std::string& str : change.operands) strArgs += " \"" + Shown(str) + "\"";
    SCOPED_TRACE("NIMBO_INI_PROPERTY_SEED=" + std::to_string(nSeed) + ", change " + std::to_string(nStep) + ":" +
                 strArgs + (bKeyOnly ? " --key-only" : "") + " on \"" + Shown(strText) + "\"");
    const int nStatus = nimbo::ini::RunAction(args);
    const std::string strAfter = initest::ReadFile(strFile);
    if (nStatus != 0 || change.nStatus != 0) {
      EXPECT_EQ(Shown(strAfter), Shown(strText));
    }
    if (!(nStatus == 2 && change.bMayRefuse)) {
      EXPECT_EQ(nStatus, change.nStatus);
      EXPECT_TRUE(Read(changed, strAfter, bKeyOnly)) << Shown(strAfter);
      EXPECT_EQ(initest::Dump(changed), initest::Dump(expected)) << Shown(strAfter);
      std::string strNewAfterText;
      const std::vector<CTextLine> after = Lines(strAfter, strNewAfterText);
      EXPECT_TRUE(strNewAfterText == strAfterText && KeptIn(before, after, change.touched, false) &&
                  KeptIn(after, before, change.touched, true))
          << "a line outside the sections concerned changed: " << Shown(strAfter);
    }
    if (::testing::Test::HasFailure()) return false;
    strText = strAfter;
  }
  return true;
}

unsigned EnvNumber(const char* pszName, unsigned nDefault) {
  const char* psz = std::getenv(pszName);
  return psz != nullptr && *psz != 0 ? static_cast<unsigned>(std::strtoul(psz, nullptr, 10)) : nDefault;
}

TEST(IniEditProperty, EachChangeIsTheStoresOwnAndTouchesOnlyItsLines) {
  // Every change is flushed to the disk: where the system has a file system
  // in memory, the thousands of changes go there.
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
