// CStringList implementation.
#include "CStringList.h"

CStringList::~CStringList() { RemoveAll(); }

POSITION CStringList::AddHead(const CString& value) {
  CNode* node = new CNode;
  node->data = value;
  node->pPrev = nullptr;
  node->pNext = m_pNodeHead;
  if (m_pNodeHead != nullptr)
    m_pNodeHead->pPrev = node;
  else
    m_pNodeTail = node;
  m_pNodeHead = node;
  ++m_nCount;
  return node;
}

POSITION CStringList::AddTail(const CString& value) {
  CNode* node = new CNode;
  node->data = value;
  node->pNext = nullptr;
  node->pPrev = m_pNodeTail;
  if (m_pNodeTail != nullptr)
    m_pNodeTail->pNext = node;
  else
    m_pNodeHead = node;
  m_pNodeTail = node;
  ++m_nCount;
  return node;
}

void CStringList::RemoveAll() {
  CNode* node = m_pNodeHead;
  while (node != nullptr) {
    CNode* next = node->pNext;
    delete node;
    node = next;
  }
  m_pNodeHead = m_pNodeTail = nullptr;
  m_nCount = 0;
}

CString& CStringList::GetHead() { return m_pNodeHead->data; }
const CString& CStringList::GetHead() const { return m_pNodeHead->data; }
CString& CStringList::GetTail() { return m_pNodeTail->data; }
const CString& CStringList::GetTail() const { return m_pNodeTail->data; }

POSITION CStringList::GetHeadPosition() const { return m_pNodeHead; }
POSITION CStringList::GetTailPosition() const { return m_pNodeTail; }

CString& CStringList::GetNext(POSITION& rPosition) {
  CNode* node = static_cast<CNode*>(rPosition);
  rPosition = node->pNext;
  return node->data;
}

const CString& CStringList::GetNext(POSITION& rPosition) const {
  CNode* node = static_cast<CNode*>(rPosition);
  rPosition = node->pNext;
  return node->data;
}

CString& CStringList::GetPrev(POSITION& rPosition) {
  CNode* node = static_cast<CNode*>(rPosition);
  rPosition = node->pPrev;
  return node->data;
}

CString& CStringList::GetAt(POSITION position) { return static_cast<CNode*>(position)->data; }
const CString& CStringList::GetAt(POSITION position) const { return static_cast<CNode*>(position)->data; }

POSITION CStringList::Find(LPCTSTR value, POSITION startAfter) const {
  CNode* node = startAfter != nullptr ? static_cast<CNode*>(startAfter)->pNext : m_pNodeHead;
  for (; node != nullptr; node = node->pNext)
    if (node->data == value) return node;
  return nullptr;
}
