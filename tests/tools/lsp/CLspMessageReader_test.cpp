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
  const std::string strPart = "Content-Length: 10\r\n\r\n{}";
  reader.Feed(strPart.data(), strPart.size());
  std::string strBody;
  std::string strProblem;
  EXPECT_EQ(reader.Next(strBody, strProblem), CLspMessageReader::resultNeedMore);
  EXPECT_EQ(reader.Pending(), strPart.size());
}

}  // namespace
