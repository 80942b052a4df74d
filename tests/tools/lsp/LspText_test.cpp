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

TEST(LspText, JsonTextRepairedAsEditorsDecode) {
  const std::string strFffd = "\xEF\xBF\xBD";
  struct CCase {
    std::string strIn;
    std::string strOut;
    size_t nChanged;
  };
  const CCase cases[] = {
      {R"({"t":"a\ud800b"})", R"({"t":"a\ufffdb"})", 1},                 // a lone high surrogate
      {R"({"t":"\uDC00\ud83d\ude00"})", R"({"t":"\ufffd\ud83d\ude00"})", 1},  // a lone low one; a pair stays
      {R"({"t":"\\ud800"})", R"({"t":"\\ud800"})", 0},                // an escaped backslash, no escape
      {"{\"t\":\"caf\xE9\"}", "{\"t\":\"caf" + strFffd + "\"}", 1},      // a Latin-1 byte
      {"\"\xE2\x82x\"", "\"" + strFffd + "x\"", 1},                      // a cut sequence is one part
      {"\"\xED\xA0\x80\"", "\"" + strFffd + strFffd + strFffd + "\"", 3},  // an encoded surrogate: three
      {"\"\xC3\xA9\xF0\x9F\x98\x80\"", "\"\xC3\xA9\xF0\x9F\x98\x80\"", 0},  // well-formed stays
      {"{\"t\":\"a\tb\"}\n", "{\"t\":\"a\\u0009b\"}\n", 1},              // raw control bytes in strings only
  };
  for (const CCase& c : cases) {
    std::string strText = c.strIn;
    EXPECT_EQ(RepairJsonText(strText), c.nChanged) << c.strIn;
    EXPECT_EQ(strText, c.strOut) << c.strIn;
  }
  EXPECT_EQ(FindJsonStringMember(R"({"a":{"uri" : "file:///x\"y.nsc"}, "uri":"z"})", "uri"), "file:///x\\\"y.nsc");
  EXPECT_EQ(FindJsonStringMember(R"({"uri":7, "uris":"x"})", "uri"), "");
}

}  // namespace
