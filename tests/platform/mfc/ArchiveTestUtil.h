// Helpers for the archive tests: storing to bytes, loading from bytes,
// catching archive exceptions by cause, and serializable test classes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CArchive.h"
#include "CMemFile.h"

namespace archive_test {

using Bytes = std::vector<BYTE>;

// The bytes an archive writes when fnStore runs on it.
Bytes Store(const std::function<void(CArchive&)>& fnStore, int nBufSize = 4096);

// Runs fnLoad on an archive that loads the given bytes. Returns the cause
// of the CArchiveException it raised, or -1 when none was raised. Other
// exceptions pass on.
int Load(const Bytes& bytes, const std::function<void(CArchive&)>& fnLoad, int nBufSize = 4096);

// Concatenation helpers for expected byte strings.
Bytes Join(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text);
Bytes Repeat(BYTE by, size_t nCount);

// A small serializable class: an int and a name.
class CTestPoint : public CObject {
  DECLARE_SERIAL(CTestPoint)

 public:
  CTestPoint();
  CTestPoint(int nX, const char* pszName);
  ~CTestPoint() override;
  void Serialize(CArchive& ar) override;

  int m_nX = 0;
  CString m_strName;
  static int s_nLive;  // instances alive, for leak checks
};

// Derived from CTestPoint, so that requests for CTestPoint accept it.
class CTestPoint3 : public CTestPoint {
  DECLARE_SERIAL(CTestPoint3)

 public:
  void Serialize(CArchive& ar) override;
  int m_nZ = 0;
};

// Unrelated to CTestPoint.
class CTestOther : public CObject {
  DECLARE_SERIAL(CTestOther)

 public:
  void Serialize(CArchive& ar) override;
  WORD m_wValue = 0;
};

// A node that owns a chain of children written as object pointers.
class CTestNode : public CObject {
  DECLARE_SERIAL(CTestNode)

 public:
  CTestNode();
  ~CTestNode() override;
  void Serialize(CArchive& ar) override;

  CString m_strLabel;
  CTestNode* m_pChild = nullptr;  // owned
  static int s_nLive;
};

// A versionable class that records what GetObjectSchema reports.
class CTestVersioned : public CObject {
  DECLARE_SERIAL(CTestVersioned)

 public:
  void Serialize(CArchive& ar) override;
  UINT m_nFirstSchema = 0;
  UINT m_nSecondSchema = 0;
};

// Classes with the longest name an archive accepts (63 bytes) and the
// shortest it refuses (64 bytes).
class CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX : public CObject {
  DECLARE_SERIAL(CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX)
};
class CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY : public CObject {
  DECLARE_SERIAL(CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY)
};
using CTestName63 = CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX;
using CTestName64 = CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY;
inline const CRuntimeClass* Name63Class() { return RUNTIME_CLASS(CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX); }
inline const CRuntimeClass* Name64Class() { return RUNTIME_CLASS(CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY); }

}  // namespace archive_test
