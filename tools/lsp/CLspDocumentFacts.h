// CLspDocumentFacts: the facts of an open document (CLspScriptFacts) and its
// function definitions as the user catalogue reads them (ScanDefinitions),
// kept in pieces so that an edit costs the piece it touches, not the
// document.
//
// A piece begins at a line in code (the scan state at the line's start is
// plain code, with no header waiting for its "(") whose first word is the
// keyword "function", or that begins a paragraph (after a blank line), or,
// once the piece before has 64 lines, at any line in code; and after an
// edit, where a piece kept from before begins, so that reading again stops
// there. A header keyword ends every call and statement still open before
// it; before any other line, the piece must end with nothing open but
// blocks (CLspScriptFacts::EndsQuiet). So the facts of a piece do not
// depend on the text before it, and a piece is long only where a call or
// bracket stays open over many lines. The catalogue's header rule reads on past a header (its
// parameter list runs to the first ")", a declaration waits for a "{" or
// the next "function"): a piece ends only where that reading is over, which
// probe text read after the piece's own tells; elsewhere the piece runs on
// to the next line of the kinds. So the pieces' facts and definitions, put
// together, are those of the whole text.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/lsp/CLspCallScanner.h"
#include "tools/lsp/CLspScriptFacts.h"
#include "tools/lsp/LspFinding.h"
#include "tools/lsp/LspScriptScan.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

// One piece: its lines, and what was read from them, lines counted from
// the piece's first line (so that lines added above it change nothing but
// nFirstLine).
struct CLspFactsPiece {
  size_t nFirstLine = 0;
  size_t nLines = 0;
  std::vector<CLspCallFact> calls;
  std::vector<CLspHeaderFact> headers;
  std::vector<CLspLiteralFact> unclosed;
  CLspBlockFacts blocks;
  std::vector<CLspDefinition> definitions;
  // What the diagnostics made of the piece (CLspDiagnostics), for the
  // catalogue generations they were made against; worked out again when the
  // piece changes, when names change in the catalogue, and when only places
  // do if a finding of the piece names one (bPlaces).
  bool bDiagnostics = false;
  unsigned long long nGeneration = 0;
  unsigned long long nNamesGeneration = 0;
  bool bPlaces = false;
  std::vector<CLspFinding> diagnostics;  // lines relative to nFirstLine
};

class CLspDocumentFacts {
 public:
  // Forgets everything: the next Update reads the whole text.
  void Reset();
  // Lines [nFirst, nFirst + nOldCount) were replaced by nNewCount lines:
  // the next Update reads again the pieces they touch.
  void OnLinesReplaced(size_t nFirst, size_t nOldCount, size_t nNewCount);

  // Brings the pieces up to date with lines (the document's text, as told
  // through Reset and OnLinesReplaced) at revision nRevision, columns
  // counted in eEncoding; nothing to do when they were read at that
  // revision in that encoding.
  void Update(const std::vector<std::string>& lines, EPositionEncoding eEncoding, unsigned long long nRevision);
  // Brings only the scan state at each line's start up to date, which is
  // all FindOpenCall and IsCodeAt need; the pieces are read at the next
  // Update.
  void UpdateLines(const std::vector<std::string>& lines, unsigned long long nRevision);

  // In text order; valid until the next Update.
  std::vector<CLspFactsPiece>& Pieces() { return m_pieces; }
  // Every definition of the document, lines counted from its start.
  std::vector<CLspDefinition> Definitions() const;
  // The headers and calls of the document as one reading of its whole text
  // finds them (CLspScriptFacts), lines counted from its start: a body left
  // open at its piece's end runs on to the "}" that closes it in a later
  // piece, or to the text's end.
  std::vector<CLspHeaderFact> Headers() const;
  std::vector<CLspCallFact> Calls() const;

  // The innermost call open before a byte position (see CLspCallScanner),
  // read backwards line by line from it while nothing read decides. Both
  // need the lines up to date (UpdateLines), not the pieces.
  bool FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                    CLspCallScanner::COpenCall& call) const;
  // Whether a byte position is in code: not in a string, a character
  // literal or a comment.
  bool IsCodeAt(const std::vector<std::string>& lines, size_t nLine, size_t nOffset) const;

 private:
  struct CLine {
    CLspCallScanner::CStart start;  // the scan state at the line's start
    bool bKnown = false;            // start (and bFunction) are right for the line's text
    bool bFunction = false;         // "function" is its first word
    bool bParagraph = false;        // it is the first of a paragraph (after a blank line)
  };
  // Reads lines [nFirst, nEnd) into a piece; false when the catalogue's
  // header rule is still reading a header at its end.
  bool ReadPiece(const std::vector<std::string>& lines, size_t nFirst, size_t nEnd, EPositionEncoding eEncoding,
                 CLspFactsPiece& piece) const;

  std::vector<CLine> m_lines;
  std::vector<CLspFactsPiece> m_pieces;
  unsigned long long m_nRevision = 0;  // the text's revision the pieces were read at; 0: none, read everything
  unsigned long long m_nLinesRevision = 0;  // the same for m_lines
  size_t m_nDirtyFirst = 0;  // lines [m_nDirtyFirst, m_nDirtyEnd) changed since the pieces were read
  size_t m_nDirtyEnd = 0;
  // Lines changed since their start states were worked out: apart from the
  // pieces' range, so that signature help between two readings of the
  // pieces looks again only at what changed since the last question.
  size_t m_nLinesDirtyFirst = 0;
  size_t m_nLinesDirtyEnd = 0;
  EPositionEncoding m_eEncoding = encodingUtf16;
  size_t m_nLastLineEnd = 0;  // the length of the text's last line
};

}  // namespace lsp
}  // namespace nimbo
