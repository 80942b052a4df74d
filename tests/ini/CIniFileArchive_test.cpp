// Tests of the archive form: exact bytes of the document and section
// records, merging on load, and what happens with records that do not fit.
#include "ini/CIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CArchive.h"
#include "CArchiveException.h"
#include "CMemFile.h"
#include "ExceptionCause.h"
#include "IniTestUtil.h"
#include "module/NimboInit.h"

namespace {

using initest::Dump;
typedef std::vector<BYTE> Bytes;

Bytes Store(CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
  }
  return file.GetBytes();
}

// Loads bytes into object; returns the archive exception's cause, or -1
// when none was raised.
int Load(CObject& object, Bytes bytes) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&file, CArchive::load);
  return nimbotest::CauseOf<CArchiveException>([&] { object.Serialize(ar); });
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Text(const std::string& str) { return Bytes(str.begin(), str.end()); }

TEST(IniArchive, OneEntryDocumentBytes) {
  CIniFile ini;
  ini.SetString("A", "k", "v");
  EXPECT_EQ(Store(ini), (Bytes{1, 0, 0, 0, 1, 0, 1, 0x41, 1, 0, 0, 0, 1, 0, 1, 0x6B, 1, 0x76}));
}

TEST(IniArchive, EmptyDocumentAndEmptySection) {
  CIniFile ini;
  EXPECT_EQ(Store(ini), (Bytes{1, 0, 0, 0, 0, 0}));
  ini.SetString("Keep", "k", "v");
  EXPECT_EQ(Load(ini, {1, 0, 0, 0, 0, 0}), -1);
  EXPECT_EQ(Dump(ini), "[\"Keep\"]\n  \"k\" = \"v\"\n");

  CIniFile bare;
  CStringList keys;
  bare.GetKeys("S", keys);
  EXPECT_EQ(Store(bare), (Bytes{1, 0, 0, 0, 1, 0, 1, 'S', 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Load(ini, Store(bare)), -1);
  EXPECT_EQ(Dump(ini), "[\"Keep\"]\n  \"k\" = \"v\"\n[\"S\"]\n");
  EXPECT_EQ(Load(ini, Store(bare)), -1);  // an existing section stays as it is
  EXPECT_EQ(ini.GetCount(), 2);
  CIniFile bareKeep;
  bareKeep.GetKeys("KEEP", keys);
  EXPECT_EQ(Load(ini, Store(bareKeep)), -1);  // its entries and spelling too
  EXPECT_EQ(Dump(ini), "[\"Keep\"]\n  \"k\" = \"v\"\n[\"S\"]\n");
}

TEST(IniArchive, SectionRecordBytes) {
  CIniFileSection section;
  section["Key"] = "";
  section[""] = "val";
  EXPECT_EQ(Store(section), (Bytes{1, 0, 0, 0, 2, 0, 3, 'K', 'e', 'y', 0, 0, 3, 'v', 'a', 'l'}));
}

TEST(IniArchive, CountEncodings) {
  CIniFile ini;
  for (int i = 0; i < 0xFFFE; ++i) ini[CString(std::to_string(i))];
  Bytes bytes = Store(ini);
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 7), (Bytes{0xFE, 0xFF, 1}));
  ini["last"];
  bytes = Store(ini);
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 11), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1}));
  CIniFile back;
  ASSERT_EQ(Load(back, bytes), -1);
  EXPECT_EQ(back.GetCount(), 0xFFFF);
  EXPECT_STREQ(back.GetAt(0xFFFE).first, "last");
}

TEST(IniArchive, StringLengthPrefixes) {
  for (const auto& c : {std::make_pair(255, Bytes{0xFF, 0xFF, 0}), std::make_pair(254, Bytes{0xFE}),
                        std::make_pair(0xFFFD, Bytes{0xFF, 0xFD, 0xFF}),
                        std::make_pair(0xFFFE, Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})}) {
    CIniFileSection section;
    section["k"] = CString('x', c.first);
    const Bytes bytes = Store(section);
    const size_t nPrefix = 4 + 2 + 2;  // version, count, key "k"
    ASSERT_EQ(bytes.size(), nPrefix + c.second.size() + static_cast<size_t>(c.first));
    EXPECT_EQ(Bytes(bytes.begin() + nPrefix, bytes.begin() + nPrefix + c.second.size()), c.second) << c.first;
    CIniFileSection back;
    ASSERT_EQ(Load(back, bytes), -1);
    EXPECT_EQ(back["k"].GetLength(), c.first);
  }
}

TEST(IniArchive, LoadingMergesIntoExistingContent) {
  CIniFile source;
  source.SetString("Colors", "Back", "red");
  CIniFile target;
  target.SetString("COLORS", "back", "blue");
  target.SetString("COLORS", "Fore", "white");
  target.SetFilePath("/path.ini");
  target.SetModified(false);
  ASSERT_EQ(Load(target, Store(source)), -1);
  EXPECT_EQ(Dump(target), "[\"COLORS\"]\n  \"back\" = \"red\"\n  \"Fore\" = \"white\"\n");
  EXPECT_FALSE(target.IsModified());
  EXPECT_STREQ(target.GetFilePath(), "/path.ini");
}

TEST(IniArchive, ZeroBytesCutValuesButNotNames) {
  const Bytes bytes = Cat({{1, 0, 0, 0, 1, 0, 3}, Text(std::string("s\0x", 3)), {1, 0, 0, 0, 1, 0, 3},
                           Text(std::string("k\0y", 3)), {3}, Text(std::string("v\0z", 3))});
  CIniFile ini;
  ASSERT_EQ(Load(ini, bytes), -1);
  ASSERT_EQ(ini.GetCount(), 1);
  EXPECT_EQ(ini.GetAt(0).first.GetLength(), 3);
  const CIniFileSection::CItem& entry = ini.GetAt(0).second.GetAt(0);
  EXPECT_EQ(entry.first.GetLength(), 3);
  EXPECT_EQ(entry.second.GetLength(), 1);
  EXPECT_STREQ(entry.second, "v");
}

TEST(IniArchive, DocumentOfAnotherVersionLoadsNothing) {
  CIniFile ini;
  ini.SetString("A", "b", "c");
  EXPECT_EQ(Load(ini, {2, 0, 0, 0, 1, 0, 1, 'X', 1, 0, 0, 0, 0, 0}), -1);
  EXPECT_EQ(Dump(ini), "[\"A\"]\n  \"b\" = \"c\"\n");
}

TEST(IniArchive, SectionRecordOfAnotherVersionAlone) {
  CIniFileSection section;
  section["k"] = "v";
  EXPECT_EQ(Load(section, {2, 0, 0, 0, 1, 0, 1, 'x', 1, 'y'}), -1);
  EXPECT_EQ(section.GetCount(), 1);
  EXPECT_STREQ(section["k"], "v");
}

// Inside a document the bytes after such a record no longer line up: the
// load stops with badSchema and keeps the sections read before it.
TEST(IniArchive, TruncatedAndOversizedInput) {
  CIniFile full;
  full.SetString("A", "k", "v");
  full.SetString("B", "k2", "v2");
  const Bytes bytes = Store(full);
  // Every truncation raises endOfFile and keeps what was complete: the
  // document read is a beginning of the whole one, with no entry cut short.
  const std::string strFull = Dump(full);
  for (size_t n = 0; n < bytes.size(); ++n) {
    CIniFile ini;
    EXPECT_EQ(Load(ini, Bytes(bytes.begin(), bytes.begin() + n)), CArchiveException::endOfFile) << n;
    EXPECT_EQ(strFull.rfind(Dump(ini), 0), 0u) << n << "\n" << Dump(ini);
  }
  // Lengths that claim more than the data holds add nothing.
  CIniFile ini;
  EXPECT_EQ(Load(ini, {1, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'A'}),
            CArchiveException::endOfFile);
  EXPECT_EQ(ini.GetCount(), 0);
  // Counts that claim more keep every section and entry read before the cut.
  EXPECT_EQ(Load(ini, {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 'A'}), CArchiveException::endOfFile);
  EXPECT_EQ(Dump(ini), "[\"A\"]\n");
  CIniFileSection section;
  EXPECT_EQ(Load(section, {1, 0, 0, 0, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 1, 'k', 0}), CArchiveException::endOfFile);
  EXPECT_EQ(section.GetCount(), 1);
  EXPECT_TRUE(section.Exists("K"));  // what was read before the cut is indexed
}

// A record that names one key twice loads as one entry after another
// would: the first spelling and place, the last value; into an empty
// section and into one that holds the key already.
TEST(IniArchive, RepeatedKeysInARecordFoldIntoTheFirst) {
  const Bytes record = Cat({{1, 0, 0, 0, 4, 0},
                            {1, 'k', 1, '1'},
                            {1, 'K', 1, '2'},
                            {1, 'x', 1, '3'},
                            {1, 'k', 1, '4'}});
  struct CCase {
    const char* pszBefore;  // a key already in the section, or null
    const char* pszDump;
  };
  const CCase cases[] = {
      {nullptr, "[\"\"]\n  \"k\" = \"4\"\n  \"x\" = \"3\"\n"},
      {"X", "[\"\"]\n  \"X\" = \"3\"\n  \"k\" = \"4\"\n"},
  };
  for (const CCase& c : cases) {
    CIniFile ini;
    CIniFileSection& section = ini[""];
    if (c.pszBefore != nullptr) section[c.pszBefore] = "old";
    EXPECT_EQ(Load(section, record), -1);
    EXPECT_EQ(Dump(ini), c.pszDump);
    EXPECT_STREQ(section["K"], "4");
    EXPECT_TRUE(section.Exists("x"));
  }
}

TEST(IniArchive, DocumentsStoppedMidwayKeepTheSectionsBefore) {
  struct {
    const char* pszWhat;
    Bytes bytes;
    int nCause;
  } const cases[] = {
      {"a section record of another version",
       Cat({{1, 0, 0, 0, 3, 0},
            {1, 'A', 1, 0, 0, 0, 1, 0, 1, 'k', 1, 'v'},
            {1, 'B', 9, 0, 0, 0, 1, 0, 1, 'x', 1, 'y'},
            {1, 'C', 1, 0, 0, 0, 0, 0}}),
       CArchiveException::badSchema},
      // Count 100, then A (k=v), B (no entries), then a name cut short.
      {"a cut after complete sections",
       Cat({{1, 0, 0, 0, 100, 0},
            {1, 'A', 1, 0, 0, 0, 1, 0, 1, 'k', 1, 'v'},
            {1, 'B', 1, 0, 0, 0, 0, 0},
            {5, 'C', 'u'}}),
       CArchiveException::endOfFile},
  };
  for (const auto& c : cases) {
    CIniFile ini;
    EXPECT_EQ(Load(ini, c.bytes), c.nCause) << c.pszWhat;
    EXPECT_EQ(Dump(ini), "[\"A\"]\n  \"k\" = \"v\"\n[\"B\"]\n") << c.pszWhat;
  }
}

// Runs of one-entry records of one section, long enough for the reader to
// make room ahead for the rest of the document: names in every form (short,
// wide, 255 bytes or more, other letter case), runs that end in another
// section and a record count that the data does not hold. The document read
// is the one the same entries make when added one by one.
TEST(IniArchive, LongRunsOfRecordsOfOneSection) {
  const Bytes wideA = {0xFF, 0xFE, 0xFF, 1, 'A', 0};
  const Bytes longName = Cat({{0xFF, 0x2C, 0x01}, Bytes(300, 'n')});
  struct CRun {
    Bytes name;
    std::string strSection;
    int nRecords;
  };
  struct {
    const char* pszWhat;
    std::vector<CRun> runs;
    bool bCountBeyondData;
  } const cases[] = {
      {"runs that end in other sections", {{{1, 'A'}, "A", 1100}, {{1, 'B'}, "B", 3}, {{1, 'a'}, "A", 1100}}, false},
      {"the name in the wide form in turn", {{{1, 'A'}, "A", 600}, {wideA, "A", 1}, {{1, 'A'}, "A", 600}}, false},
      {"a name of 300 bytes", {{longName, std::string(300, 'n'), 1100}}, false},
      {"more records counted than held", {{{1, 'A'}, "A", 1100}}, true},
  };
  for (const auto& c : cases) {
    Bytes records;
    CIniFile expected;
    int nRecords = 0;
    for (const CRun& run : c.runs) {
      for (int i = 0; i < run.nRecords; ++i, ++nRecords) {
        const std::string strKey = "k" + std::to_string(nRecords);
        const Bytes record = Cat({run.name, {1, 0, 0, 0, 1, 0, static_cast<BYTE>(strKey.size())}, Text(strKey), {1, 'v'}});
        records.insert(records.end(), record.begin(), record.end());
        expected.SetString(run.strSection.c_str(), strKey.c_str(), "v");
      }
    }
    const Bytes count = c.bCountBeyondData ? Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}
                                           : Bytes{static_cast<BYTE>(nRecords), static_cast<BYTE>(nRecords >> 8)};
    CIniFile ini;
    EXPECT_EQ(Load(ini, Cat({{1, 0, 0, 0}, count, records})), c.bCountBeyondData ? CArchiveException::endOfFile : -1)
        << c.pszWhat;
    EXPECT_EQ(Dump(ini), Dump(expected)) << c.pszWhat;
    EXPECT_STREQ(ini.GetString(c.runs.back().strSection.c_str(), ("K" + std::to_string(nRecords - 1)).c_str(), "-"), "v");
  }
}

TEST(IniArchive, ObjectMechanismWritesTheClassTag) {
  CIniFile ini;
  ini.SetString("A", "k", "v");
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<const CObject*>(&ini);
    ar.Close();
  }
  const Bytes bytes = file.GetBytes();
  const Bytes tag = Cat({{0xFF, 0xFF, 1, 0, 8, 0}, Text("CIniFile")});
  ASSERT_GE(bytes.size(), tag.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + tag.size()), tag);
  EXPECT_EQ(Bytes(bytes.begin() + tag.size(), bytes.end()), Store(ini));

  // Reading finds the class by the name in the tag, as a host does: through
  // the extension-library chain that NimboInit links the module into.
  NimboInit();
  Bytes copy = bytes;
  CMemFile in(copy.data(), static_cast<UINT>(copy.size()));
  CArchive ar(&in, CArchive::load);
  CObject* pObject = ar.ReadObject(RUNTIME_CLASS(CIniFile));
  ASSERT_NE(pObject, nullptr);
  EXPECT_EQ(Dump(*static_cast<CIniFile*>(pObject)), Dump(ini));
  delete pObject;
}

}  // namespace
