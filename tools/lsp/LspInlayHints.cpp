// LspInlayHints: parameter names before the arguments of positional calls.
#include "tools/lsp/LspCodeSpans.h"
#include "tools/lsp/LspEditorFeatures.h"
#include "tools/lsp/LspPrototype.h"

namespace nimbo {
namespace lsp {

namespace {

// The lines of a document read for their events and stretches once each,
// as a call's arguments are walked.
class CLineReader {
 public:
  explicit CLineReader(const std::vector<std::string>& lines) : m_lines(lines), m_starts(LineStarts(lines)) {}
  void Read(size_t nLine) {
    if (nLine == m_nRead) return;
    ReadLineSpans(m_lines[nLine], m_starts[nLine], m_spans, &m_events);
    m_nRead = nLine;
  }
  const std::vector<CLspCodeEvent>& Events() const { return m_events; }
  // The first byte at or after nFrom and before nTo that is neither blank
  // nor in a comment; nTo when none.
  size_t FirstCode(size_t nFrom, size_t nTo) const {
    const std::string& strLine = m_lines[m_nRead];
    for (size_t i = nFrom; i < nTo; ++i) {
      if (strLine[i] == ' ' || strLine[i] == '\t') continue;
      bool bComment = false;
      for (const CLspTextSpan& span : m_spans)
        if (span.cKind == 'c' && span.nFirst <= i && i < span.nEnd) {
          bComment = true;
          i = span.nEnd - 1;
        }
      if (!bComment) return i;
    }
    return nTo;
  }

 private:
  const std::vector<std::string>& m_lines;
  std::vector<CLspCallScanner::CStart> m_starts;
  size_t m_nRead = static_cast<size_t>(-1);
  std::vector<CLspTextSpan> m_spans;
  std::vector<CLspCodeEvent> m_events;
};

// The line and byte where each argument of the call whose "(" stands at
// (nLine, nParen) begins; an empty argument has none. The walk ends at the
// call's ")", or where its statement ends.
std::vector<std::pair<size_t, size_t>> ArgumentStarts(CLineReader& reader, size_t nLines, size_t nLine, size_t nParen,
                                                     size_t nMax) {
  std::vector<std::pair<size_t, size_t>> starts;
  int nDepth = 0;
  bool bPending = false;   // an argument has begun after the separator at (nFromLine, nFrom)
  const size_t nParenLine = nLine;
  size_t nFromLine = nLine;
  size_t nFrom = nParen + 1;
  for (; nLine < nLines && starts.size() < nMax; ++nLine) {
    reader.Read(nLine);
    for (const CLspCodeEvent& event : reader.Events()) {
      const char c = event.cKind;
      if (nDepth == 0) {
        // Nothing before the call's own "(" counts.
        if (nLine == nParenLine && c == '(' && event.nAt == nParen) {
          nDepth = 1;
          bPending = true;
        }
        continue;
      }
      if (nDepth == 1 && bPending) {
        bPending = false;
        if (c != ')' && c != ',' && c != ';') {
          const size_t nAt = reader.FirstCode(nLine == nFromLine ? nFrom : 0, event.nAt);
          starts.emplace_back(nLine, nAt);
        } else {
          starts.emplace_back(static_cast<size_t>(-1), 0);  // an empty argument
        }
      }
      if (c == '(' || c == '[' || c == '{' || c == 'h') {
        ++nDepth;
      } else if (c == ')' || c == ']' || c == '}') {
        if (--nDepth == 0) return starts;
      } else if (nDepth == 1 && c == ',') {
        bPending = true;
        nFromLine = nLine;
        nFrom = event.nAt + 1;
      } else if (nDepth == 1 && (c == ';' || c == 'k')) {
        return starts;
      }
    }
  }
  return starts;
}

}  // namespace

std::vector<CLspInlayHint> InlayHints(CLspWorkspace& workspace, const std::string& strUri, long long nFirstLine,
                                      long long nLastLine) {
  std::vector<CLspInlayHint> hints;
  CLspDocument* pDocument = workspace.Document(strUri);
  if (pDocument == nullptr) return hints;
  const EPositionEncoding eEncoding = workspace.Encoding();
  const std::vector<std::string>& lines = pDocument->Lines();
  CLineReader reader(lines);
  for (const CLspFactsPiece& piece : pDocument->Facts(eEncoding).Pieces()) {
    if (static_cast<long long>(piece.nFirstLine) > nLastLine ||
        static_cast<long long>(piece.nFirstLine + piece.nLines) <= nFirstLine)
      continue;
    for (const CLspCallFact& call : piece.calls) {
      const size_t nLine = piece.nFirstLine + call.nLine;
      if (call.bAfterDot || call.nArguments == 0 || static_cast<long long>(nLine) < nFirstLine ||
          static_cast<long long>(nLine) > nLastLine)
        continue;
      CLspFunction function;
      if (!workspace.Find(call.strName, function)) continue;
      const CLspParameters parameters = ParametersOf(function.strPrototype);
      // The arguments a final "..." takes are not named.
      const size_t nNamed = parameters.ranges.size() - (parameters.bRest ? 1 : 0);
      if (nNamed == 0) continue;
      const std::string strPrototype = function.strPrototype.Str();
      const auto starts = ArgumentStarts(reader, lines.size(), piece.nFirstLine + call.nParenLine, call.nParen, nNamed);
      for (size_t i = 0; i < starts.size() && i < nNamed; ++i) {
        if (starts[i].first == static_cast<size_t>(-1)) continue;
        const std::pair<int, int>& range = parameters.ranges[i];
        CLspInlayHint hint;
        hint.position = {static_cast<long long>(starts[i].first),
                         ColumnOfByteOffset(lines[starts[i].first], starts[i].second, eEncoding)};
        hint.strLabel = ToUtf8(strPrototype.substr(static_cast<size_t>(range.first),
                                                   static_cast<size_t>(range.second - range.first))) + ":";
        hints.push_back(std::move(hint));
      }
    }
  }
  return hints;
}

}  // namespace lsp
}  // namespace nimbo
