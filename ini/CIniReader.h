// CIniReader: the one reader of INI text. It takes bytes from a source (a
// file, a memory buffer), cuts them into lines as the C runtime's text mode
// and the document's reader do, tells each line's kind with its number and
// where its bytes lie, and ends with a typed result. CIniFile::Load builds a
// document from it; a caller that wants to know why a read ended, or where
// each line is (an editor of the file's own bytes), reads it directly.
//
// The text: a line ends at LF; a CR directly before the LF belongs to the
// line end, any other CR to the line; a Ctrl-Z byte (0x1A) ends the text as
// the end of the file does. A last line without its LF is reported as a tail
// and is not INI text to the document. Lines have no length limit below the
// reader's maximum (that of a string, by default).
#pragma once

#include <atomic>
#include <climits>
#include <cstddef>
#include <string>

#include "CrtStdio.h"

// Where a reader's bytes come from: a block at a time.
class CIniSource {
 public:
  virtual ~CIniSource() = default;
  // The next block of bytes, valid until the next call. False at the end
  // (*pnError 0) or on a failure (*pnError the errno value).
  virtual bool NextBlock(const char** ppData, size_t* pnSize, int* pnError) = 0;
  // 0, or the errno value of a source that could not be opened.
  virtual int OpenError() const { return 0; }
};

// Bytes already in memory: one block, never copied.
class CIniMemorySource : public CIniSource {
 public:
  CIniMemorySource(const char* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}
  bool NextBlock(const char** ppData, size_t* pnSize, int* pnError) override;

 private:
  const char* m_pData;
  size_t m_nSize;
  bool m_bGiven = false;
};

// A file, opened on construction through the C runtime's streams (binary:
// the reader does the text mode's work itself) and closed with the source.
// Its blocks are its lines, each with its LF, taken whole from the stream's
// buffer (ReadLine) where they lie there.
class CIniFileSource : public CIniSource {
 public:
  explicit CIniFileSource(const char* pszPath);
  ~CIniFileSource() override;
  CIniFileSource(const CIniFileSource&) = delete;  // owns the stream
  CIniFileSource& operator=(const CIniFileSource&) = delete;

  int OpenError() const override { return m_nOpenError; }
  bool NextBlock(const char** ppData, size_t* pnSize, int* pnError) override;

 private:
  crt::FILE* m_pFile = nullptr;
  int m_nOpenError = 0;
  bool m_bEnded = false;
  std::string m_strSpill;  // a line the stream could not hand over where it lies
};

enum class EIniLine {
  Header,      // "[" ... "]": the text between the brackets names a section
  Entry,       // a key, and a value after the first "=" (if any), in a named section
  Comment,     // ";" first
  Blank,       // no characters
  Unreadable,  // a "[" line without its "]", or an entry outside a named section; the read ends here
  Tail,        // a last line without its LF: never INI text to the document
};

// One line as the reader hands it over; valid until the next call of Next.
struct CIniLine {
  EIniLine eKind = EIniLine::Blank;
  long long nNumber = 0;    // 1 for the first line
  long long nOffset = 0;    // where the line's first byte lies in the source
  const char* pText = nullptr;  // the line's text, without its line end
  size_t nLength = 0;
  size_t nEndLength = 0;    // bytes of the line end in the source: 2 (CR LF), 1 (LF), 0 (a tail)
  size_t nEquals = 0;       // Entry: the index of the first "=" in the text, or nLength when there is none

  // The name between the brackets of a header.
  const char* Name() const { return pText + 1; }
  size_t NameLength() const { return nLength - 2; }
};

enum class EIniRead {
  Reading,      // not at the end yet
  Read,         // the text was read to its end
  CannotOpen,   // the source could not be opened (nError)
  ReadError,    // reading failed part way (nError)
  NotText,      // at line nLine: a zero byte (bBinary) or an unreadable line
  LineTooLong,  // line nLine is longer than the reader's maximum
};

struct CIniReadResult {
  EIniRead eStatus = EIniRead::Reading;
  int nError = 0;         // the errno value of CannotOpen and ReadError
  long long nLine = 0;    // the line of NotText and LineTooLong
  bool bBinary = false;   // NotText for a zero byte
  long long nTextEnd = 0; // Read: where the text ended (the source's size, or its Ctrl-Z)
};

class CIniReader {
 public:
  // bStrict: a zero byte is not INI text (a document's reader keeps it as a
  // character of its line). pProgress, when given, receives the count of
  // bytes read now and then (once a block), for a progress line on another
  // thread.
  explicit CIniReader(CIniSource& source, bool bStrict = false, std::atomic<long long>* pProgress = nullptr,
                      size_t nMaxLine = static_cast<size_t>(INT_MAX));
  CIniReader(const CIniReader&) = delete;  // hands out views of its own buffer
  CIniReader& operator=(const CIniReader&) = delete;

  // The next line; false at the end of the text or when the read stopped
  // (Result tells which). An Unreadable line is handed over, and is the last.
  bool Next(CIniLine& line);
  const CIniReadResult& Result() const { return m_result; }

 private:
  // Makes the next block current; false at the end or on a failure (the
  // result is then set).
  bool NextBlock();
  // Ends the read with a result; false, for Next to return.
  bool Stop(EIniRead eStatus);
  // Gives a line read its place and number; false (the read stopped as not
  // text) for a line that holds a zero byte.
  bool Place(CIniLine& line, long long nOffset, bool bBinary);
  void Classify(CIniLine& line);

  CIniSource& m_source;
  std::atomic<long long>* m_pProgress;
  const size_t m_nMaxLine;
  const bool m_bStrict;
  CIniReadResult m_result;
  const char* m_pNext = nullptr;   // the unread part of the current block
  const char* m_pEnd = nullptr;
  const char* m_pZero = nullptr;   // strict: the first zero byte at or after m_pNext in the block, or m_pEnd
  long long m_nBlockOffset = 0;    // the source offset of the current block's first byte
  const char* m_pBlock = nullptr;
  bool m_bTextEnded = false;       // a Ctrl-Z or the end of the source was met
  bool m_bStopped = false;
  bool m_bNamedSection = false;    // the last header named a section
  long long m_nLine = 0;
  long long m_nNextProgress = 0;   // a memory source's next offset to publish
  std::string m_strSpill;          // a line that spans blocks is gathered here
};
