// CCodeMaxDocument: the text and caret of one CodeMax editor, without any window.
//
// The text is a list of lines (never fewer than one) of 8-bit characters; a
// column counts the characters before a position on its line. The caret always
// stands inside the text: its line is a real line and its column lies between
// 0 and that line's length. Every editing operation works at the caret and
// leaves the caret just after what it inserted (or where it deleted).
#pragma once

#include <string>
#include <vector>

class CCodeMaxDocument {
 public:
  CCodeMaxDocument();

  // Replaces the whole text. Lines are split at "\n"; a "\r" before a "\n" is
  // dropped. The caret goes to line 0, column 0.
  void SetText(const std::string& strText);
  // The whole text, lines joined with "\n" (no trailing "\n").
  std::string GetText() const;

  int GetLineCount() const { return static_cast<int>(m_lines.size()); }
  // The text of a line; an empty string for a line outside the text.
  const std::string& GetLine(int nLine) const;
  // The length of a line; 0 for a line outside the text.
  int GetLineLength(int nLine) const;
  // True when the text is a single empty line.
  bool IsEmpty() const { return m_lines.size() == 1 && m_lines[0].empty(); }

  int GetCaretLine() const { return m_nCaretLine; }
  int GetCaretColumn() const { return m_nCaretColumn; }
  // Moves the caret; the line and then the column are clamped into the text.
  void SetCaret(int nLine, int nColumn);

  // Inserts one character at the caret; "\n" splits the line.
  void InsertChar(char ch);
  // Inserts text at the caret as if each character were typed.
  void InsertText(const std::string& strText);
  // Deletes the character before the caret; at column 0 joins the line to the
  // previous one. False (nothing changed) at the start of the text.
  bool Backspace();
  // Deletes the character after the caret; at the end of a line joins the next
  // line to it. False (nothing changed) at the end of the text.
  bool Delete();

  // Caret movement. Left and right cross line ends; up and down keep the
  // column, clamped to the target line's length; home and end go to the start
  // and end of the caret's line. Each is a no-op at the edge of the text.
  void MoveLeft();
  void MoveRight();
  void MoveUp();
  void MoveDown();
  void MoveHome();
  void MoveEnd();

 private:
  std::vector<std::string> m_lines;
  int m_nCaretLine = 0;
  int m_nCaretColumn = 0;
};
