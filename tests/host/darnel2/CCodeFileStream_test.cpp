// Tests of the file code stream: opening, reading and the read hook.
#include "darnel2/CCodeFileStream.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "CScratchDir.h"

namespace {

std::string ReadAll(CCodeStream& stream) {
  std::string strText;
  for (int c = stream.GetChar(); c >= 0; c = stream.GetChar()) strText += static_cast<char>(c);
  return strText;
}

TEST(CodeFileStream, OpensAndReadsAFileWithItsZeroAndHighBytes) {
  CScratchDir dir;
  const std::string strText("a\0\xFFz", 4);
  dir.Write("s.nsc", strText);
  CCodeFileStream stream(dir.PathOf("s.nsc").c_str());
  EXPECT_FALSE(stream.IsOpen());
  ASSERT_TRUE(stream.OpenFile());
  EXPECT_TRUE(stream.OpenFile());  // already open
  EXPECT_EQ(stream.PeekChar(2), 0xFF);
  EXPECT_EQ(ReadAll(stream), strText);
  EXPECT_EQ(stream.GetChar(), -1);
  EXPECT_EQ(stream.PeekChar(), -1);
}

TEST(CodeFileStream, FailsForMissingFilesDirectoriesAndEmptyPaths) {
  CScratchDir dir;
  dir.MakeDir("sub.nsc");
  CCodeFileStream missing(dir.PathOf("missing.nsc").c_str());
  EXPECT_FALSE(missing.OpenFile());
  EXPECT_EQ(missing.GetChar(), -1);  // a stream that is not open reads as empty
  CCodeFileStream directory(dir.PathOf("sub.nsc").c_str());
  EXPECT_FALSE(directory.OpenFile());
  CCodeFileStream empty("");
  EXPECT_FALSE(empty.OpenFile());
}

// Installs a read hook for one scope.
struct CReadHookScope {
  explicit CReadHookScope(CCodeFileStream::PFNREADHOOK pfnHook) { CCodeFileStream::SetReadHook(pfnHook); }
  ~CReadHookScope() { CCodeFileStream::SetReadHook(nullptr); }
};

int g_nHookCalls = 0;
void CountingHook(const CString&) { ++g_nHookCalls; }
void ThrowingHook(const CString& strPath) { throw std::runtime_error(strPath.Str()); }

TEST(CodeFileStream, ReadHookSeesEveryBlockReadAndItsExceptionPassesOut) {
  CScratchDir dir;
  dir.Write("big.nsc", std::string(10000, 'x'));
  g_nHookCalls = 0;
  {
    CReadHookScope hook(CountingHook);
    CCodeFileStream stream(dir.PathOf("big.nsc").c_str());
    ASSERT_TRUE(stream.OpenFile());
    EXPECT_EQ(ReadAll(stream).size(), 10000u);
  }
  EXPECT_EQ(g_nHookCalls, 4);  // three 4096-byte blocks, then the read that finds the end

  CReadHookScope hook(ThrowingHook);
  CCodeFileStream stream(dir.PathOf("big.nsc").c_str());
  ASSERT_TRUE(stream.OpenFile());
  EXPECT_THROW(stream.GetChar(), std::runtime_error);
}

}  // namespace
