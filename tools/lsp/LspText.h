// LspText: the text conversions a language server needs: columns in the
// client's position encoding against byte offsets, lines of a text, 8-bit
// text made safe for JSON, and JSON text with bad characters made readable.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nimbo {
namespace lsp {

// How the client counts the "character" of a position.
enum EPositionEncoding { encodingUtf16, encodingUtf8 };

// The byte offset of column nColumn of strLine, counted in eEncoding. Bytes
// that are not well-formed UTF-8 (text in an 8-bit code page) count one unit
// each. A column past the end, or inside a character, gives the offset of
// the line's end, or of the character that contains it.
size_t ByteOffsetOfColumn(const std::string& strLine, long long nColumn, EPositionEncoding eEncoding);

// The column of byte offset nOffset of strLine (the line's end when past it).
long long ColumnOfByteOffset(const std::string& strLine, size_t nOffset, EPositionEncoding eEncoding);

// The columns of byte offsets of one line, for offsets asked mostly in
// increasing order: each is counted on from the one asked before, so that
// the many names of one long line cost one pass over it, not one each. An
// offset before the one asked last counts from the line's start again.
// Gives what ColumnOfByteOffset gives; the line must outlive the counter.
class CLspColumnCounter {
 public:
  CLspColumnCounter(const std::string& strLine, EPositionEncoding eEncoding)
      : m_strLine(strLine), m_eEncoding(eEncoding) {}
  long long ColumnOf(size_t nOffset);

 private:
  const std::string& m_strLine;
  EPositionEncoding m_eEncoding;
  size_t m_nAsked = 0;  // the offset asked last
  size_t m_nByte = 0;   // the first character boundary at or after it
  long long m_nUnits = 0;  // the column of m_nByte
};

// The same over the lines of a text, for places asked line by line in
// text order (a counter kept for the line asked last).
class CLspLinesColumns {
 public:
  CLspLinesColumns(const std::vector<std::string>& lines, EPositionEncoding eEncoding)
      : m_lines(lines), m_eEncoding(eEncoding) {}
  long long ColumnOf(size_t nLine, size_t nOffset) {
    if (!m_bCounting || nLine != m_nLine) {
      m_counter.emplace(m_lines[nLine], m_eEncoding);
      m_nLine = nLine;
      m_bCounting = true;
    }
    return m_counter->ColumnOf(nOffset);
  }

 private:
  const std::vector<std::string>& m_lines;
  EPositionEncoding m_eEncoding;
  bool m_bCounting = false;
  size_t m_nLine = 0;
  std::optional<CLspColumnCounter> m_counter;
};

// The lines of strText: split at "\r\n", "\n" and "\r", terminators dropped.
// A text that ends with a terminator has an empty last line; the empty text
// is one empty line.
std::vector<std::string> SplitLines(const std::string& strText);

// strText with every byte that is not part of well-formed UTF-8 read as the
// Latin-1 character of that value, so that a description or prototype in
// an 8-bit code page can be sent as JSON without losing a character.
std::string ToUtf8(const std::string& strText);

// JSON's blanks between tokens: space, tab, carriage return, line feed.
inline bool IsJsonBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// Makes a JSON text that a strict parser refused readable, as editors read
// text they cannot decode: each ill-formed UTF-8 sequence (each maximal
// part of one, as Unicode recommends) becomes U+FFFD, an escaped surrogate
// without its partner ("\ud800") becomes "\ufffd", and a control byte
// standing raw inside a string becomes its escape. Returns the number of
// characters changed; the text is left as it was when that is 0.
size_t RepairJsonText(std::string& strText);

// The string value of the first member named strName found in a JSON text
// by its bytes alone ("uri": "..." with its escapes left as they are), for
// telling which document a message that cannot be parsed was about. Empty
// when there is none.
std::string FindJsonStringMember(const std::string& strText, const std::string& strName);

}  // namespace lsp
}  // namespace nimbo
