// CTextForm: the editor's lines and the bytes of their file.
#include "tools/edit/TextForm.h"

#include <algorithm>

namespace {

std::vector<std::string> SplitLines(const std::string& strText) {
  std::vector<std::string> lines(1);
  for (char ch : strText) {
    if (ch == '\n')
      lines.emplace_back();
    else
      lines.back() += ch;
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::vector<std::string>& endings) {
  std::string strBytes;
  for (size_t i = 0; i < lines.size(); ++i) strBytes += lines[i] + endings[i];
  return strBytes;
}

}  // namespace

void CTextForm::Read(const std::string& strBytes) {
  m_strBytes = strBytes;
  m_lines.assign(1, std::string());
  m_endings.clear();
  size_t nCrLf = 0;
  for (char ch : strBytes) {
    if (ch != '\n') {
      m_lines.back() += ch;
      continue;
    }
    std::string& line = m_lines.back();
    const bool bCrLf = !line.empty() && line.back() == '\r';
    if (bCrLf) line.pop_back();
    nCrLf += bCrLf ? 1 : 0;
    m_endings.push_back(bCrLf ? "\r\n" : "\n");
    m_lines.emplace_back();
  }
  // The text after the last line end is a last line without one; nothing
  // after it means the file ends in a newline, which is no line of its own.
  if (m_lines.back().empty() && !m_endings.empty())
    m_lines.pop_back();
  else
    m_endings.push_back(std::string());
  m_strNewLine = nCrLf * 2 > m_endings.size() - (m_endings.back().empty() ? 1 : 0) ? "\r\n" : "\n";
  if (strBytes.empty()) m_endings.back() = m_strNewLine;
  m_strText.clear();
  for (size_t i = 0; i < m_lines.size(); ++i) m_strText += (i > 0 ? "\n" : "") + m_lines[i];
}

std::vector<std::string> CTextForm::Endings(const std::vector<std::string>& lines) const {
  const size_t nOld = m_lines.size();
  const size_t nNew = lines.size();
  size_t nSame = 0;
  while (nSame < nOld && nSame < nNew && m_lines[nSame] == lines[nSame]) ++nSame;
  size_t nSameAtEnd = 0;
  while (nSameAtEnd < std::min(nOld, nNew) - nSame && m_lines[nOld - 1 - nSameAtEnd] == lines[nNew - 1 - nSameAtEnd])
    ++nSameAtEnd;
  std::vector<std::string> endings(nNew, m_strNewLine);
  for (size_t i = 0; i < nSame; ++i) endings[i] = m_endings[i];
  for (size_t i = 0; i < nSameAtEnd; ++i) endings[nNew - 1 - i] = m_endings[nOld - 1 - i];
  // Only the last line may go without a line end, and it ends as the file did.
  for (std::string& strEnding : endings)
    if (strEnding.empty()) strEnding = m_strNewLine;
  endings.back() = m_endings.back();
  return endings;
}

std::string CTextForm::Write(const std::string& strText) const {
  if (strText == m_strText) return m_strBytes;
  const std::vector<std::string> lines = SplitLines(strText);
  return Join(lines, Endings(lines));
}

void CTextForm::SetWritten(const std::string& strText) {
  if (strText == m_strText) return;
  std::vector<std::string> lines = SplitLines(strText);
  m_endings = Endings(lines);
  m_lines = std::move(lines);
  m_strText = strText;
  m_strBytes = Join(m_lines, m_endings);
}
