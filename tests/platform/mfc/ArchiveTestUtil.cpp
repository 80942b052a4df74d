// Definitions of the archive test helpers and test classes.
#include "ArchiveTestUtil.h"

#include "ExceptionCause.h"

namespace archive_test {

Bytes Store(const std::function<void(CArchive&)>& fnStore, int nBufSize) {
  CMemFile file;
  CArchive ar(&file, CArchive::store, nBufSize);
  fnStore(ar);
  ar.Close();
  return file.GetBytes();
}

int Load(const Bytes& bytes, const std::function<void(CArchive&)>& fnLoad, int nBufSize) {
  Bytes copy = bytes;
  CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
  CArchive ar(&file, CArchive::load, nBufSize);
  return nimbotest::CauseOf<CArchiveException>([&] { fnLoad(ar); });
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Repeat(BYTE by, size_t nCount) { return Bytes(nCount, by); }

int CTestPoint::s_nLive = 0;
int CTestNode::s_nLive = 0;

IMPLEMENT_SERIAL_NOINIT(CTestPoint, CObject, 1)
IMPLEMENT_SERIAL_NOINIT(CTestPoint3, CTestPoint, 1)
IMPLEMENT_SERIAL_NOINIT(CTestOther, CObject, 3)
IMPLEMENT_SERIAL_NOINIT(CTestNode, CObject, 1)
IMPLEMENT_SERIAL_NOINIT(CTestVersioned, CObject, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL_NOINIT(CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX, CObject, 1)
IMPLEMENT_SERIAL_NOINIT(CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY, CObject, 1)

namespace {
AFX_CLASSINIT g_initPoint(RUNTIME_CLASS(CTestPoint));
AFX_CLASSINIT g_initPoint3(RUNTIME_CLASS(CTestPoint3));
AFX_CLASSINIT g_initOther(RUNTIME_CLASS(CTestOther));
AFX_CLASSINIT g_initNode(RUNTIME_CLASS(CTestNode));
AFX_CLASSINIT g_initVersioned(RUNTIME_CLASS(CTestVersioned));
AFX_CLASSINIT g_initName63(RUNTIME_CLASS(CTestClassNameOfSixtyThreeBytesXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX));
AFX_CLASSINIT g_initName64(RUNTIME_CLASS(CTestClassNameOfSixtyFourBytesYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYYY));
}  // namespace

CTestPoint::CTestPoint() { ++s_nLive; }

CTestPoint::CTestPoint(int nX, const char* pszName) : m_nX(nX), m_strName(pszName) { ++s_nLive; }

CTestPoint::~CTestPoint() { --s_nLive; }

void CTestPoint::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_nX << m_strName;
  else
    ar >> m_nX >> m_strName;
}

void CTestPoint3::Serialize(CArchive& ar) {
  CTestPoint::Serialize(ar);
  if (ar.IsStoring())
    ar << m_nZ;
  else
    ar >> m_nZ;
}

void CTestOther::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar << m_wValue;
  else
    ar >> m_wValue;
}

CTestNode::CTestNode() { ++s_nLive; }

CTestNode::~CTestNode() {
  delete m_pChild;
  --s_nLive;
}

void CTestNode::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_strLabel;
    ar << m_pChild;
  } else {
    ar >> m_strLabel;
    ar >> m_pChild;
  }
}

void CTestVersioned::Serialize(CArchive& ar) {
  if (ar.IsLoading()) {
    m_nFirstSchema = ar.GetObjectSchema();
    m_nSecondSchema = ar.GetObjectSchema();
  }
}

}  // namespace archive_test
