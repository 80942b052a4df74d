// CLspMessageReader: cuts the client's byte stream into message bodies
// (header lines, an empty line, then Content-Length bytes), whatever
// arrives: partial reads, garbage, headers without a length, and lengths
// that do not fit their body.
//
// A wrong Content-Length costs at most the message it belongs to. A body
// whose JSON object (or array) ends before its announced length is handed
// over as soon as that end has arrived, and the reader goes on with the
// next header after it (what stands between, other than blanks, is
// dropped as garbage). A body that holds, before its value could end, a
// complete header block (a "Content-Length" line and the empty line after
// it: raw line breaks that valid JSON never has) is cut there, and the
// reader goes on from that header. A too short length leaves the rest of
// its body to be read as garbage up to the next header.
#pragma once

#include <cstddef>
#include <string>

#include "tools/lsp/CLspJsonExtent.h"

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

  // resultMessage: strBody holds the next body; strProblem is empty, or
  // says how its framing was wrong (the body was cut at a header inside
  // it). resultSkipped: something in the stream was wrong, strProblem says
  // what (bytes that do not form a message may have been dropped); call
  // again. resultNeedMore: no complete message yet.
  EResult Next(std::string& strBody, std::string& strProblem);

  // Bytes held that do not yet form a message (a body cut short at the end
  // of the stream, for instance).
  size_t Pending() const { return m_strBuffer.size() - m_nStart; }

 private:
  enum EHeader { headerNeedMore, headerComplete, headerBad };
  // Reads the header block at nAt: its Content-Length and where its body
  // begins, or why it is no header block. Blank lines before it are
  // passed over (nAt moves past them).
  EHeader ReadHeader(size_t& nAt, size_t& nLength, size_t& nBody, std::string& strProblem) const;
  // The first complete header block beginning in [nFrom, nTo), or npos;
  // nFrom moves to where the search must go on once more bytes come.
  size_t FindHeaderInside(size_t& nFrom, size_t nTo) const;
  // After a body that ended before its length: passes blanks; false when
  // more bytes are needed to see what follows.
  bool SettleOwed(std::string& strProblem);
  // Drops the buffer's bytes up to the next line that could begin a header
  // block ("Content-Length:"), or all but a possible partial start.
  void Resync();
  void MoveTo(size_t nStart);
  void Compact();

  std::string m_strBuffer;
  size_t m_nStart = 0;  // first unread byte of m_strBuffer
  // The body being waited for: where it begins, how far its value was
  // scanned, and how far headers inside it were searched.
  size_t m_nBody = std::string::npos;
  CLspJsonExtent m_extent;
  size_t m_nSearched = 0;
  // Bytes that the last header announced beyond the end of its value.
  size_t m_nOwed = 0;
  size_t m_nOwedLength = 0;  // that header's Content-Length
};

// The framed form of a body: its Content-Length header, an empty line, the body.
std::string FrameMessage(const std::string& strBody);

}  // namespace lsp
}  // namespace nimbo
