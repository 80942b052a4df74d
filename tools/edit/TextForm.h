// CTextForm: a file's text as the editor holds it (lines joined by "\n",
// the last line without a line end) and the bytes it came from, so that a
// save writes back every byte the user did not change: each line's end
// (LF or CR LF as found, also where a file mixes them), the final newline or
// its absence.
#pragma once

#include <string>
#include <vector>

class CTextForm {
 public:
  // Takes the bytes of a file as read. An empty file counts as one that
  // ends in a newline, so text typed into it ends in one.
  void Read(const std::string& strBytes);
  // The editor's text of the bytes: a "\r" before a line's "\n" and the
  // final line end are not part of it (a file "a\nb\n" has the two lines
  // "a" and "b", as in vim).
  const std::string& GetText() const { return m_strText; }
  const std::string& GetBytes() const { return m_strBytes; }

  // The bytes of the editor's text strText. Lines kept from the text as read
  // (the unchanged lines before and after the changed ones) keep their own
  // line end; new or changed lines take the file's most common one (LF when
  // it has none); the last line ends as the file's last line did. The text
  // as read gives the bytes as read.
  std::string Write(const std::string& strText) const;
  // After strText was written (as Write gives it): the form of the file now.
  void SetWritten(const std::string& strText);

 private:
  std::vector<std::string> Endings(const std::vector<std::string>& lines) const;

  std::string m_strBytes;
  std::string m_strText;
  std::vector<std::string> m_lines;    // the lines of m_strText
  std::vector<std::string> m_endings;  // each line's end: "\n", "\r\n", or "" for a last line without one
  std::string m_strNewLine = "\n";     // the end of a new line
};
