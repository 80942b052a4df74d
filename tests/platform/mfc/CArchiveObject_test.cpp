// Object pointers in an archive: class tags, indices, creation and checks.
#include "CArchive.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "CFile.h"
#include "ArchiveTestUtil.h"
#include "ExceptionCause.h"

namespace {

using archive_test::Bytes;
using archive_test::CTestName63;
using archive_test::CTestName64;
using archive_test::CTestNode;
using archive_test::CTestOther;
using archive_test::CTestPoint;
using archive_test::CTestPoint3;
using archive_test::CTestVersioned;
using archive_test::Join;
using archive_test::Load;
using archive_test::Store;
using archive_test::Text;

// The new-class record of CTestPoint (schema 1).
Bytes PointClass() { return Join({{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}, Text("CTestPoint")}); }

// CTestPoint's Serialize data.
Bytes PointData(BYTE byX, const std::string& name) {
  return Join({{byX, 0, 0, 0, static_cast<BYTE>(name.size())}, Text(name)});
}

TEST(ArchiveObject, NewClassThenKnownClassThenSameObjectThenNull) {
  CTestPoint a(5, "ab");
  CTestPoint b(6, "c");
  Bytes bytes = Store([&](CArchive& ar) { ar << &a << &b << &a << static_cast<CObject*>(nullptr) << &b; });
  // Class 1, object 2; second object by class tag 0x8001 as index 3; then
  // the indices of a (2) and b (3), and the null tag.
  Bytes expected = Join({PointClass(), PointData(5, "ab"), {0x01, 0x80}, PointData(6, "c"), {0x02, 0x00},
                         {0x00, 0x00}, {0x03, 0x00}});
  EXPECT_EQ(bytes, expected);

  int nLiveBefore = CTestPoint::s_nLive;
  CObject* pObs[5] = {};
  ASSERT_EQ(Load(bytes, [&](CArchive& ar) { ar >> pObs[0] >> pObs[1] >> pObs[2] >> pObs[3] >> pObs[4]; }), -1);
  std::unique_ptr<CObject> own0(pObs[0]), own1(pObs[1]);
  EXPECT_EQ(CTestPoint::s_nLive, nLiveBefore + 2) << "a shared object is created once";
  auto* pA = dynamic_cast<CTestPoint*>(pObs[0]);
  auto* pB = dynamic_cast<CTestPoint*>(pObs[1]);
  ASSERT_NE(pA, nullptr);
  ASSERT_NE(pB, nullptr);
  EXPECT_EQ(pA->m_nX, 5);
  EXPECT_EQ(pA->m_strName, "ab");
  EXPECT_EQ(pB->m_nX, 6);
  EXPECT_EQ(pB->m_strName, "c");
  EXPECT_EQ(pObs[2], pObs[0]);
  EXPECT_EQ(pObs[3], nullptr);
  EXPECT_EQ(pObs[4], pObs[1]);
}

TEST(ArchiveObject, TypedExtractionAndDerivedClasses) {
  CTestPoint3 p3;
  p3.m_nX = 1;
  p3.m_nZ = 9;
  CTestOther other;
  other.m_wValue = 0x4242;
  Bytes bytes = Store([&](CArchive& ar) { ar << &p3 << &other; });
  EXPECT_EQ(Join({{0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}, Text("CTestPoint3"), {1, 0, 0, 0, 0}, {9, 0, 0, 0},
                  {0xFF, 0xFF, 0x03, 0x00, 0x0A, 0x00}, Text("CTestOther"), {0x42, 0x42}}),
            bytes);

  // A derived class satisfies a request for its base.
  CTestPoint* pPoint = nullptr;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> pPoint; }), -1);
  std::unique_ptr<CTestPoint> own(pPoint);
  ASSERT_NE(pPoint, nullptr);
  EXPECT_TRUE(pPoint->IsKindOf(RUNTIME_CLASS(CTestPoint3)));
  EXPECT_EQ(static_cast<CTestPoint3*>(pPoint)->m_nZ, 9);

  // An unrelated class does not, and nothing is created for it.
  int nLive = CTestPoint::s_nLive;
  CTestPoint* pWrong = nullptr;
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x03, 0x00, 0x0A, 0x00}, Text("CTestOther"), {0x42, 0x42}}),
                 [&](CArchive& ar) { ar >> pWrong; }),
            CArchiveException::badClass);
  EXPECT_EQ(pWrong, nullptr);
  EXPECT_EQ(CTestPoint::s_nLive, nLive);

  // An object already read is checked against the request as well.
  std::unique_ptr<CObject> first, second;
  EXPECT_EQ(Load(Join({bytes, {0x04, 0x00}}),
                 [&](CArchive& ar) {
                   CObject* p1 = nullptr;
                   CObject* p2 = nullptr;
                   ar >> p1 >> p2;
                   first.reset(p1);
                   second.reset(p2);
                   ar.ReadObject(RUNTIME_CLASS(CTestPoint));  // index 4 is the CTestOther
                 }),
            CArchiveException::badClass);
}

TEST(ArchiveObject, UnknownAndOverlongClassNamesAreBadClass) {
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}, Text("CNoSuchX")}),
                 [](CArchive& ar) { ar.ReadObject(nullptr); }),
            CArchiveException::badClass);
  // 64 bytes of name are refused before they are read.
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00}, Bytes(64, 'A')}),
                 [](CArchive& ar) { ar.ReadObject(nullptr); }),
            CArchiveException::badClass);
  // A zero byte inside the name does not make it match a registered prefix.
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x01, 0x00, 0x0C, 0x00}, Text("CTestPoint"), {0, 'X'}, PointData(1, "")}),
                 [](CArchive& ar) { ar.ReadObject(nullptr); }),
            CArchiveException::badClass);
}

TEST(ArchiveObject, SchemaMismatchIsBadSchemaUnlessVersionable) {
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00}, Text("CTestPoint"), PointData(1, "")}),
                 [](CArchive& ar) { ar.ReadObject(nullptr); }),
            CArchiveException::badSchema);

  // The versionable class (schema 2) stores 2 and accepts any schema; its
  // Serialize sees the archive's schema once.
  CTestVersioned v;
  Bytes bytes = Store([&](CArchive& ar) { ar << &v << &v; });
  EXPECT_EQ(bytes, Join({{0xFF, 0xFF, 0x02, 0x00, 0x0E, 0x00}, Text("CTestVersioned"), {0x02, 0x00}}));

  Bytes other = Join({{0xFF, 0xFF, 0x07, 0x00, 0x0E, 0x00}, Text("CTestVersioned"), {0x01, 0x80}});
  CObject* p1 = nullptr;
  CObject* p2 = nullptr;
  EXPECT_EQ(Load(other, [&](CArchive& ar) { ar >> p1 >> p2; }), -1);
  std::unique_ptr<CObject> own1(p1), own2(p2);
  auto* pV1 = dynamic_cast<CTestVersioned*>(p1);
  auto* pV2 = dynamic_cast<CTestVersioned*>(p2);
  ASSERT_NE(pV1, nullptr);
  ASSERT_NE(pV2, nullptr);
  EXPECT_EQ(pV1->m_nFirstSchema, 7u);
  EXPECT_EQ(pV1->m_nSecondSchema, static_cast<UINT>(-1));
  EXPECT_EQ(pV2->m_nFirstSchema, 7u) << "a known class keeps the archive's schema";

  // Classes that are not versionable report no schema.
  UINT nSchema = 0;
  EXPECT_EQ(Load(Join({PointClass(), PointData(1, "")}),
                 [&](CArchive& ar) {
                   std::unique_ptr<CObject> p(ar.ReadObject(nullptr));
                   nSchema = ar.GetObjectSchema();
                 }),
            -1);
  EXPECT_EQ(nSchema, static_cast<UINT>(-1));
}

TEST(ArchiveObject, BadIndicesAreRefused) {
  Bytes first = Join({PointClass(), PointData(1, "")});  // class 1, object 2
  struct Case {
    const char* pszWhat;
    Bytes tag;
  } cases[] = {
      {"object index past the table", {0x03, 0x00}},
      {"object index naming a class", {0x01, 0x00}},
      {"class index past the table", {0x03, 0x80}},
      {"class index naming an object", {0x02, 0x80}},
      {"class index 0", {0x00, 0x80}},
      {"big object index past the table", {0xFF, 0x7F, 0x09, 0x00, 0x00, 0x00}},
      {"big class index naming an object", {0xFF, 0x7F, 0x02, 0x00, 0x00, 0x80}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(Join({first, c.tag}),
                   [](CArchive& ar) {
                     std::unique_ptr<CObject> p(ar.ReadObject(nullptr));
                     std::unique_ptr<CObject> q(ar.ReadObject(nullptr));
                   }),
              CArchiveException::badIndex)
        << c.pszWhat;
  }
  EXPECT_EQ(CTestPoint::s_nLive, 0);

  // The big forms of valid indices are accepted.
  CObject* pObs[3] = {};
  EXPECT_EQ(Load(Join({first, {0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00}, {0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80},
                       PointData(2, "z")}),
                 [&](CArchive& ar) { ar >> pObs[0] >> pObs[1] >> pObs[2]; }),
            -1);
  std::unique_ptr<CObject> own0(pObs[0]), own2(pObs[2]);
  EXPECT_EQ(pObs[1], pObs[0]);
  ASSERT_NE(pObs[2], nullptr);
  EXPECT_EQ(static_cast<CTestPoint*>(pObs[2])->m_strName, "z");
}

// The bytes of a node labelled "root" with one child labelled "child".
Bytes StoredRootWithChild() {
  CTestNode root;
  root.m_strLabel = "root";
  root.m_pChild = new CTestNode;
  root.m_pChild->m_strLabel = "child";
  return Store([&](CArchive& ar) { ar << &root; });
}

TEST(ArchiveObject, NestedObjectsRoundTrip) {
  const Bytes bytes = StoredRootWithChild();
  EXPECT_EQ(bytes, Join({{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CTestNode"), {4}, Text("root"), {0x01, 0x80},
                         {5}, Text("child"), {0x00, 0x00}}));
  CTestNode* pRead = nullptr;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> pRead; }), -1);
  std::unique_ptr<CTestNode> own(pRead);
  ASSERT_NE(pRead, nullptr);
  EXPECT_EQ(pRead->m_strLabel, "root");
  ASSERT_NE(pRead->m_pChild, nullptr);
  EXPECT_EQ(pRead->m_pChild->m_strLabel, "child");
  EXPECT_EQ(pRead->m_pChild->m_pChild, nullptr);
}

TEST(ArchiveObject, FailedSerializeDeletesTheObject) {
  const Bytes bytes = StoredRootWithChild();
  int nLive = CTestNode::s_nLive;
  // An unknown class for the child: the child is never made, the root is
  // deleted, and the caller gets nothing.
  Bytes broken = bytes;
  broken[broken.size() - 2] = 0x05;  // the child's null tag becomes a bad object index
  CTestNode* pRead = nullptr;
  EXPECT_EQ(Load(broken, [&](CArchive& ar) { ar >> pRead; }), CArchiveException::badIndex);
  EXPECT_EQ(pRead, nullptr);
  EXPECT_EQ(CTestNode::s_nLive, nLive);

  // A caller that goes on reading after the failure cannot reach the
  // deleted objects through their indices.
  Bytes twice = Join({broken, {0x02, 0x00}, {0x03, 0x00}});
  int nFirstCause = -1;
  EXPECT_EQ(Load(twice,
                 [&](CArchive& ar) {
                   try {
                     ar >> pRead;
                   } catch (CArchiveException* e) {
                     nFirstCause = e->m_cause;
                     e->Delete();
                   }
                   ar >> pRead;
                 }),
            CArchiveException::badIndex);
  EXPECT_EQ(nFirstCause, CArchiveException::badIndex);
  EXPECT_EQ(CTestNode::s_nLive, nLive);
}

TEST(ArchiveObject, IndicesFrom0x7FFFUseTheBigTag) {
  // Class 1 and objects 2 to 0x8000, so the next class is 0x8001 and its
  // second object 0x8003: both need the big form.
  const int nPoints = 0x7FFF;
  std::vector<std::unique_ptr<CTestPoint>> points;
  for (int i = 0; i < nPoints; ++i) points.emplace_back(new CTestPoint(i, ""));
  CTestOther other1, other2;
  Bytes bytes = Store([&](CArchive& ar) {
    for (auto& p : points) ar << p.get();
    ar << &other1 << &other2 << points.front().get() << points.back().get() << &other2;
  });
  Bytes expectedTail = Join({Text("CTestOther"), {0x00, 0x00},                     // first CTestOther
                             {0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80}, {0x00, 0x00},  // class 0x8001, big form
                             {0x02, 0x00},                                        // object 2
                             {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00},                // object 0x8000
                             {0xFF, 0x7F, 0x03, 0x80, 0x00, 0x00}});              // object 0x8003
  ASSERT_GT(bytes.size(), expectedTail.size());
  EXPECT_EQ(Bytes(bytes.end() - static_cast<long>(expectedTail.size()), bytes.end()), expectedTail);

  int nLive = CTestPoint::s_nLive;
  EXPECT_EQ(Load(bytes,
                 [&](CArchive& ar) {
                   std::vector<std::unique_ptr<CObject>> read;
                   for (int i = 0; i < nPoints; ++i) read.emplace_back(ar.ReadObject(RUNTIME_CLASS(CTestPoint)));
                   std::unique_ptr<CObject> o1(ar.ReadObject(nullptr));
                   std::unique_ptr<CObject> o2(ar.ReadObject(RUNTIME_CLASS(CTestOther)));
                   EXPECT_EQ(ar.ReadObject(nullptr), read.front().get());
                   EXPECT_EQ(ar.ReadObject(nullptr), read.back().get());
                   EXPECT_EQ(ar.ReadObject(nullptr), o2.get());
                   EXPECT_EQ(static_cast<CTestPoint*>(read.back().get())->m_nX, nPoints - 1);
                   EXPECT_NE(o1, o2);
                 }),
            -1);
  EXPECT_EQ(CTestPoint::s_nLive, nLive);
}

// The cause of the archive exception fnStore raises while storing, or -1.
int StoreCause(const std::function<void(CArchive&)>& fnStore, Bytes* pBytes) {
  int nCause = -1;
  *pBytes = Store([&](CArchive& ar) { nCause = nimbotest::CauseOf<CArchiveException>([&] { fnStore(ar); }); });
  return nCause;
}

TEST(ArchiveObject, NamesOf64BytesAreRefusedEvenForKnownClasses) {
  CTestName63 ok;
  Bytes bytes;
  EXPECT_EQ(StoreCause([&](CArchive& ar) { ar << &ok; }, &bytes), -1);
  ASSERT_EQ(bytes.size(), 6u + 63u);
  EXPECT_EQ(bytes[4], 63);
  CObject* pRead = nullptr;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> pRead; }), -1);
  std::unique_ptr<CObject> own(pRead);
  EXPECT_TRUE(pRead != nullptr && pRead->IsKindOf(archive_test::Name63Class()));

  // Such data is never written, and not read when crafted.
  CTestName64 tooLong;
  EXPECT_EQ(StoreCause([&](CArchive& ar) { ar << &tooLong; }, &bytes), CArchiveException::badClass);
  EXPECT_TRUE(bytes.empty());
  std::string strName = archive_test::Name64Class()->m_lpszClassName;
  ASSERT_EQ(strName.size(), 64u);
  EXPECT_EQ(Load(Join({{0xFF, 0xFF, 0x01, 0x00, 0x40, 0x00}, Text(strName)}),
                 [](CArchive& ar) { std::unique_ptr<CObject> p(ar.ReadObject(nullptr)); }),
            CArchiveException::badClass);
}

TEST(ArchiveObject, ObjectsWithoutASchemaAreNotWritten) {
  CFile notSerializable;  // a CObject whose class has no schema
  Bytes bytes;
  EXPECT_EQ(StoreCause([&](CArchive& ar) { ar << &notSerializable; }, &bytes), CArchiveException::badClass);
  EXPECT_TRUE(bytes.empty());
}

TEST(ArchiveObject, MapObjectMakesLaterReferencesIndices) {
  CTestPoint known(1, "k");
  Bytes bytes = Store([&](CArchive& ar) {
    ar.MapObject(&known);
    ar << &known;
  });
  EXPECT_EQ(bytes, (Bytes{0x01, 0x00}));
  CObject* pRead = nullptr;
  EXPECT_EQ(Load(bytes,
                 [&](CArchive& ar) {
                   ar.MapObject(&known);
                   ar >> pRead;
                 }),
            -1);
  EXPECT_EQ(pRead, &known);
}

}  // namespace
