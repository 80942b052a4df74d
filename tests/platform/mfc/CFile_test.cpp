// CFile over disk files and devices, CMemFile in memory, and archives over files.
#include "CFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "CArchive.h"
#include "CMemFile.h"
#include "ArchiveTestUtil.h"
#include "CScratchDir.h"
#include "ExceptionCause.h"

namespace {

using archive_test::Bytes;
using archive_test::CTestNode;
using archive_test::CTestPoint;

class FileTest : public ::testing::Test {
 protected:
  std::string Path(const char* pszName) const { return m_dir.PathOf(pszName); }

  CScratchDir m_dir;
};

std::string ReadAll(const std::string& strPath) {
  std::string text;
  if (FILE* f = std::fopen(strPath.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

// The CFileException cause fn throws, or -1.
template <class F>
int FileCause(F fn) {
  return nimbotest::CauseOf<CFileException>(fn);
}

TEST_F(FileTest, OpenModesCreateTruncateAndKeep) {
  std::string strPath = Path("a.bin");
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(strPath.c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName.Str(), strPath);
  EXPECT_EQ(FileCause([&] { CFile f(strPath.c_str(), CFile::modeRead); }), CFileException::fileNotFound);

  ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
  file.Write("hello world", 11);
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(file.GetFilePath().Str(), strPath);
  EXPECT_EQ(file.GetFileName(), "a.bin");
  file.Close();
  EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(strPath), "hello world");

  // modeNoTruncate keeps the content; writing starts at the beginning.
  ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
  EXPECT_EQ(file.GetLength(), 11u);
  file.Write("J", 1);
  file.SeekToEnd();
  file.Write("!", 1);
  file.Close();
  EXPECT_EQ(ReadAll(strPath), "Jello world!");

  // modeCreate alone truncates.
  ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeWrite));
  file.Close();
  EXPECT_EQ(ReadAll(strPath), "");

  // A directory is not a file.
  EXPECT_FALSE(file.Open(m_dir.GetPath().c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
}

TEST_F(FileTest, ReadSeekAndLength) {
  std::string strPath = Path("b.bin");
  {
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write("0123456789", 10);
  }
  CFile file(strPath.c_str(), CFile::modeRead);
  char buf[16] = {};
  EXPECT_EQ(file.Read(buf, 4), 4u);
  EXPECT_EQ(std::string(buf, 4), "0123");
  EXPECT_EQ(file.GetPosition(), 4u);
  EXPECT_EQ(file.Seek(-2, CFile::end), 8u);
  EXPECT_EQ(file.Read(buf, 16), 2u);
  EXPECT_EQ(std::string(buf, 2), "89");
  EXPECT_EQ(file.Read(buf, 16), 0u);
  EXPECT_EQ(FileCause([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
  EXPECT_EQ(file.GetPosition(), 10u) << "a refused seek leaves the position";
  // Writing to a file opened for reading fails.
  EXPECT_EQ(FileCause([&] { file.Write("x", 1); }), CFileException::accessDenied);
}

TEST_F(FileTest, WriteFailuresThrow) {
  CFile full;
  if (!full.Open("/dev/full", CFile::modeWrite)) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(FileCause([&] { full.Write("data", 4); }), CFileException::diskFull);

  // An archive passes the failure on when it flushes, and its destructor
  // swallows it.
  EXPECT_EQ(FileCause([&] {
              CArchive ar(&full, CArchive::store);
              ar << CString("abc");
              ar.Close();
            }),
            CFileException::diskFull);
  EXPECT_EQ(FileCause([&] {
              CArchive ar(&full, CArchive::store);
              ar << CString("abc");
            }),
            -1);
  // A closed file refuses everything.
  CFile closed;
  EXPECT_EQ(FileCause([&] { closed.Write("x", 1); }), CFileException::invalidFile);
  EXPECT_EQ(FileCause([&] { closed.GetLength(); }), CFileException::invalidFile);
}

TEST_F(FileTest, ArchiveRoundTripThroughADiskFile) {
  std::string strPath = Path("doc.bin");
  CTestNode root;
  root.m_strLabel = "root";
  root.m_pChild = new CTestNode;
  root.m_pChild->m_strLabel = CString('c', 5000);
  {
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store, 256);
    ar << 0x01020304 << &root;
    ar.WriteCount(3);
    ar << CString("x") << CString("") << CString("zz");
    ar.Close();
    file.Close();
  }
  std::string data = ReadAll(strPath);
  ASSERT_GE(data.size(), 4u);
  EXPECT_EQ(data.substr(0, 4), std::string("\x04\x03\x02\x01", 4));

  CFile file(strPath.c_str(), CFile::modeRead);
  CArchive ar(&file, CArchive::load, 256);
  EXPECT_EQ(ar.m_strFileName.Str(), strPath);
  int n = 0;
  CTestNode* pRoot = nullptr;
  ar >> n >> pRoot;
  std::unique_ptr<CTestNode> own(pRoot);
  EXPECT_EQ(n, 0x01020304);
  ASSERT_NE(pRoot, nullptr);
  ASSERT_NE(pRoot->m_pChild, nullptr);
  EXPECT_EQ(pRoot->m_pChild->m_strLabel, root.m_pChild->m_strLabel);
  ASSERT_EQ(ar.ReadCount(), 3u);
  CString s1, s2, s3;
  ar >> s1 >> s2;
  // Closing a loading archive gives the read-ahead back to the file.
  ar.Close();
  EXPECT_EQ(file.GetPosition(), data.size() - 3);
  CArchive rest(&file, CArchive::load);
  rest >> s3;
  EXPECT_EQ(s1, "x");
  EXPECT_EQ(s2, "");
  EXPECT_EQ(s3, "zz");
}

TEST_F(FileTest, ArchiveDestructorFlushesUnlessAskedNotTo) {
  std::string strPath = Path("flush.bin");
  CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
  {
    CArchive ar(&file, CArchive::store);
    ar << CString("kept");
  }
  {
    CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    ar << CString("dropped");
  }
  file.Close();
  EXPECT_EQ(ReadAll(strPath), std::string("\x04kept"));
}

TEST(MemFile, GrowsAndFillsGapsWithZeros) {
  CMemFile file(16);
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_TRUE(file.GetBytes().empty());
  std::string text(100, 'a');
  file.Write(text.data(), 100);
  EXPECT_EQ(file.GetLength(), 100u);
  file.Seek(110, CFile::begin);
  file.Write("z", 1);
  Bytes bytes = file.GetBytes();
  ASSERT_EQ(bytes.size(), 111u);
  EXPECT_EQ(bytes[99], 'a');
  EXPECT_EQ(bytes[100], 0);
  EXPECT_EQ(bytes[109], 0);
  EXPECT_EQ(bytes[110], 'z');

  file.SeekToBegin();
  char buf[200];
  EXPECT_EQ(file.Read(buf, 200), 111u);
  EXPECT_EQ(file.Read(buf, 200), 0u);
  EXPECT_EQ(FileCause([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);

  file.SetLength(5);
  EXPECT_EQ(file.GetLength(), 5u);
  EXPECT_EQ(file.GetPosition(), 5u);
  file.SetLength(8);
  EXPECT_EQ(file.GetBytes(), (Bytes{'a', 'a', 'a', 'a', 'a', 0, 0, 0}));

  BYTE* pBlock = file.Detach();
  ASSERT_NE(pBlock, nullptr);
  EXPECT_EQ(pBlock[0], 'a');
  std::free(pBlock);
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write("b", 1);  // usable again after Detach
  EXPECT_EQ(file.GetBytes(), (Bytes{'b'}));
}

TEST(MemFile, OverACallersBlock) {
  BYTE block[4] = {'w', 'x', 'y', 'z'};
  {
    // Without growth the block is the content, and it cannot grow.
    CMemFile file(block, sizeof block);
    EXPECT_EQ(file.GetLength(), 4u);
    file.Seek(1, CFile::begin);
    file.Write("X", 1);
    EXPECT_EQ(block[1], 'X');
    bool bThrown = false;
    try {
      file.Write("long", 4);
    } catch (CMemoryException* e) {
      bThrown = true;
      e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.Detach(), block);
  }
  {
    // With growth the block is room only; growing copies, and the
    // caller's block is neither reallocated nor freed.
    CMemFile file(block, sizeof block, 8);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("ab", 2);
    EXPECT_EQ(block[0], 'a');
    file.Write("cdefgh", 6);
    EXPECT_EQ(file.GetBytes(), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}));
    EXPECT_EQ(block[2], 'y');
  }
}

TEST(Exceptions, DeleteFreesOnlyThrownObjects) {
  CMemoryException* pCaught = nullptr;
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    pCaught = e;
    e->Delete();  // the shared object is not freed
  }
  ASSERT_NE(pCaught, nullptr);
  EXPECT_FALSE(pCaught->m_bAutoDelete);
  char sz[64];
  EXPECT_TRUE(pCaught->GetErrorMessage(sz, sizeof sz));

  CFileException fileError(CFileException::diskFull, 112, "/tmp/x.ini");
  ASSERT_TRUE(fileError.GetErrorMessage(sz, sizeof sz));
  EXPECT_EQ(std::string(sz), "File error: disk full (/tmp/x.ini)");
  EXPECT_EQ(CFileException::OsErrorToException(2), CFileException::fileNotFound);
  EXPECT_EQ(CFileException::OsErrorToException(112), CFileException::diskFull);
  EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
}

}  // namespace
