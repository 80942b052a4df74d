// Columns in both position encodings, and 8-bit text made valid UTF-8.
#include "tools/lsp/LspText.h"

#include <gtest/gtest.h>

namespace {

using namespace nimbo::lsp;

TEST(LspText, ColumnsAndOffsetsInBothEncodings) {
  // "é" is 2 bytes, one UTF-16 unit; the emoji 4 bytes, two units; a lone
  // 0xE9 (Latin-1) one byte and one unit.
  const std::string strLine = "a\xC3\xA9\xF0\x9F\x98\x80\xE9z";
  struct CCase {
    long long nColumn;
    EPositionEncoding eEncoding;
    size_t nOffset;
  };
  const CCase cases[] = {
      {0, encodingUtf16, 0}, {2, encodingUtf16, 3}, {3, encodingUtf16, 3},  // inside the pair: before it
      {4, encodingUtf16, 7}, {5, encodingUtf16, 8}, {6, encodingUtf16, 9},  {99, encodingUtf16, 9},
      {-1, encodingUtf16, 0}, {3, encodingUtf8, 3},  {99, encodingUtf8, 9},
  };
  for (const CCase& c : cases) {
    EXPECT_EQ(ByteOffsetOfColumn(strLine, c.nColumn, c.eEncoding), c.nOffset) << c.nColumn;
    if (c.nColumn >= 0 && c.nColumn <= 6 && c.nColumn != 3) {
      EXPECT_EQ(ColumnOfByteOffset(strLine, c.nOffset, c.eEncoding), c.nColumn);
    }
  }
}

TEST(LspText, LinesSplitAtEveryTerminator) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\n\nd"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_EQ(SplitLines("a\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitLines(""), (std::vector<std::string>{""}));
}

TEST(LspText, EightBitBytesBecomeLatin1Characters) {
  EXPECT_EQ(ToUtf8("caf\xE9 \xC3\xA9"), "caf\xC3\xA9 \xC3\xA9");
  EXPECT_EQ(ToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // an encoded surrogate is not UTF-8
}

}  // namespace
