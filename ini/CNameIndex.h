// CNameIndex: the ordered, case-insensitive index from name to position of
// a named list (CNamedArray), and the name ordering it keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "CFixedAlloc.h"
#include "CString.h"

// Orders names by _mbsicmp: two names are the same name when neither is
// ordered before the other, i.e. when they differ only in the case of letters.
struct CNoCaseLess {
  bool operator()(const CString& a, const CString& b) const;
};

// A name as the index holds it: where the item's name text lies, and a key
// made of its first eight bytes, each replaced by its rank in the order of
// CNoCaseLess. Two keys that differ order their names as the names
// themselves are ordered, so most comparisons end at one integer comparison;
// only names that agree in their first eight bytes (ignoring case) are
// compared as texts. An index name holds no share of the text (a share would
// cost an atomic count on every insertion and removal): the item whose name
// it is keeps the text alive, which is why an item's name is only ever
// changed through its list.
class CIndexName {
 public:
  CIndexName(const CString& strName);  // NOLINT: implicit, so that a name can be looked up as it is

  // The key of a name whose first eight bytes include one of 0x80 or above:
  // such bytes may begin a character of two bytes, whose ordering only the
  // text comparison knows, so these names are always compared as texts.
  static const uint64_t kNoKey = uint64_t(1) << 63;

  uint64_t m_nKey;
  // The name's text, with its terminating zero. Mutable: when the items move
  // to another list (a copy), their names are pointed at the new texts of
  // the same bytes, which leaves the order alone.
  mutable const char* m_pszName;
  int m_nLength;  // bytes before the terminating zero
};

// The ordering of CNoCaseLess, on index names.
struct CIndexLess {
  bool operator()(const CIndexName& a, const CIndexName& b) const {
    if (a.m_nKey != b.m_nKey && ((a.m_nKey | b.m_nKey) & CIndexName::kNoKey) == 0) return a.m_nKey < b.m_nKey;
    return CompareTexts(a, b);
  }
  // The comparison of two names whose keys cannot decide.
  static bool CompareTexts(const CIndexName& a, const CIndexName& b);
};

// One name and the position of its item.
struct CIndexEntry {
  CIndexEntry(const CIndexName& indexName, int nPosition) : name(indexName), nPos(nPosition) {}
  // Makes the name's key in place, for an array that is filled in bulk.
  CIndexEntry(const CString& strName, int nPosition) : name(strName), nPos(nPosition) {}

  CIndexName name;
  int nPos;
};

// The index keeps most names in one sorted array, searched by halving: a
// list read from a file is indexed with one sort, costs one array instead
// of a tree node per name, and is freed in one piece. Names added one at a
// time since then go into a small tree beside it, which is merged into the
// array once it has grown by a fraction of the array's size, so that every
// name is merged a bounded number of times on average and an addition stays
// logarithmic. A name that sorts after every name so far (files are often
// written in order) is appended to the array directly.
class CNameIndex {
 public:
  // The position of the name's item, or null; valid until the next change.
  const int* Find(const CIndexName& name) const;
  // Records a name that is not in the index. Its text must stay where it is
  // while it is recorded (see CIndexName).
  void Insert(const CIndexName& name, int nPos);
  // Forgets a name and returns the position it gave, or -1 when the name
  // is not in the index.
  int Erase(const CIndexName& name);
  // Every position after nPos drops by one (its item was removed).
  void CloseGap(int nPos);
  // Takes entries that are sorted by name, one per name, in place of the
  // whole index.
  void Assign(std::vector<CIndexEntry>&& sorted);
  // Merges the names added one at a time into the array.
  void Compact();
  // Compact, then gives back the array's spare room.
  void Shrink();
  void Clear();
  size_t size() const { return m_sorted.size() + m_recent.size(); }
  bool empty() const { return size() == 0; }
  // Every entry, in no set order: fnEach(const CIndexName&, int& nPos).
  template <class FEach>
  void ForEach(FEach fnEach);

 private:
  typedef std::map<CIndexName, int, CIndexLess, CFixedAllocator<std::pair<const CIndexName, int>>> CRecent;
  // The entry of the name in the array, or null.
  const CIndexEntry* FindSorted(const CIndexName& name) const;

  std::vector<CIndexEntry> m_sorted;
  CRecent m_recent;
};

template <class FEach>
void CNameIndex::ForEach(FEach fnEach) {
  for (CIndexEntry& entry : m_sorted) fnEach(entry.name, entry.nPos);
  for (auto& entry : m_recent) fnEach(entry.first, entry.second);
}
