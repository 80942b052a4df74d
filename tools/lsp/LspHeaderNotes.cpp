// LspHeaderNotes: a look backwards from a definition's name, in its text.
#include "tools/lsp/LspHeaderNotes.h"

#include <string_view>

namespace nimbo {
namespace lsp {

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v'; }

std::string_view TrimLeft(std::string_view strText) {
  while (!strText.empty() && IsBlank(strText.front())) strText.remove_prefix(1);
  return strText;
}

std::string_view TrimRight(std::string_view strText) {
  while (!strText.empty() && IsBlank(strText.back())) strText.remove_suffix(1);
  return strText;
}

std::string_view Trim(std::string_view strText) { return TrimLeft(TrimRight(strText)); }

bool StartsWith(std::string_view strText, std::string_view strStart) {
  return strText.substr(0, strStart.size()) == strStart;
}

bool EndsWith(std::string_view strText, std::string_view strEnd) {
  return strText.size() >= strEnd.size() && strText.substr(strText.size() - strEnd.size()) == strEnd;
}

// A comment line's text: one blank after its mark is the writer's spacing.
std::string_view DropOneBlank(std::string_view strText) {
  if (!strText.empty() && (strText.front() == ' ' || strText.front() == '\t')) strText.remove_prefix(1);
  return TrimRight(strText);
}

// The text of the comment lines above line nHeader, or nothing.
std::vector<std::string_view> CommentLinesAbove(const std::vector<std::string>& lines, size_t nHeader) {
  std::vector<std::string_view> parts;
  if (nHeader == 0) return parts;
  const size_t nLast = nHeader - 1;
  const std::string_view strLast = Trim(lines[nLast]);
  if (StartsWith(strLast, "//")) {
    size_t nFirst = nLast;
    while (nFirst > 0 && StartsWith(Trim(lines[nFirst - 1]), "//")) --nFirst;
    for (size_t i = nFirst; i <= nLast; ++i) {
      std::string_view strLine = Trim(lines[i]);
      while (!strLine.empty() && strLine.front() == '/') strLine.remove_prefix(1);  // "//", "///"
      parts.push_back(DropOneBlank(strLine));
    }
    return parts;
  }
  if (!EndsWith(strLast, "*/")) return parts;
  // Upwards to the "/*" that opens the block; another block's end on the
  // way means the lines are not one block.
  const size_t nClose = TrimRight(lines[nLast]).size() - 2;
  size_t nFirst = nLast;
  size_t nOpen = std::string_view::npos;
  for (;;) {
    const std::string_view strLine = std::string_view(lines[nFirst]).substr(0, nFirst == nLast ? nClose : std::string::npos);
    nOpen = strLine.rfind("/*");
    if (nOpen != std::string_view::npos) break;
    if (strLine.find("*/") != std::string_view::npos || nFirst == 0) return parts;
    --nFirst;
  }
  // Code before it: a comment at the end of a statement, not the header's.
  if (!Trim(std::string_view(lines[nFirst]).substr(0, nOpen)).empty()) return parts;
  for (size_t i = nFirst; i <= nLast; ++i) {
    std::string_view strLine(lines[i]);
    if (i == nLast) strLine = strLine.substr(0, nClose);
    if (i == nFirst) {
      strLine.remove_prefix(nOpen + 2);
      while (!strLine.empty() && strLine.front() == '*') strLine.remove_prefix(1);  // "/**"
    } else {
      strLine = TrimLeft(strLine);
      if (!strLine.empty() && strLine.front() == '*') strLine.remove_prefix(1);  // " * text"
    }
    parts.push_back(DropOneBlank(strLine));
  }
  return parts;
}

}  // namespace

CLspHeaderNotes ReadHeaderNotes(const std::vector<std::string>& lines, const std::vector<CLspHeaderFact>& headers,
                                size_t nLine, size_t nNameAt) {
  CLspHeaderNotes notes;
  // The header whose name stands there; its keyword's line is the one the
  // comment must stand above.
  size_t nHeader = nLine;
  for (const CLspHeaderFact& header : headers) {
    if (header.nLine == nLine && header.nFirst == nNameAt && !header.strName.empty()) {
      notes.strResultType = header.strType;
      nHeader = header.nKeywordLine;
      break;
    }
  }

  std::vector<std::string_view> parts = CommentLinesAbove(lines, nHeader);
  size_t nFirst = 0;
  size_t nEnd = parts.size();
  while (nFirst < nEnd && parts[nFirst].empty()) ++nFirst;
  while (nEnd > nFirst && parts[nEnd - 1].empty()) --nEnd;
  for (size_t i = nFirst; i < nEnd; ++i) {
    if (i > nFirst) notes.strComment += '\n';
    notes.strComment += parts[i];
  }
  return notes;
}

}  // namespace lsp
}  // namespace nimbo
