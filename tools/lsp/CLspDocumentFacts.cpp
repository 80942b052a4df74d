// CLspDocumentFacts: reading an open document piece by piece.
#include "tools/lsp/CLspDocumentFacts.h"

#include <algorithm>

#include "tools/lsp/LspCodeScan.h"

namespace nimbo {
namespace lsp {

namespace {

// A header the catalogue's rule reads after a piece's text: when it comes
// out as the last definition, as it is written, the rule was between two
// headers at the piece's end.
const char kProbeName[] = "nimbo_piece_end_probe_";
const std::string kProbe = std::string("\nfunction ") + kProbeName + "() {}";
// Before a piece that begins with other words: a name and a call, then a
// block, then the header. The rule between two headers passes over them;
// reading a header's name, parameters, or waiting for its body, it takes
// them into a definition of its own, one more than the text alone gives.
const std::string kWordProbe = std::string("\nnimbo_piece_end_probe_word(1);\n{}") + kProbe;

// The lines a piece reaches before it may end at any line in code.
const size_t kPieceLines = 64;

struct CNoEvents {
  void operator()(size_t, char) {}
};

CLspCallScanner::CStart StateAfter(const std::string& strLine, CLspCallScanner::CStart start) {
  CNoEvents none;
  return ScanWholeLine(strLine, start, none);
}

// Whether a line may begin a piece: "function" is its first word, in code.
bool BeginsWithFunction(const std::string& strLine, const CLspCallScanner::CStart& start) {
  if (start.eState != CLspCallScanner::stateCode || start.bHeader) return false;
  size_t nFirst = 0;
  while (nFirst < strLine.size() && (strLine[nFirst] == ' ' || strLine[nFirst] == '\t')) ++nFirst;
  const size_t nEnd = WordEnd(strLine, nFirst);
  return nEnd > nFirst && CTokenizer::KindOfWord(strLine.data() + nFirst, nEnd - nFirst) == tkFunction;
}

bool IsBlank(const std::string& strLine) { return strLine.find_first_not_of(" \t") == std::string::npos; }

// Whether a line may begin a piece as the first of a paragraph: in code,
// not blank, after a blank line.
bool BeginsParagraph(const std::vector<std::string>& lines, size_t nLine, const CLspCallScanner::CStart& start) {
  return start.eState == CLspCallScanner::stateCode && !start.bHeader && nLine > 0 && !IsBlank(lines[nLine]) &&
         IsBlank(lines[nLine - 1]);
}

// Where a line position goes when lines [nFirst, nFirst + nOld) (nOld > 0)
// become nNew lines: a position inside the replaced lines goes to their
// start (bEnd false) or their end (bEnd true).
size_t MapLine(size_t nLine, size_t nFirst, size_t nOld, size_t nNew, bool bEnd) {
  if (nLine < nFirst || (nLine == nFirst && bEnd)) return nLine;
  if (nLine >= nFirst + nOld) return nLine - nOld + nNew;
  return bEnd ? nFirst + nNew : nFirst;
}

}  // namespace

void CLspDocumentFacts::Reset() {
  m_lines.clear();
  m_pieces.clear();
  m_nRevision = 0;
  m_nLinesRevision = 0;
}

void CLspDocumentFacts::OnLinesReplaced(size_t nFirst, size_t nOldCount, size_t nNewCount) {
  if (m_nLinesRevision == 0) return;
  if (nOldCount == 0 || nFirst + nOldCount > m_lines.size()) {
    Reset();
    return;
  }
  const auto itFirst = m_lines.begin() + static_cast<std::ptrdiff_t>(nFirst);
  m_lines.erase(itFirst, itFirst + static_cast<std::ptrdiff_t>(nOldCount));
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nFirst), nNewCount, CLine());
  auto Widen = [&](size_t& nDirtyFirst, size_t& nDirtyEnd) {
    if (nDirtyFirst == nDirtyEnd) {
      nDirtyFirst = nFirst;
      nDirtyEnd = nFirst + nNewCount;
    } else {
      nDirtyEnd = std::max(MapLine(nDirtyEnd, nFirst, nOldCount, nNewCount, true), nFirst + nNewCount);
      nDirtyFirst = std::min(nDirtyFirst, nFirst);
    }
  };
  Widen(m_nDirtyFirst, m_nDirtyEnd);
  Widen(m_nLinesDirtyFirst, m_nLinesDirtyEnd);
  for (CLspFactsPiece& piece : m_pieces) {
    const size_t nStart = MapLine(piece.nFirstLine, nFirst, nOldCount, nNewCount, false);
    const size_t nEnd = MapLine(piece.nFirstLine + piece.nLines, nFirst, nOldCount, nNewCount, true);
    piece.nFirstLine = nStart;
    piece.nLines = nEnd - nStart;
  }
}

bool CLspDocumentFacts::ReadPiece(const std::vector<std::string>& lines, size_t nFirst, size_t nEnd,
                                  EPositionEncoding eEncoding, CLspFactsPiece& piece) const {
  const auto itFirst = lines.begin() + static_cast<std::ptrdiff_t>(nFirst);
  const std::vector<std::string> pieceLines(itFirst, itFirst + static_cast<std::ptrdiff_t>(nEnd - nFirst));
  CLspScriptFacts facts;
  facts.Scan(pieceLines);
  // Before a paragraph the facts must have nothing open but blocks; a
  // header keyword ends what is open before it.
  const bool bFunctionNext = nEnd < lines.size() && m_lines[nEnd].bFunction;
  if (nEnd < lines.size() && !bFunctionNext && !facts.EndsQuiet()) return false;
  piece = CLspFactsPiece();
  piece.nFirstLine = nFirst;
  piece.nLines = nEnd - nFirst;
  piece.calls = facts.Calls();
  piece.headers = facts.Headers();
  piece.unclosed = facts.UnclosedLiterals();
  piece.blocks = facts.Blocks();
  std::string strText;
  for (size_t i = 0; i < pieceLines.size(); ++i) {
    if (i > 0) strText += '\n';
    strText += pieceLines[i];
  }
  if (nEnd == lines.size()) {
    piece.definitions = ScanDefinitions(strText, eEncoding);
    return true;
  }
  auto EndsWithProbe = [](const std::vector<CLspDefinition>& definitions) {
    return !definitions.empty() && std::string(definitions.back().strName) == kProbeName &&
           std::string(definitions.back().strPrototype) == std::string(kProbeName) + "()";
  };
  if (bFunctionNext) {
    piece.definitions = ScanDefinitions(strText + kProbe, eEncoding);
    if (!EndsWithProbe(piece.definitions)) return false;
    piece.definitions.pop_back();
    return true;
  }
  piece.definitions = ScanDefinitions(strText, eEncoding);
  const std::vector<CLspDefinition> probed = ScanDefinitions(strText + kWordProbe, eEncoding);
  return probed.size() == piece.definitions.size() + 1 && EndsWithProbe(probed);
}

void CLspDocumentFacts::UpdateLines(const std::vector<std::string>& lines, unsigned long long nRevision) {
  if (nRevision == m_nLinesRevision) return;
  if (m_nLinesRevision == 0 || m_lines.size() != lines.size()) {
    m_lines.assign(lines.size(), CLine());
    m_pieces.clear();
    m_nRevision = 0;
    m_nDirtyFirst = m_nLinesDirtyFirst = 0;
    m_nDirtyEnd = m_nLinesDirtyEnd = lines.size();
  }
  m_nLinesRevision = nRevision;
  m_nLastLineEnd = lines.back().size();
  if (m_nLinesDirtyFirst == m_nLinesDirtyEnd) return;
  const size_t nDirtyFirst = m_nLinesDirtyFirst;
  const size_t nDirtyEnd = m_nLinesDirtyEnd;
  m_nLinesDirtyFirst = m_nLinesDirtyEnd = 0;
  // The start state of each line from the first changed one on, until it
  // meets a line whose start is known and unchanged: the rest is as it was.
  size_t nLine = nDirtyFirst;
  CLspCallScanner::CStart state;
  if (nLine > 0) state = StateAfter(lines[nLine - 1], m_lines[nLine - 1].start);
  for (; nLine < lines.size(); ++nLine) {
    CLine& line = m_lines[nLine];
    // The line after the changed ones is looked at again: a paragraph
    // begins there or not after what the line before it became.
    if (nLine > nDirtyEnd && line.bKnown && line.start == state) break;
    line.start = state;
    line.bKnown = true;
    line.bFunction = BeginsWithFunction(lines[nLine], state);
    line.bParagraph = BeginsParagraph(lines, nLine, state);
    state = StateAfter(lines[nLine], state);
  }
  // The pieces are read again over every line whose start changed.
  if (m_nDirtyFirst == m_nDirtyEnd) m_nDirtyFirst = nDirtyFirst;
  m_nDirtyFirst = std::min(m_nDirtyFirst, nDirtyFirst);
  m_nDirtyEnd = std::max(m_nDirtyEnd, nLine);
}

void CLspDocumentFacts::Update(const std::vector<std::string>& lines, EPositionEncoding eEncoding,
                               unsigned long long nRevision) {
  if (nRevision == m_nRevision && eEncoding == m_eEncoding) return;
  if (m_nRevision == 0 || eEncoding != m_eEncoding) {
    m_eEncoding = eEncoding;
    m_nLinesRevision = 0;  // everything is read again
  }
  UpdateLines(lines, nRevision);
  m_nRevision = nRevision;
  if (m_nDirtyFirst == m_nDirtyEnd) return;
  const size_t nChangedFirst = m_nDirtyFirst;
  const size_t nChangedEnd = m_nDirtyEnd;
  m_nDirtyFirst = m_nDirtyEnd = 0;

  // The pieces that touch the changed lines are read again, from the start
  // of the first one; reading stops where a piece kept as it was begins.
  size_t nDrop = 0;
  while (nDrop < m_pieces.size() && m_pieces[nDrop].nFirstLine + m_pieces[nDrop].nLines < nChangedFirst) ++nDrop;
  size_t nKeep = nDrop;
  while (nKeep < m_pieces.size() && m_pieces[nKeep].nFirstLine <= nChangedEnd) ++nKeep;
  size_t nAt = nDrop < m_pieces.size() ? m_pieces[nDrop].nFirstLine : 0;
  if (nDrop == m_pieces.size() && !m_pieces.empty()) nAt = m_pieces.back().nFirstLine + m_pieces.back().nLines;
  // The first line from nFrom on where a piece begun at nAt may end: one
  // that begins with "function" or a paragraph, one where a kept piece
  // begins (so that reading meets the kept pieces again), or any line in
  // code once the piece has kPieceLines lines (so that text without those
  // lines still comes in pieces of bounded size).
  auto NextPieceEnd = [&](size_t nFrom) {
    nFrom = std::min(nFrom, lines.size());
    size_t nKept = nKeep;
    for (; nFrom < lines.size(); ++nFrom) {
      const CLine& line = m_lines[nFrom];
      if (line.bFunction || line.bParagraph) break;
      while (nKept < m_pieces.size() && m_pieces[nKept].nFirstLine < nFrom) ++nKept;
      if (nKept < m_pieces.size() && m_pieces[nKept].nFirstLine == nFrom) break;
      if (nFrom - nAt >= kPieceLines && line.start.eState == CLspCallScanner::stateCode && !line.start.bHeader) break;
    }
    return nFrom;
  };
  std::vector<CLspFactsPiece> rebuilt;
  while (nAt < lines.size()) {
    if (nKeep < m_pieces.size() && m_pieces[nKeep].nFirstLine == nAt && nAt >= nChangedEnd) break;
    size_t nEnd = NextPieceEnd(nAt + 1);
    CLspFactsPiece piece;
    while (!ReadPiece(lines, nAt, nEnd, eEncoding, piece)) {
      // Something stays open at nEnd. Each try reads the piece again: past
      // kPieceLines, the tries go twice as far each time, so that a call
      // open over many lines costs a few readings of it, not one per line.
      const size_t nRead = nEnd - nAt;
      nEnd = NextPieceEnd(nRead < kPieceLines ? nEnd + 1 : nAt + 2 * nRead);
    }
    rebuilt.push_back(std::move(piece));
    nAt = nEnd;
    while (nKeep < m_pieces.size() && m_pieces[nKeep].nFirstLine < nAt) ++nKeep;
  }
  m_pieces.erase(m_pieces.begin() + static_cast<std::ptrdiff_t>(nDrop),
                 m_pieces.begin() + static_cast<std::ptrdiff_t>(nKeep));
  m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(nDrop), std::make_move_iterator(rebuilt.begin()),
                  std::make_move_iterator(rebuilt.end()));
}

std::vector<CLspDefinition> CLspDocumentFacts::Definitions() const {
  std::vector<CLspDefinition> definitions;
  for (const CLspFactsPiece& piece : m_pieces)
    for (CLspDefinition definition : piece.definitions) {
      definition.nLine += static_cast<int>(piece.nFirstLine);
      definitions.push_back(std::move(definition));
    }
  return definitions;
}

std::vector<CLspHeaderFact> CLspDocumentFacts::Headers() const {
  std::vector<CLspHeaderFact> headers;
  std::vector<int> open;  // the blocks open after the pieces so far, outermost first: an index in headers, or -1
  const auto EndBody = [&headers](int nHeader, size_t nLine, size_t nOffset) {
    if (nHeader < 0) return;
    headers[static_cast<size_t>(nHeader)].nEndLine = nLine;
    headers[static_cast<size_t>(nHeader)].nEndOffset = nOffset;
  };
  for (const CLspFactsPiece& piece : m_pieces) {
    const int nBase = static_cast<int>(headers.size());
    for (CLspHeaderFact header : piece.headers) {
      header.nLine += piece.nFirstLine;
      header.nKeywordLine += piece.nFirstLine;
      header.nEndLine += piece.nFirstLine;
      headers.push_back(std::move(header));
    }
    // A "}" the piece found nothing to close closes the innermost block
    // left open before it; the piece's own open blocks were opened after.
    for (const std::pair<size_t, size_t>& end : piece.blocks.strayEnds) {
      if (open.empty()) continue;
      EndBody(open.back(), piece.nFirstLine + end.first, end.second + 1);
      open.pop_back();
    }
    for (int nHeader : piece.blocks.open) open.push_back(nHeader < 0 ? -1 : nBase + nHeader);
  }
  const size_t nLastLine = m_lines.empty() ? 0 : m_lines.size() - 1;
  for (int nHeader : open) EndBody(nHeader, nLastLine, m_nLastLineEnd);
  return headers;
}

std::vector<CLspCallFact> CLspDocumentFacts::Calls() const {
  std::vector<CLspCallFact> calls;
  for (const CLspFactsPiece& piece : m_pieces)
    for (CLspCallFact call : piece.calls) {
      call.nLine += piece.nFirstLine;
      call.nParenLine += piece.nFirstLine;
      calls.push_back(std::move(call));
    }
  return calls;
}

bool CLspDocumentFacts::FindOpenCall(const std::vector<std::string>& lines, size_t nLine, size_t nOffset,
                                     CLspCallScanner::COpenCall& call) const {
  // A stretch begins at any line that starts in code with no header
  // waiting: each line is read at most once, back to where the call is decided.
  const auto FirstOfStretch = [this](size_t n) {
    while (n > 0 && (m_lines[n].start.eState != CLspCallScanner::stateCode || m_lines[n].start.bHeader)) --n;
    return n;
  };
  return CLspCallScanner::FindOpenCall(lines, nLine, nOffset, FirstOfStretch, call);
}

bool CLspDocumentFacts::IsCodeAt(const std::vector<std::string>& lines, size_t nLine, size_t nOffset) const {
  if (nLine >= lines.size() || nLine >= m_lines.size()) return true;
  if (nOffset > lines[nLine].size()) nOffset = lines[nLine].size();
  CNoEvents none;
  bool bLineComment = false;
  return ScanLine(lines[nLine], nOffset, m_lines[nLine].start, none, &bLineComment).eState ==
             CLspCallScanner::stateCode &&
         !bLineComment;
}

}  // namespace lsp
}  // namespace nimbo
