// CStringArray: MFC's growable array of CString.
#pragma once

#include <vector>

#include "CString.h"

class CStringArray {
 public:
  CStringArray() = default;
  CStringArray(const CStringArray&) = delete;  // MFC arrays are not copyable
  CStringArray& operator=(const CStringArray&) = delete;

  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return m_items.empty(); }
  void SetSize(int nNewSize) { m_items.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0); }

  const CString& GetAt(int nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
  CString& ElementAt(int nIndex) { return m_items[static_cast<size_t>(nIndex)]; }
  void SetAt(int nIndex, const CString& value) { m_items[static_cast<size_t>(nIndex)] = value; }
  // Stores value at nIndex, growing the array with empty strings as needed.
  void SetAtGrow(int nIndex, const CString& value);
  int Add(const CString& value);
  void RemoveAt(int nIndex, int nCount = 1);
  void RemoveAll() { m_items.clear(); }

  CString& operator[](int nIndex) { return ElementAt(nIndex); }
  const CString& operator[](int nIndex) const { return GetAt(nIndex); }

 private:
  std::vector<CString> m_items;
};
