// LspFolding: the foldable stretches of a script.
#include <algorithm>

#include "tools/lsp/LspCodeSpans.h"
#include "tools/lsp/LspEditorFeatures.h"

namespace nimbo {
namespace lsp {

namespace {

// A fold keeps its last line in view (the "}" of a block, the last line of
// a comment block is folded with it): from nStart to nEnd, if that is more
// than one line.
void AddFold(std::vector<CLspFoldingRange>& folds, size_t nStart, size_t nEnd, const std::string& strKind) {
  if (nEnd <= nStart) return;
  folds.push_back({static_cast<long long>(nStart), static_cast<long long>(nEnd), strKind});
}

}  // namespace

std::vector<CLspFoldingRange> FoldingRanges(CLspWorkspace& workspace, const std::string& strUri) {
  std::vector<CLspFoldingRange> folds;
  CLspDocument* pDocument = workspace.Document(strUri);
  if (pDocument == nullptr) return folds;
  const std::vector<std::string>& lines = pDocument->Lines();
  const std::vector<CLspCallScanner::CStart> starts = LineStarts(lines);

  // Function bodies from their header's keyword, so that a "{" on the line
  // after the header still folds the whole function.
  std::vector<size_t> bodyStart(lines.size(), static_cast<size_t>(-1));  // by the line of the body's "}"
  // The joined headers: a body may end in a later piece than its header's.
  for (const CLspHeaderFact& header : pDocument->Facts(workspace.Encoding()).Headers())
    if (header.bBody && header.nEndLine < lines.size())
      bodyStart[header.nEndLine] = std::min(bodyStart[header.nEndLine], header.nKeywordLine);

  std::vector<size_t> open;  // the lines of the "{" still open
  std::vector<CLspTextSpan> spans;
  std::vector<CLspCodeEvent> events;
  size_t nCommentFirst = static_cast<size_t>(-1);  // the first line of the run of comment lines going on
  for (size_t nLine = 0; nLine <= lines.size(); ++nLine) {
    bool bComment = false;
    if (nLine < lines.size()) {
      const std::string& strLine = lines[nLine];
      ReadLineSpans(strLine, starts[nLine], spans, &events);
      // A comment line: nothing but blanks beside its comments.
      size_t nCode = 0;
      for (const CLspTextSpan& span : spans) {
        if (span.cKind != 'c' || strLine.find_first_not_of(" \t", nCode) < span.nFirst) break;
        nCode = span.nEnd;
        bComment = true;
      }
      bComment = bComment && strLine.find_first_not_of(" \t", nCode) == std::string::npos;
      for (const CLspCodeEvent& event : events) {
        if (event.cKind == '{') {
          open.push_back(nLine);
        } else if (event.cKind == '}' && !open.empty()) {
          const size_t nOpen = open.back();
          open.pop_back();
          const size_t nStart = std::min(nOpen, bodyStart[nLine]);
          AddFold(folds, nStart, nLine > 0 ? nLine - 1 : 0, std::string());
        }
      }
    }
    if (bComment && nCommentFirst == static_cast<size_t>(-1)) nCommentFirst = nLine;
    if (!bComment && nCommentFirst != static_cast<size_t>(-1)) {
      AddFold(folds, nCommentFirst, nLine - 1, "comment");
      nCommentFirst = static_cast<size_t>(-1);
    }
  }
  std::sort(folds.begin(), folds.end(), [](const CLspFoldingRange& a, const CLspFoldingRange& b) {
    return a.nStartLine != b.nStartLine ? a.nStartLine < b.nStartLine : a.nEndLine > b.nEndLine;
  });
  return folds;
}

}  // namespace lsp
}  // namespace nimbo
