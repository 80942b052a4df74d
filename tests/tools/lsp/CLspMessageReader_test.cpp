// The framing reader: messages come out whole however the bytes arrive.
#include "tools/lsp/CLspMessageReader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using nimbo::lsp::CLspMessageReader;

std::vector<std::string> ReadAll(const std::string& strStream, size_t nChunk) {
  CLspMessageReader reader;
  std::vector<std::string> bodies;
  for (size_t nAt = 0; nAt < strStream.size(); nAt += nChunk) {
    reader.Feed(strStream.data() + nAt, std::min(nChunk, strStream.size() - nAt));
    std::string strBody;
    std::string strProblem;
    for (CLspMessageReader::EResult eResult;
         (eResult = reader.Next(strBody, strProblem)) != CLspMessageReader::resultNeedMore;)
      bodies.push_back(eResult == CLspMessageReader::resultMessage ? strBody : "skipped");
  }
  return bodies;
}

TEST(CLspMessageReader, SameMessagesWhateverTheReadSize) {
  const std::string strStream = nimbo::lsp::FrameMessage("{\"a\":1}") +
                                "content-length:  3 \nContent-Type: x\n\n[1]" +  // bare line feeds, any case
                                "\r\n" + nimbo::lsp::FrameMessage("") + nimbo::lsp::FrameMessage("{\"\xC3\xA9\":2}");
  const std::vector<std::string> expected = {"{\"a\":1}", "[1]", "", "{\"\xC3\xA9\":2}"};
  for (size_t nChunk : {1u, 2u, 7u, 4096u}) EXPECT_EQ(ReadAll(strStream, nChunk), expected) << nChunk;
}

TEST(CLspMessageReader, GarbageIsSkippedUpToTheNextHeader) {
  const std::string strStream = "junk\r\n" + nimbo::lsp::FrameMessage("1") + "Content-Length: 1x\r\n\r\n" +
                                "Content-Lengt" + nimbo::lsp::FrameMessage("2");
  for (size_t nChunk : {1u, 3u, 4096u}) {
    std::vector<std::string> bodies = ReadAll(strStream, nChunk);
    const auto itSkipped = std::remove(bodies.begin(), bodies.end(), "skipped");
    EXPECT_GE(bodies.end() - itSkipped, 2) << nChunk;
    bodies.erase(itSkipped, bodies.end());
    EXPECT_EQ(bodies, (std::vector<std::string>{"1", "2"})) << nChunk;
  }
}

TEST(CLspMessageReader, ABodyCutShortWaitsAndStaysPending) {
  CLspMessageReader reader;
  const std::string strPart = "Content-Length: 10\r\n\r\n{\"a\"";
  reader.Feed(strPart.data(), strPart.size());
  std::string strBody;
  std::string strProblem;
  EXPECT_EQ(reader.Next(strBody, strProblem), CLspMessageReader::resultNeedMore);
  EXPECT_EQ(reader.Pending(), strPart.size());
}

// A wrong Content-Length costs at most its own message, and a request whose
// length is too long is answered without waiting for bytes that never come.
TEST(CLspMessageReader, AWrongLengthCostsAtMostItsMessage) {
  using nimbo::lsp::FrameMessage;
  struct CCase {
    const char* pszName;
    std::string strStream;
    std::vector<std::string> bodies;
  };
  const CCase cases[] = {
      {"too long, the next message after it", "Content-Length: 27\r\n\r\n{\"id\":1}" + FrameMessage("{\"id\":2}"),
       {"{\"id\":1}", "skipped", "{\"id\":2}"}},
      {"too long, nothing after it", "Content-Length: 99\r\n\r\n{\"id\":[1,\"]\"]}", {"{\"id\":[1,\"]\"]}"}},
      {"blanks after the value, within the length", "Content-Length: 7\r\n\r\n[1]\r\n \n" + FrameMessage("2"), {"[1]", "2"}},
      {"too long, garbage after it", "Content-Length: 30\r\n\r\n{\"a\":1}xyz" + FrameMessage("{\"b\":2}"),
       {"{\"a\":1}", "skipped", "{\"b\":2}"}},
      {"a broken body holding the next header",
       "Content-Length: 40\r\n\r\n{\"id\":\"x" + FrameMessage("{\"id\":2}") + FrameMessage("{\"id\":3}"),
       {"{\"id\":\"x", "{\"id\":2}", "{\"id\":3}"}},
      {"too short", "Content-Length: 5\r\n\r\n{\"a\":1}" + FrameMessage("{\"b\":2}"),
       {"{\"a\":", "skipped", "{\"b\":2}"}},
      {"a header's text inside a string is text",
       FrameMessage("{\"t\":\"Content-Length: 5\\r\\n\\r\\n\"}") + FrameMessage("[]"),
       {"{\"t\":\"Content-Length: 5\\r\\n\\r\\n\"}", "[]"}},
  };
  for (const CCase& c : cases)
    for (size_t nChunk : {1u, 3u, 4096u}) EXPECT_EQ(ReadAll(c.strStream, nChunk), c.bodies) << c.pszName << ", " << nChunk;
}

}  // namespace
