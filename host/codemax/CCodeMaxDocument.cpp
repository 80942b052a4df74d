// CCodeMaxDocument: line storage and caret editing of the CodeMax editor.
#include "codemax/CCodeMaxDocument.h"

#include <algorithm>

namespace {

const std::string g_strNoLine;

}  // namespace

CCodeMaxDocument::CCodeMaxDocument() : m_lines(1) {}

void CCodeMaxDocument::SetText(const std::string& strText) {
  m_lines.assign(1, std::string());
  for (char ch : strText) {
    if (ch == '\n') {
      std::string& last = m_lines.back();
      if (!last.empty() && last.back() == '\r') last.pop_back();
      m_lines.emplace_back();
    } else {
      m_lines.back() += ch;
    }
  }
  m_nCaretLine = 0;
  m_nCaretColumn = 0;
}

std::string CCodeMaxDocument::GetText() const {
  std::string text;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += m_lines[i];
  }
  return text;
}

const std::string& CCodeMaxDocument::GetLine(int nLine) const {
  if (nLine < 0 || nLine >= GetLineCount()) return g_strNoLine;
  return m_lines[static_cast<size_t>(nLine)];
}

int CCodeMaxDocument::GetLineLength(int nLine) const { return static_cast<int>(GetLine(nLine).size()); }

void CCodeMaxDocument::SetCaret(int nLine, int nColumn) {
  m_nCaretLine = std::clamp(nLine, 0, GetLineCount() - 1);
  m_nCaretColumn = std::clamp(nColumn, 0, GetLineLength(m_nCaretLine));
}

void CCodeMaxDocument::InsertChar(char ch) {
  std::string& line = m_lines[static_cast<size_t>(m_nCaretLine)];
  if (ch == '\n') {
    std::string rest = line.substr(static_cast<size_t>(m_nCaretColumn));
    line.erase(static_cast<size_t>(m_nCaretColumn));
    m_lines.insert(m_lines.begin() + m_nCaretLine + 1, rest);
    ++m_nCaretLine;
    m_nCaretColumn = 0;
    return;
  }
  line.insert(static_cast<size_t>(m_nCaretColumn), 1, ch);
  ++m_nCaretColumn;
}

void CCodeMaxDocument::InsertText(const std::string& strText) {
  for (char ch : strText) {
    if (ch != '\r') InsertChar(ch);
  }
}

bool CCodeMaxDocument::Backspace() {
  if (m_nCaretColumn == 0 && m_nCaretLine == 0) return false;
  MoveLeft();
  return Delete();
}

bool CCodeMaxDocument::Delete() {
  std::string& line = m_lines[static_cast<size_t>(m_nCaretLine)];
  if (m_nCaretColumn < static_cast<int>(line.size())) {
    line.erase(static_cast<size_t>(m_nCaretColumn), 1);
    return true;
  }
  if (m_nCaretLine + 1 >= GetLineCount()) return false;
  line += m_lines[static_cast<size_t>(m_nCaretLine) + 1];
  m_lines.erase(m_lines.begin() + m_nCaretLine + 1);
  return true;
}

void CCodeMaxDocument::MoveLeft() {
  if (m_nCaretColumn > 0) {
    --m_nCaretColumn;
  } else if (m_nCaretLine > 0) {
    --m_nCaretLine;
    m_nCaretColumn = GetLineLength(m_nCaretLine);
  }
}

void CCodeMaxDocument::MoveRight() {
  if (m_nCaretColumn < GetLineLength(m_nCaretLine)) {
    ++m_nCaretColumn;
  } else if (m_nCaretLine + 1 < GetLineCount()) {
    ++m_nCaretLine;
    m_nCaretColumn = 0;
  }
}

void CCodeMaxDocument::MoveUp() {
  if (m_nCaretLine > 0) SetCaret(m_nCaretLine - 1, m_nCaretColumn);
}

void CCodeMaxDocument::MoveDown() {
  if (m_nCaretLine + 1 < GetLineCount()) SetCaret(m_nCaretLine + 1, m_nCaretColumn);
}

void CCodeMaxDocument::MoveHome() { m_nCaretColumn = 0; }

void CCodeMaxDocument::MoveEnd() { m_nCaretColumn = GetLineLength(m_nCaretLine); }
