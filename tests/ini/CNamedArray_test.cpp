// Tests of the named array: lookup ignoring case, stored names, positions
// after removal and renaming, and the index kept in step with the items.
#include "ini/CNamedArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CArchive.h"
#include "CMemFile.h"
#include "CrtMbString.h"
#include "ini/CIniFileSection.h"

namespace {

class CCheckedArray : public CNamedArray<int> {
 public:
  // Every item has exactly one index entry, holding its current position.
  bool IndexMatches() const {
    if (m_index.size() != m_items.size()) return false;
    for (size_t i = 0; i < m_items.size(); ++i) {
      const int* pPos = m_index.Find(m_items[i].first);
      if (pPos == nullptr || *pPos != static_cast<int>(i)) return false;
    }
    return true;
  }
};

// A section that tells how often its list of entries moved to new memory.
class CGrowthSection : public CIniFileSection {
 public:
  const void* Items() const { return m_items.data(); }
};

std::string Names(const CNamedArray<int>& array) {
  std::string out;
  for (const auto& item : array) out += std::string(item.first) + ";";
  return out;
}

TEST(NamedArray, FindOrAddKeepsTheStoredItem) {
  CCheckedArray array;
  array.FindOrAdd({"COLORS", 1});
  CNamedArray<int>::CItem& item = array.FindOrAdd({"Colors", 2});
  EXPECT_EQ(array.GetCount(), 1);
  EXPECT_STREQ(item.first, "COLORS");
  EXPECT_EQ(item.second, 1);
  EXPECT_EQ(array["colors"], 1);
  EXPECT_TRUE(array.IndexMatches());
}

// The index order must be exactly _mbsicmp's, which compares C strings:
// names that share long leading parts, differ only in case, end inside a
// word, or hold zero bytes (equal up to the first zero are the same name).
TEST(NamedArray, IndexOrderIsMbsicmpOrder) {
  const CString names[] = {"", "a", "A", "section0000001", "SECTION0000002", "section00000010", "Section0000001x",
                           "abcdefgh", "ABCDEFGH", "abcdefghi", "abcdefg_", "abcdefgz", CString("abcdefgh\0x", 10),
                           CString("abcdefgh\0y", 10), CString("abc\0defghijk", 12), "\xC4" "bcdefghij", "\xE4" "bcdefghij"};
  std::mt19937 random(7);
  std::vector<CString> all(std::begin(names), std::end(names));
  const char kBytes[] = {'a', 'A', 'b', 'B', '_', '\0', '\xC4'};
  for (int i = 0; i < 300; ++i) {
    std::string text(random() % 20, 'a');
    for (char& c : text) c = kBytes[random() % sizeof kBytes];
    all.emplace_back(text.data(), static_cast<int>(text.size()));
  }
  const CNoCaseLess less;
  const CIndexLess indexLess;
  for (const CString& a : all) {
    for (const CString& b : all) {
      const int nExpected = _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(a)),
                                     reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(b)));
      ASSERT_EQ(less(a, b), nExpected < 0) << a.Str() << " / " << b.Str();
      ASSERT_EQ(indexLess(a, b), nExpected < 0) << a.Str() << " / " << b.Str();
    }
  }
}

// Many additions, removals and renames in random order, in lists large
// enough that the index merges its recent names into its array again and
// again: the list must match a plain model, and the index its items.
TEST(NamedArray, RandomChangesKeepListAndIndexInStep) {
  std::mt19937 random(5);
  CCheckedArray array;
  std::vector<std::pair<std::string, int>> model;  // names in lower case, in list order
  auto ModelFind = [&model](const std::string& strName) {
    for (size_t i = 0; i < model.size(); ++i)
      if (model[i].first == strName) return static_cast<int>(i);
    return -1;
  };
  auto RandomName = [&random](bool bUpper) {
    std::string name = "name" + std::to_string(random() % 400);
    if (bUpper) std::transform(name.begin(), name.end(), name.begin(), ::toupper);
    return name;
  };
  for (int nStep = 0; nStep < 6000; ++nStep) {
    const std::string strName = RandomName(false);
    const int nFound = ModelFind(strName);
    switch (random() % 4) {
      case 0:
      case 1:
        array.FindOrAdd({CString(RandomName(random() % 2 == 0).c_str()), nStep});
        break;
      case 2:
        ASSERT_EQ(array.Remove(CString(strName.c_str())), nFound >= 0);
        if (nFound >= 0) model.erase(model.begin() + nFound);
        break;
      default: {
        const std::string strNew = RandomName(false);
        const bool bDone = array.Rename(CString(strName.c_str()), CString(strNew.c_str()));
        ASSERT_EQ(bDone, strNew == strName || (nFound >= 0 && ModelFind(strNew) < 0));
        if (bDone && strNew != strName) model[static_cast<size_t>(nFound)].first = strNew;
        break;
      }
    }
    // Additions are applied to the model from the list: its case and value.
    for (size_t i = model.size(); i < static_cast<size_t>(array.GetCount()); ++i) {
      std::string name = array.GetAt(static_cast<int>(i)).first.Str();
      std::transform(name.begin(), name.end(), name.begin(), ::tolower);
      model.emplace_back(name, array.GetAt(static_cast<int>(i)).second);
    }
    ASSERT_EQ(array.GetCount(), static_cast<int>(model.size()));
    if (nStep % 50 != 0) continue;
    ASSERT_TRUE(array.IndexMatches()) << "step " << nStep;
    for (size_t i = 0; i < model.size(); ++i) {
      std::string name = array.GetAt(static_cast<int>(i)).first.Str();
      std::transform(name.begin(), name.end(), name.begin(), ::tolower);
      ASSERT_EQ(name, model[i].first) << "step " << nStep;
      ASSERT_EQ(array.GetAt(static_cast<int>(i)).second, model[i].second) << "step " << nStep;
    }
  }
  CNamedArray<int> copy = array;
  array.RemoveAll();
  EXPECT_EQ(copy.GetCount(), static_cast<int>(model.size()));
  for (const auto& item : model) EXPECT_NE(copy.Find(CString(item.first.c_str())), nullptr) << item.first;
}

TEST(NamedArray, NamesFoldOnlyAsciiLetters) {
  CNamedArray<int> array;
  array["ab_c"] = 1;
  array["\xC4"] = 2;  // a byte of the code page's upper half stays as it is
  EXPECT_TRUE(array.Exists("AB_C"));
  EXPECT_FALSE(array.Exists("ab-c"));
  EXPECT_FALSE(array.Exists("\xE4"));
  EXPECT_EQ(array.Find("ABC"), nullptr);
  EXPECT_EQ(array.GetCount(), 2);
}

TEST(NamedArray, RemoveRenumbersTheLaterItems) {
  CCheckedArray array;
  array["a"] = 1;
  array["b"] = 2;
  array["c"] = 3;
  EXPECT_TRUE(array.Remove("A"));
  EXPECT_FALSE(array.Remove("a"));
  EXPECT_TRUE(array.IndexMatches());
  EXPECT_EQ(Names(array), "b;c;");
  EXPECT_STREQ(array.GetAt(0).first, "b");
  EXPECT_EQ(array.Find("c")->second, 3);
  array["d"] = 4;
  EXPECT_STREQ(array.GetAt(2).first, "d");
  EXPECT_EQ(array.Find("D"), &array.GetAt(2));
  EXPECT_TRUE(array.IndexMatches());
}

TEST(NamedArray, RemoveInTheMiddleAndAtTheEnd) {
  CCheckedArray array;
  for (const char* psz : {"p", "q", "r", "s"}) array[psz] = 0;
  EXPECT_TRUE(array.Remove("r"));
  EXPECT_TRUE(array.IndexMatches());
  EXPECT_TRUE(array.Remove("S"));
  EXPECT_TRUE(array.IndexMatches());
  EXPECT_EQ(Names(array), "p;q;");
}

TEST(NamedArray, RenameRules) {
  CCheckedArray array;
  array["alpha"] = 1;
  array["a"] = 2;
  array["b"] = 3;
  EXPECT_TRUE(array.Rename("alpha", "ALPHA"));
  EXPECT_STREQ(array.GetAt(0).first, "alpha");  // same name: not even the case changes
  EXPECT_FALSE(array.Rename("a", "B"));
  EXPECT_FALSE(array.Rename("x", "y"));
  EXPECT_FALSE(array.Exists("y"));
  EXPECT_EQ(Names(array), "alpha;a;b;");
  EXPECT_TRUE(array.Rename("A", "Zed"));
  EXPECT_EQ(Names(array), "alpha;Zed;b;");
  EXPECT_EQ(array["zed"], 2);
  EXPECT_FALSE(array.Exists("a"));
  EXPECT_TRUE(array.IndexMatches());
}

TEST(NamedArray, RenameWhenOnlyTheNewNameExists) {
  CNamedArray<int> array;
  array["b"] = 1;
  EXPECT_FALSE(array.Rename("a", "b"));
  EXPECT_EQ(array.GetCount(), 1);
}

TEST(NamedArray, EmptyNameIsAnOrdinaryName) {
  CCheckedArray array;
  array[""] = 5;
  EXPECT_TRUE(array.Exists(""));
  EXPECT_TRUE(array.Rename("", "named"));
  EXPECT_EQ(array["named"], 5);
  EXPECT_FALSE(array.Exists(""));
  array[""] = 6;
  EXPECT_TRUE(array.Remove(""));
  EXPECT_EQ(Names(array), "named;");
  EXPECT_TRUE(array.IndexMatches());
}

TEST(NamedArray, LookupsNeverAdd) {
  CNamedArray<int> array;
  EXPECT_EQ(array.Find("x"), nullptr);
  EXPECT_FALSE(array.Exists("x"));
  EXPECT_FALSE(array.Remove("x"));
  EXPECT_EQ(array.GetCount(), 0);
  array["x"];
  EXPECT_EQ(array.GetCount(), 1);
  array.RemoveAll();
  EXPECT_EQ(array.GetCount(), 0);
  EXPECT_FALSE(array.Exists("x"));
}

TEST(NamedArray, SectionCopiesAreDeep) {
  CIniFileSection source;
  source["Width"] = "7";
  source["Height"] = "3";
  EXPECT_STREQ(source.FindOrAdd({"width", "10"}).second, "7");
  CIniFileSection copy(source);
  copy["width"] = "99";
  copy["New"] = "n";
  copy.Remove("Height");
  EXPECT_STREQ(source["Width"], "7");
  EXPECT_TRUE(source.Exists("height"));
  EXPECT_FALSE(source.Exists("new"));
  CIniFileSection assigned;
  assigned["old"] = "x";
  assigned = source;
  EXPECT_FALSE(assigned.Exists("old"));
  EXPECT_STREQ(assigned.GetAt(1).first, "Height");
  EXPECT_STREQ(assigned["HEIGHT"], "3");
  const CIniFileSection& alias = assigned;
  assigned = alias;
  EXPECT_EQ(assigned.GetCount(), 2);
  EXPECT_STREQ(assigned["width"], "7");
}

TEST(NamedArray, SectionKeysAreAppended) {
  CIniFileSection section;
  section["One"] = "1";
  section["two"] = "2";
  CStringArray array;
  array.Add("x");
  section.GetKeys(array);
  ASSERT_EQ(array.GetSize(), 3);
  EXPECT_STREQ(array.GetAt(1), "One");
  EXPECT_STREQ(array.GetAt(2), "two");
  CStringList list;
  section.GetKeys(list);
  section.GetKeys(list);
  EXPECT_EQ(list.GetCount(), 4);
  EXPECT_STREQ(list.GetTail(), "two");
}

}  // namespace

namespace {

// A section read from many one-entry records (as an archive whose records of
// one section repeat holds it) moves its entries a logarithmic number of
// times, not once per record.
TEST(NamedArray, SectionReadInManyRecordsGrowsGeometrically) {
  const int nRecords = 20000;
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    for (int i = 0; i < nRecords; ++i) {
      CIniFileSection record;
      record["k" + CString(std::to_string(i))] = "v";
      record.Serialize(ar);
    }
    ar.Close();
  }
  std::vector<BYTE> bytes = file.GetBytes();
  CMemFile input(bytes.data(), static_cast<UINT>(bytes.size()));
  CArchive ar(&input, CArchive::load);
  CGrowthSection section;
  int nMoves = 0;
  for (int i = 0; i < nRecords; ++i) {
    const void* pBefore = section.Items();
    section.Serialize(ar);
    if (section.Items() != pBefore) ++nMoves;
  }
  EXPECT_EQ(section.GetCount(), nRecords);
  EXPECT_LE(nMoves, 40);
}

}  // namespace

namespace {

// Whatever hands out an item hands out its name as constant: the index reads
// that text, so only Rename may change it. (A name that could be trimmed in
// place through one of these references would free what the index reads.)
template <class TRef>
constexpr bool NameIsConstant() {
  return std::is_const<std::remove_reference_t<decltype(std::declval<TRef>().first)>>::value &&
         !std::is_assignable<decltype((std::declval<TRef>().first)), CString>::value;
}
typedef CIniFileSection::CItem CEntry;
static_assert(NameIsConstant<decltype(std::declval<CIniFileSection&>().GetAt(0))>(), "GetAt");
static_assert(NameIsConstant<decltype(*std::declval<CIniFileSection&>().Find(""))>(), "Find");
static_assert(NameIsConstant<decltype(std::declval<CIniFileSection&>().FindOrAdd(CEntry()))>(), "FindOrAdd");
static_assert(NameIsConstant<decltype(*std::declval<CIniFileSection&>().begin())>(), "iteration");
static_assert(NameIsConstant<decltype(*std::declval<CNamedArray<CIniFileSection>&>().begin())>(), "sections");

TEST(NamedArray, ItemsStillMoveAndCopyWithTheirNames) {
  CCheckedArray array;
  for (const char* pszName : {"b", "a", "c", "d"}) array.FindOrAdd({pszName, 1});
  ASSERT_TRUE(array.Remove("a"));
  ASSERT_TRUE(array.Rename("c", "alpha"));
  EXPECT_EQ(Names(array), "b;alpha;d;");
  EXPECT_TRUE(array.IndexMatches());
  const std::vector<CNamedArray<int>::CItem> copies(array.begin(), array.end());
  EXPECT_EQ(copies[1].first, "alpha");
}

}  // namespace
