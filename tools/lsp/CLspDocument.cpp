// CLspDocument: applying the client's changes to the lines.
#include "tools/lsp/CLspDocument.h"

#include <atomic>

namespace nimbo {
namespace lsp {

CLspDocument::CLspDocument(const std::string& strText) { SetText(strText); }

void CLspDocument::Revise() {
  // One count for every document of the process (tests run servers on
  // several threads).
  static std::atomic<unsigned long long> s_nLast(0);
  m_nRevision = ++s_nLast;
}

void CLspDocument::SetText(const std::string& strText) {
  m_lines = SplitLines(strText);
  m_facts.Reset();
  m_bOutOfStep = false;
  Revise();
}

std::string CLspDocument::Text() const {
  std::string strText;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (i > 0) strText += '\n';
    strText += m_lines[i];
  }
  return strText;
}

bool CLspDocument::Locate(const CPosition& position, EPositionEncoding eEncoding, size_t& nLine,
                          size_t& nOffset) const {
  if (position.nLine < 0) {
    nLine = 0;
    nOffset = 0;
    return true;
  }
  if (position.nLine >= static_cast<long long>(m_lines.size())) {
    nLine = m_lines.size() - 1;
    nOffset = m_lines.back().size();
    return false;
  }
  nLine = static_cast<size_t>(position.nLine);
  nOffset = ByteOffsetOfColumn(m_lines[nLine], position.nCharacter, eEncoding);
  return true;
}

void CLspDocument::ReplaceRange(const CPosition& start, const CPosition& end, const std::string& strText,
                                EPositionEncoding eEncoding) {
  size_t nStartLine = 0;
  size_t nStartOffset = 0;
  size_t nEndLine = 0;
  size_t nEndOffset = 0;
  Locate(start, eEncoding, nStartLine, nStartOffset);
  Locate(end, eEncoding, nEndLine, nEndOffset);
  if (nEndLine < nStartLine || (nEndLine == nStartLine && nEndOffset < nStartOffset)) {
    nEndLine = nStartLine;
    nEndOffset = nStartOffset;
  }
  // An edit inside one line without line breaks is the common keystroke:
  // it changes that line in place.
  if (nStartLine == nEndLine && strText.find_first_of("\r\n") == std::string::npos) {
    m_lines[nStartLine].replace(nStartOffset, nEndOffset - nStartOffset, strText);
    m_facts.OnLinesReplaced(nStartLine, 1, 1);
    Revise();
    return;
  }
  const std::string strJoined =
      m_lines[nStartLine].substr(0, nStartOffset) + strText + m_lines[nEndLine].substr(nEndOffset);
  std::vector<std::string> replacement = SplitLines(strJoined);
  const size_t nOldCount = nEndLine - nStartLine + 1;
  const auto itFirst = m_lines.begin() + static_cast<std::ptrdiff_t>(nStartLine);
  m_lines.erase(itFirst, itFirst + static_cast<std::ptrdiff_t>(nOldCount));
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nStartLine), replacement.begin(), replacement.end());
  m_facts.OnLinesReplaced(nStartLine, nOldCount, replacement.size());
  Revise();
}

}  // namespace lsp
}  // namespace nimbo
