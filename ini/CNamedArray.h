// CNamedArray: an ordered list of named items with a case-insensitive index
// from name to position; the base of both INI document classes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "CFixedAlloc.h"
#include "CObject.h"
#include "CString.h"

// Orders names by _mbsicmp: two names are the same name when neither is
// ordered before the other, i.e. when they differ only in the case of letters.
struct CNoCaseLess {
  bool operator()(const CString& a, const CString& b) const;
};

// A name as an index holds it: where the item's name text lies, and a key
// made of its first eight bytes, each replaced by its rank in the order of
// CNoCaseLess. Two keys that differ order their names as the names
// themselves are ordered, so most comparisons in an index end at one integer
// comparison; only names that agree in their first eight bytes (ignoring
// case) are compared as texts. An index name holds no share of the text (a
// share would cost an atomic count on every insertion and removal): the item
// whose name it is keeps the text alive, which is why an item's name is only
// ever changed through its list.
class CIndexName {
 public:
  CIndexName(const CString& strName);  // NOLINT: implicit, so that a name can be looked up as it is

  // The key of a name whose first eight bytes include one of 0x80 or above:
  // such bytes may begin a character of two bytes, whose ordering only the
  // text comparison knows, so these names are always compared as texts.
  static const uint64_t kNoKey = uint64_t(1) << 63;

  uint64_t m_nKey;
  const char* m_pszName;  // the name's text, with its terminating zero
  int m_nLength;          // bytes before the terminating zero
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

// Invariants kept by every operation:
// - no two items have the same name (under CNoCaseLess);
// - m_index holds exactly one entry per item, giving its current position;
// - an item keeps the name it was added with (or last renamed to): a lookup
//   with other letter case finds it but never changes the stored name.
// References and positions handed out stay valid only until the next
// addition to or removal from the same list.
template <class T>
class CNamedArray {
 public:
  typedef std::pair<CString, T> CItem;  // (stored name, value)
  typedef typename std::vector<CItem>::iterator iterator;
  typedef typename std::vector<CItem>::const_iterator const_iterator;
  // The index's nodes come from the fixed-size pools: a list of many names
  // makes no general allocation per name, and destroying it returns the
  // nodes to their pool. A node points at its item's name text.
  typedef std::map<CIndexName, int, CIndexLess, CFixedAllocator<std::pair<const CIndexName, int>>> CIndex;

  // The stored item of item's name. When there is none, a copy of item is
  // appended and returned; when there is one, it is returned unchanged and
  // item's value is ignored.
  CItem& FindOrAdd(const CItem& item);
  // The same, moving item into the list when it is added.
  CItem& FindOrAdd(CItem&& item);
  // FindOrAdd with a default-constructed value; returns the value part.
  T& operator[](const CString& strName);
  // The stored item of that name, or null. Never adds.
  CItem* Find(const CString& strName);
  const CItem* Find(const CString& strName) const;
  bool Exists(const CString& strName) const { return m_index.find(strName) != m_index.end(); }
  // Removes the item of that name; later items move one place forward.
  // False when there is none.
  bool Remove(const CString& strName);
  // Gives an item a new name in place (position and value stay). True with no
  // change when the names are the same ignoring case; false when strNew is
  // taken or strOld is missing.
  bool Rename(const CString& strOld, const CString& strNew);
  void RemoveAll();

  CNamedArray() = default;
  // A copy has an index of its own over its own items.
  CNamedArray(const CNamedArray& other) : m_items(other.m_items) { IndexCopyOf(other); }
  CNamedArray& operator=(const CNamedArray& other);
  CNamedArray(CNamedArray&& other) noexcept = default;
  CNamedArray& operator=(CNamedArray&& other) noexcept = default;
  ~CNamedArray() = default;
  // Gives back the spare room of the item list (nothing else changes); for a
  // list that is complete for now, such as a section its reader has left.
  void Compact() { m_items.shrink_to_fit(); }

  int GetCount() const { return static_cast<int>(m_items.size()); }
  CItem& GetAt(int nIndex) { return m_items[static_cast<size_t>(nIndex)]; }
  const CItem& GetAt(int nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }

  // Enumeration in insertion order.
  iterator begin() { return m_items.begin(); }
  iterator end() { return m_items.end(); }
  const_iterator begin() const { return m_items.begin(); }
  const_iterator end() const { return m_items.end(); }

 protected:
  // For a reader that appends many items to m_items at once, without index
  // entries: indexes the items from position nFirst on. An appended item
  // whose name an earlier item has (indexed or appended) is folded into that
  // item as FindOrAdd followed by an assignment of the value would have done
  // it: the earlier item keeps its name and place and takes the later item's
  // value, and the later item is dropped. If this throws, the items it did
  // not index are dropped, so the invariants hold either way.
  void IndexAppended(int nFirst);

  std::vector<CItem> m_items;
  CIndex m_index;

 private:
  // The common part of both FindOrAdd: item is copied or moved as TItem is.
  template <class TItem>
  CItem& FindOrAddItem(TItem&& item);
  // Builds the index of freshly copied items from the index of the list
  // they were copied from (the same names at the same positions).
  void IndexCopyOf(const CNamedArray& other);
  // IndexAppended for a list whose index is empty: one sort of the names,
  // then the index filled in order.
  void IndexAllAppended();
};

template <class T>
typename CNamedArray<T>::CItem& CNamedArray<T>::FindOrAdd(const CItem& item) {
  return FindOrAddItem(item);
}

template <class T>
typename CNamedArray<T>::CItem& CNamedArray<T>::FindOrAdd(CItem&& item) {
  return FindOrAddItem(std::move(item));
}

template <class T>
template <class TItem>
typename CNamedArray<T>::CItem& CNamedArray<T>::FindOrAddItem(TItem&& item) {
  // The name's index form is made once; once the item is stored, it points
  // at the stored name's text.
  CIndexName name(item.first);
  // Files are often written with their names in order, so a name that sorts
  // after every name so far is tried first: it is new and goes at the end,
  // found with one comparison instead of a descent.
  auto found = m_index.end();
  if (m_index.empty() || !m_index.key_comp()(std::prev(found)->first, name)) {
    // One descent of the index serves both the lookup and the insertion.
    found = m_index.lower_bound(name);
    if (found != m_index.end() && !m_index.key_comp()(name, found->first))
      return m_items[static_cast<size_t>(found->second)];
  }
  m_items.push_back(std::forward<TItem>(item));
  name.m_pszName = m_items.back().first;
  try {
    m_index.emplace_hint(found, name, GetCount() - 1);
  } catch (...) {
    m_items.pop_back();  // keep one index entry per item
    throw;
  }
  return m_items.back();
}

template <class T>
T& CNamedArray<T>::operator[](const CString& strName) {
  auto found = m_index.find(strName);
  if (found != m_index.end()) return m_items[static_cast<size_t>(found->second)].second;
  return FindOrAdd(CItem(strName, T())).second;
}

template <class T>
typename CNamedArray<T>::CItem* CNamedArray<T>::Find(const CString& strName) {
  auto found = m_index.find(strName);
  return found == m_index.end() ? nullptr : &m_items[static_cast<size_t>(found->second)];
}

template <class T>
const typename CNamedArray<T>::CItem* CNamedArray<T>::Find(const CString& strName) const {
  auto found = m_index.find(strName);
  return found == m_index.end() ? nullptr : &m_items[static_cast<size_t>(found->second)];
}

template <class T>
bool CNamedArray<T>::Remove(const CString& strName) {
  auto found = m_index.find(strName);
  if (found == m_index.end()) return false;
  const int nPos = found->second;
  m_index.erase(found);
  m_items.erase(m_items.begin() + nPos);
  for (int i = nPos; i < GetCount(); ++i) --m_index.find(m_items[static_cast<size_t>(i)].first)->second;
  return true;
}

template <class T>
bool CNamedArray<T>::Rename(const CString& strOld, const CString& strNew) {
  if (!CNoCaseLess()(strOld, strNew) && !CNoCaseLess()(strNew, strOld)) return true;
  if (Exists(strNew)) return false;
  auto found = m_index.find(strOld);
  if (found == m_index.end()) return false;
  const int nPos = found->second;
  CString& strName = m_items[static_cast<size_t>(nPos)].first;
  const CString strPrevious = strName;  // the text the old index entry points at, until it is erased
  strName = strNew;
  try {
    m_index.emplace(strName, nPos);
  } catch (...) {
    strName = strPrevious;
    throw;
  }
  m_index.erase(found);
  return true;
}

template <class T>
void CNamedArray<T>::RemoveAll() {
  m_index.clear();
  m_items.clear();
}

template <class T>
CNamedArray<T>& CNamedArray<T>::operator=(const CNamedArray& other) {
  if (this != &other) {
    CNamedArray copy(other);
    *this = std::move(copy);
  }
  return *this;
}

template <class T>
void CNamedArray<T>::IndexCopyOf(const CNamedArray& other) {
  for (const auto& entry : other.m_index) {
    CIndexName name = entry.first;
    name.m_pszName = m_items[static_cast<size_t>(entry.second)].first;
    m_index.emplace_hint(m_index.end(), name, entry.second);
  }
}

template <class T>
void CNamedArray<T>::IndexAppended(int nFirst) {
  try {
    if (m_index.empty() && nFirst == 0) {
      IndexAllAppended();
      return;
    }
    // Into an index that has entries already: one lookup per item.
    std::vector<bool> abDropped(m_items.size() - static_cast<size_t>(nFirst));
    int nIndexed = nFirst;
    for (size_t i = static_cast<size_t>(nFirst); i < m_items.size(); ++i) {
      CIndexName name(m_items[i].first);
      auto found = m_index.lower_bound(name);
      if (found != m_index.end() && !m_index.key_comp()(name, found->first)) {
        m_items[static_cast<size_t>(found->second)].second = std::move(m_items[i].second);
        abDropped[i - static_cast<size_t>(nFirst)] = true;
        continue;
      }
      // Kept items move forward over dropped ones before they are indexed,
      // so that every index entry gives the place its item will keep.
      if (static_cast<size_t>(nIndexed) != i) m_items[static_cast<size_t>(nIndexed)] = std::move(m_items[i]);
      name.m_pszName = m_items[static_cast<size_t>(nIndexed)].first;
      m_index.emplace_hint(found, name, nIndexed);
      ++nIndexed;
    }
    m_items.resize(static_cast<size_t>(nIndexed));
  } catch (...) {
    m_items.resize(m_index.size());
    throw;
  }
}

template <class T>
void CNamedArray<T>::IndexAllAppended() {
  typedef std::pair<CIndexName, int> CEntry;
  std::vector<CEntry> names;
  names.reserve(m_items.size());
  for (size_t i = 0; i < m_items.size(); ++i) names.emplace_back(m_items[i].first, static_cast<int>(i));
  const CIndexLess less;
  // Stable, so that of the items of one name the first comes first.
  auto ByName = [&less](const CEntry& a, const CEntry& b) { return less(a.first, b.first); };
  if (!std::is_sorted(names.begin(), names.end(), ByName)) std::stable_sort(names.begin(), names.end(), ByName);

  // Items of one name: the first takes the last one's value, the others go.
  std::vector<bool> abDropped;
  for (size_t i = 1; i < names.size(); ++i) {
    if (less(names[i - 1].first, names[i].first)) continue;
    if (abDropped.empty()) abDropped.resize(m_items.size());
    size_t nLast = i;
    while (nLast + 1 < names.size() && !less(names[nLast].first, names[nLast + 1].first)) ++nLast;
    m_items[static_cast<size_t>(names[i - 1].second)].second = std::move(m_items[static_cast<size_t>(names[nLast].second)].second);
    for (size_t j = i; j <= nLast; ++j) abDropped[static_cast<size_t>(names[j].second)] = true;
    i = nLast;
  }
  if (!abDropped.empty()) {
    // Close the gaps, then give each kept name its new place.
    std::vector<int> anPlace(m_items.size());
    size_t nKept = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
      anPlace[i] = static_cast<int>(nKept);
      if (abDropped[i]) continue;
      if (nKept != i) m_items[nKept] = std::move(m_items[i]);
      ++nKept;
    }
    m_items.resize(nKept);
    std::vector<CEntry> kept;
    kept.reserve(nKept);
    for (const CEntry& entry : names) {
      if (abDropped[static_cast<size_t>(entry.second)]) continue;
      kept.emplace_back(entry.first, anPlace[static_cast<size_t>(entry.second)]);
    }
    names.swap(kept);
  }
  // The names come in order, so each goes in at the end of the index.
  for (CEntry& entry : names) {
    entry.first.m_pszName = m_items[static_cast<size_t>(entry.second)].first;
    m_index.emplace_hint(m_index.end(), entry.first, entry.second);
  }
}
