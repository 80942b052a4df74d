// An archive is untrusted input: truncated data and lengths that claim more
// than the data holds raise endOfFile, without large allocations or leaks.
#include "CArchive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include <unistd.h>

#include "CFile.h"
#include "ArchiveTestUtil.h"
#include "ExceptionCause.h"

// The largest single allocation since the probe was reset, for the checks
// that crafted lengths do not turn into allocations. The replacement pair
// below allocates with malloc and frees with free; GCC cannot see that they
// belong together and warns about a mismatch that is not there.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<size_t> g_nLargestAllocation{0};
}  // namespace

void* operator new(size_t nSize) {
  size_t nSeen = g_nLargestAllocation.load();
  while (nSize > nSeen && !g_nLargestAllocation.compare_exchange_weak(nSeen, nSize)) {
  }
  void* p = std::malloc(nSize != 0 ? nSize : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

using archive_test::Bytes;
using archive_test::CTestNode;
using archive_test::CTestPoint;
using archive_test::Join;
using archive_test::Load;
using archive_test::Store;

// No allocation may exceed the archive's own buffer (its default size).
const size_t kArchiveBuffer = 4096;

TEST(ArchiveLimits, EveryTruncationRaisesEndOfFileWithoutLeaks) {
  CTestNode root;
  root.m_strLabel = "root";
  root.m_pChild = new CTestNode;
  root.m_pChild->m_strLabel = CString('L', 300);
  CTestPoint point(7, "pt");
  Bytes bytes = Store([&](CArchive& ar) {
    ar << &root << &point << &point;
    ar.WriteCount(70000);
    ar << CString('s', 1000) << static_cast<DWORD>(1);
  });
  // The count promises 70000 elements; supply them as one-byte values.
  bytes = Join({bytes, Bytes(70000, 0)});
  auto fnLoad = [](CArchive& ar) {
    CTestNode* pRoot = nullptr;
    CObject* pPoint = nullptr;
    CObject* pAgain = nullptr;
    ar >> pRoot;
    std::unique_ptr<CTestNode> ownRoot(pRoot);
    ar >> pPoint;
    std::unique_ptr<CObject> ownPoint(pPoint);
    ar >> pAgain;
    DWORD_PTR nCount = ar.ReadCount();
    CString str;
    DWORD dw = 0;
    ar >> str >> dw;
    for (DWORD_PTR i = 0; i < nCount; ++i) {
      BYTE by;
      ar >> by;
    }
  };
  ASSERT_EQ(Load(bytes, fnLoad), -1);
  ASSERT_EQ(CTestNode::s_nLive, 2);
  ASSERT_EQ(CTestPoint::s_nLive, 1);
  // Every cut before the end of the objects and strings, and a sample of
  // cuts inside the counted bytes.
  size_t nObjectsEnd = bytes.size() - 70000;
  for (size_t nCut = 0; nCut < bytes.size(); nCut += nCut < nObjectsEnd ? 1 : 9973) {
    for (int nBufSize : {128, 4096}) {
      Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(nCut));
      ASSERT_EQ(Load(cut, fnLoad, nBufSize), CArchiveException::endOfFile) << "cut at " << nCut;
      ASSERT_EQ(CTestNode::s_nLive, 2) << "cut at " << nCut;
      ASSERT_EQ(CTestPoint::s_nLive, 1) << "cut at " << nCut;
    }
  }
}

TEST(ArchiveLimits, HugeStringLengthsFailBeforeAllocating) {
  struct Case {
    const char* pszWhat;
    Bytes bytes;
  } cases[] = {
      {"4 GB string", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'}},
      {"64 KB string", {0xFF, 0xFD, 0xFF, 'a', 'b', 'c'}},
      {"2 G wide characters", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}},
      {"one byte too long", {0x04, 'a', 'b', 'c'}},
  };
  for (const Case& c : cases) {
    CString str("before");
    g_nLargestAllocation = 0;
    EXPECT_EQ(Load(c.bytes, [&](CArchive& ar) { ar >> str; }), CArchiveException::endOfFile) << c.pszWhat;
    EXPECT_LE(g_nLargestAllocation.load(), kArchiveBuffer) << c.pszWhat;
    EXPECT_EQ(str, "before") << c.pszWhat;
  }
}

TEST(ArchiveLimits, CountsLargerThanTheRestAreReadAsWritten) {
  // The reader of the elements runs into the end of the data; the count
  // itself is no error, so what came before the cut can be kept.
  DWORD_PTR nCount = 0;
  EXPECT_EQ(Load({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}, [&](CArchive& ar) { nCount = ar.ReadCount(); }), -1);
  EXPECT_EQ(nCount, 0xFFFFFFFFu);
  EXPECT_EQ(Load({0x03, 0x00, 1, 2}, [&](CArchive& ar) { nCount = ar.ReadCount(); }), -1);
  EXPECT_EQ(nCount, 3u);
}

// A temporary directory removed with its files at the end of the test.
class TempDir {
 public:
  TempDir() {
    char szTemplate[] = "/tmp/nimbo_archive_XXXXXX";
    m_strPath = mkdtemp(szTemplate);
  }
  ~TempDir() { std::system(("rm -rf '" + m_strPath + "'").c_str()); }
  std::string File(const char* pszName) const { return m_strPath + "/" + pszName; }

 private:
  std::string m_strPath;
};

TEST(ArchiveLimits, FileArchivesKnowTheBytesLeft) {
  TempDir dir;
  std::string strPath = dir.File("long.bin");
  // A string that claims 1 MB, in a file of 200 KB: more than the buffer
  // holds, so the file's length decides.
  Bytes bytes = Join({{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x10, 0x00}, Bytes(200000, 'x')});
  {
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
  }
  CFile file(strPath.c_str(), CFile::modeRead);
  CArchive ar(&file, CArchive::load);
  g_nLargestAllocation = 0;
  int nCause = -1;
  try {
    CString str;
    ar >> str;
  } catch (CArchiveException* e) {
    nCause = e->m_cause;
    EXPECT_EQ(e->m_strFileName.Str(), strPath);
    e->Delete();
  }
  EXPECT_EQ(nCause, CArchiveException::endOfFile);
  EXPECT_LE(g_nLargestAllocation.load(), kArchiveBuffer);
}

TEST(ArchiveLimits, StreamsThatCannotSeekReadLongStringsInSlices) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const BYTE header[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
  ASSERT_EQ(write(fds[1], header, sizeof header), static_cast<ssize_t>(sizeof header));
  close(fds[1]);
  char szPath[64];
  std::snprintf(szPath, sizeof szPath, "/dev/fd/%d", fds[0]);
  CFile file;
  ASSERT_TRUE(file.Open(szPath, CFile::modeRead));
  close(fds[0]);
  CArchive ar(&file, CArchive::load);
  g_nLargestAllocation = 0;
  CString str;
  EXPECT_EQ(nimbotest::CauseOf<CArchiveException>([&] { ar >> str; }), CArchiveException::endOfFile);
  EXPECT_LE(g_nLargestAllocation.load(), 256u * 1024u);
  ar.Abort();
}

}  // namespace
