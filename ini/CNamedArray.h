// CNamedArray: an ordered list of named items with a case-insensitive index
// from name to position; the base of both INI document classes.
#pragma once

#include <algorithm>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "CObject.h"
#include "CString.h"
#include "ini/CNameIndex.h"

// Invariants kept by every operation:
// - no two items have the same name (under CNoCaseLess);
// - m_index holds exactly one entry per item, giving its current position;
// - an item keeps the name it was added with (or last renamed to): a lookup
//   with other letter case finds it but never changes the stored name.
// References and positions handed out stay valid only until the next
// addition to or removal from the same list.

// One item of a named list: its stored name and its value, used as the
// pair of a map is. The name is constant for everyone but the list: the
// list's index points at its text without holding a share, so a name
// changed behind the list's back would leave the index reading freed
// memory; Rename is the way to change it.
template <class T>
struct CNamedItem {
  const CString first;  // the stored name
  T second;             // the value

  CNamedItem() = default;
  template <class TName, class TValue>
  CNamedItem(TName&& name, TValue&& value) : first(std::forward<TName>(name)), second(std::forward<TValue>(value)) {}
  CNamedItem(const CNamedItem& other) = default;
  // Takes the name's text along (no count to change, no text to touch), as
  // a node-based map hands over the key of an extracted node: the item
  // moved from is about to be destroyed or replaced by its list.
  CNamedItem(CNamedItem&& other) noexcept(std::is_nothrow_move_constructible<T>::value)
      : first(std::move(const_cast<CString&>(other.first))), second(std::move(other.second)) {}
  CNamedItem& operator=(const CNamedItem&) = delete;  // the name is the list's to change
};

template <class T>
class CNamedArray {
 public:
  typedef CNamedItem<T> CItem;
  typedef typename std::vector<CItem>::iterator iterator;
  typedef typename std::vector<CItem>::const_iterator const_iterator;

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
  bool Exists(const CString& strName) const { return m_index.Find(strName) != nullptr; }
  // Removes the item of that name; later items move one place forward.
  // False when there is none.
  bool Remove(const CString& strName);
  // Gives an item a new name in place (position and value stay). True with no
  // change when the names are the same ignoring case; false when strNew is
  // taken or strOld is missing.
  bool Rename(const CString& strOld, const CString& strNew);
  void RemoveAll();

  CNamedArray() = default;
  // A copy has an index of its own, over its own items.
  CNamedArray(const CNamedArray& other);
  CNamedArray& operator=(const CNamedArray& other);
  CNamedArray(CNamedArray&& other) noexcept = default;
  CNamedArray& operator=(CNamedArray&& other) noexcept = default;
  ~CNamedArray() = default;
  // Gives back spare room (nothing else changes); for a list that is
  // complete for now, such as a section its reader has left.
  void Compact();
  // Compact when the spare room is more than the items (more than a
  // geometric growth leaves): for room reserved ahead that went unused.
  void TrimExcess() {
    if (m_items.capacity() / 2 > m_items.size()) Compact();
  }

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
  // Room for nMore items after the present ones. The room grows at least
  // geometrically, so that a list read in many small parts (a section whose
  // records or headers repeat) is still appended to in linear time.
  void ReserveMore(size_t nMore);

  std::vector<CItem> m_items;
  CNameIndex m_index;

 private:
  // The common part of both FindOrAdd: item is copied or moved as TItem is.
  template <class TItem>
  CItem& FindOrAddItem(TItem&& item);
  // IndexAppended for a list whose index is empty: one sort of the names.
  void IndexAllAppended();
  // Puts item in the place of the item at nPos, which is destroyed (items
  // cannot be assigned: their names are constant outside the list).
  void Replace(size_t nPos, CItem&& item) noexcept;
};

template <class T>
void CNamedArray<T>::Replace(size_t nPos, CItem&& item) noexcept {
  static_assert(std::is_nothrow_move_constructible<CItem>::value, "items must move without throwing");
  CItem* pItem = &m_items[nPos];
  pItem->~CItem();
  new (pItem) CItem(std::move(item));
}

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
  if (const int* pPos = m_index.Find(name)) return m_items[static_cast<size_t>(*pPos)];
  m_items.push_back(std::forward<TItem>(item));
  name.m_pszName = m_items.back().first;
  try {
    m_index.Insert(name, GetCount() - 1);
  } catch (...) {
    m_items.pop_back();  // keep one index entry per item
    throw;
  }
  return m_items.back();
}

template <class T>
T& CNamedArray<T>::operator[](const CString& strName) {
  if (const int* pPos = m_index.Find(strName)) return m_items[static_cast<size_t>(*pPos)].second;
  return FindOrAdd(CItem(strName, T())).second;
}

template <class T>
typename CNamedArray<T>::CItem* CNamedArray<T>::Find(const CString& strName) {
  const int* pPos = m_index.Find(strName);
  return pPos == nullptr ? nullptr : &m_items[static_cast<size_t>(*pPos)];
}

template <class T>
const typename CNamedArray<T>::CItem* CNamedArray<T>::Find(const CString& strName) const {
  const int* pPos = m_index.Find(strName);
  return pPos == nullptr ? nullptr : &m_items[static_cast<size_t>(*pPos)];
}

template <class T>
bool CNamedArray<T>::Remove(const CString& strName) {
  const int nPos = m_index.Erase(strName);
  if (nPos < 0) return false;
  for (size_t i = static_cast<size_t>(nPos); i + 1 < m_items.size(); ++i) Replace(i, std::move(m_items[i + 1]));
  m_items.pop_back();
  m_index.CloseGap(nPos);
  return true;
}

template <class T>
bool CNamedArray<T>::Rename(const CString& strOld, const CString& strNew) {
  if (!CNoCaseLess()(strOld, strNew) && !CNoCaseLess()(strNew, strOld)) return true;
  if (Exists(strNew)) return false;
  const int* pPos = m_index.Find(strOld);
  if (pPos == nullptr) return false;
  const size_t nPos = static_cast<size_t>(*pPos);
  CItem& item = m_items[nPos];
  const CString strPrevious = item.first;  // the text the old entry points at, until it is erased
  Replace(nPos, CItem(strNew, std::move(item.second)));
  try {
    m_index.Insert(m_items[nPos].first, static_cast<int>(nPos));
  } catch (...) {
    Replace(nPos, CItem(strPrevious, std::move(m_items[nPos].second)));
    throw;
  }
  m_index.Erase(strPrevious);
  return true;
}

template <class T>
void CNamedArray<T>::RemoveAll() {
  m_index.Clear();
  m_items.clear();
}

template <class T>
void CNamedArray<T>::Compact() {
  m_index.Shrink();
  m_items.shrink_to_fit();
}

template <class T>
CNamedArray<T>::CNamedArray(const CNamedArray& other) : m_items(other.m_items), m_index(other.m_index) {
  // The copied entries point at the source's texts; the copy's own items
  // hold the same bytes at the same positions.
  m_index.ForEach([this](const CIndexName& name, int& nPos) {
    name.m_pszName = m_items[static_cast<size_t>(nPos)].first;
  });
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
void CNamedArray<T>::ReserveMore(size_t nMore) {
  const size_t nNeeded = m_items.size() + nMore;
  if (nNeeded > m_items.capacity()) m_items.reserve(std::max(nNeeded, 2 * m_items.capacity()));
}

template <class T>
void CNamedArray<T>::IndexAppended(int nFirst) {
  try {
    if (m_index.empty() && nFirst == 0) {
      IndexAllAppended();
      return;
    }
    // Into an index that has entries already: one lookup per item. Kept
    // items move forward over dropped ones before they are indexed, so that
    // every index entry gives the place its item keeps.
    int nKept = nFirst;
    for (size_t i = static_cast<size_t>(nFirst); i < m_items.size(); ++i) {
      CIndexName name(m_items[i].first);
      if (const int* pPos = m_index.Find(name)) {
        m_items[static_cast<size_t>(*pPos)].second = std::move(m_items[i].second);
        continue;
      }
      if (static_cast<size_t>(nKept) != i) Replace(static_cast<size_t>(nKept), std::move(m_items[i]));
      name.m_pszName = m_items[static_cast<size_t>(nKept)].first;
      m_index.Insert(name, nKept);
      ++nKept;
    }
    m_items.resize(static_cast<size_t>(nKept));
  } catch (...) {
    m_items.resize(m_index.size());
    throw;
  }
}

template <class T>
void CNamedArray<T>::IndexAllAppended() {
  std::vector<CIndexEntry> names;
  names.reserve(m_items.size());
  for (size_t i = 0; i < m_items.size(); ++i) names.emplace_back(m_items[i].first, static_cast<int>(i));
  const CIndexLess less;
  // Of the items of one name the first comes first: positions decide ties.
  auto ByName = [&less](const CIndexEntry& a, const CIndexEntry& b) {
    if (less(a.name, b.name)) return true;
    return !less(b.name, a.name) && a.nPos < b.nPos;
  };
  if (!std::is_sorted(names.begin(), names.end(), ByName)) std::sort(names.begin(), names.end(), ByName);

  // Items of one name: the first takes the last one's value, the others go.
  std::vector<bool> abDropped;
  for (size_t i = 1; i < names.size(); ++i) {
    if (less(names[i - 1].name, names[i].name)) continue;
    if (abDropped.empty()) abDropped.resize(m_items.size());
    size_t nLast = i;
    while (nLast + 1 < names.size() && !less(names[nLast].name, names[nLast + 1].name)) ++nLast;
    m_items[static_cast<size_t>(names[i - 1].nPos)].second =
        std::move(m_items[static_cast<size_t>(names[nLast].nPos)].second);
    for (size_t j = i; j <= nLast; ++j) abDropped[static_cast<size_t>(names[j].nPos)] = true;
    i = nLast;
  }
  if (!abDropped.empty()) {
    // Close the gaps, then give each kept name its new place.
    std::vector<int> anPlace(m_items.size());
    size_t nKept = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
      anPlace[i] = static_cast<int>(nKept);
      if (abDropped[i]) continue;
      if (nKept != i) Replace(nKept, std::move(m_items[i]));
      ++nKept;
    }
    m_items.resize(nKept);
    std::vector<CIndexEntry> kept;
    kept.reserve(nKept);
    for (const CIndexEntry& entry : names) {
      if (abDropped[static_cast<size_t>(entry.nPos)]) continue;
      kept.push_back({entry.name, anPlace[static_cast<size_t>(entry.nPos)]});
    }
    // A moved item takes its name's text along unmoved, so each kept entry
    // still points at its item's text.
    names.swap(kept);
  }
  m_index.Assign(std::move(names));
}
