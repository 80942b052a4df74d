// CStringList: MFC's doubly linked list of CString, walked with POSITION.
#pragma once

#include "CString.h"

struct __POSITION {};
typedef __POSITION* POSITION;

class CStringList {
 public:
  CStringList() = default;
  CStringList(const CStringList&) = delete;  // MFC lists are not copyable
  CStringList& operator=(const CStringList&) = delete;
  ~CStringList();

  int GetCount() const { return m_nCount; }
  int GetSize() const { return m_nCount; }
  bool IsEmpty() const { return m_nCount == 0; }

  POSITION AddHead(const CString& value);
  POSITION AddTail(const CString& value);
  void RemoveAll();

  CString& GetHead();
  const CString& GetHead() const;
  CString& GetTail();
  const CString& GetTail() const;

  // Iteration: pos = GetHeadPosition(); while (pos) s = GetNext(pos);
  POSITION GetHeadPosition() const;
  POSITION GetTailPosition() const;
  CString& GetNext(POSITION& rPosition);
  const CString& GetNext(POSITION& rPosition) const;
  CString& GetPrev(POSITION& rPosition);
  CString& GetAt(POSITION position);
  const CString& GetAt(POSITION position) const;
  // Position of the first element equal to value after startAfter, or null.
  POSITION Find(LPCTSTR value, POSITION startAfter = nullptr) const;

 private:
  struct CNode : __POSITION {
    CNode* pNext;
    CNode* pPrev;
    CString data;
  };
  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  int m_nCount = 0;
};
