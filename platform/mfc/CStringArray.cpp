// CStringArray implementation.
#include "CStringArray.h"

void CStringArray::SetAtGrow(int nIndex, const CString& value) {
  if (nIndex < 0) return;
  if (static_cast<size_t>(nIndex) >= m_items.size()) m_items.resize(static_cast<size_t>(nIndex) + 1);
  m_items[static_cast<size_t>(nIndex)] = value;
}

int CStringArray::Add(const CString& value) {
  m_items.push_back(value);
  return GetSize() - 1;
}

void CStringArray::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize()) return;
  if (nCount > GetSize() - nIndex) nCount = GetSize() - nIndex;
  m_items.erase(m_items.begin() + nIndex, m_items.begin() + nIndex + nCount);
}
