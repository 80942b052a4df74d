// CLspMessageReader: cuts the client's byte stream into message bodies
// (header lines, an empty line, then Content-Length bytes), whatever
// arrives: partial reads, garbage, headers without a length.
#pragma once

#include <cstddef>
#include <string>

namespace nimbo {
namespace lsp {

class CLspMessageReader {
 public:
  // Largest body accepted; a header announcing more is dropped as garbage.
  static const size_t kMaxBody = 256u * 1024u * 1024u;
  // Largest header block; a longer one without its empty line is garbage.
  static const size_t kMaxHeader = 16u * 1024u;

  enum EResult { resultNeedMore, resultMessage, resultSkipped };

  // Appends bytes read from the client.
  void Feed(const char* pData, size_t nSize);

  // resultMessage: strBody holds the next body. resultSkipped: bytes that
  // do not form a message were dropped, strProblem says why (call again).
  // resultNeedMore: no complete message yet.
  EResult Next(std::string& strBody, std::string& strProblem);

  // Bytes held that do not yet form a message (a body cut short at the end
  // of the stream, for instance).
  size_t Pending() const { return m_strBuffer.size() - m_nStart; }

 private:
  // Drops the buffer's bytes up to the next line that could begin a header
  // block ("Content-Length:"), or all but a possible partial start.
  void Resync();
  void Compact();

  std::string m_strBuffer;
  size_t m_nStart = 0;  // first unread byte of m_strBuffer
};

// The framed form of a body: its Content-Length header, an empty line, the body.
std::string FrameMessage(const std::string& strBody);

}  // namespace lsp
}  // namespace nimbo
