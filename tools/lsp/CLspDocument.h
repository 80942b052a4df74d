// CLspDocument: the text of one document the client has open, as lines of
// bytes, edited by the client's full or incremental changes.
#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CLspCallScanner.h"
#include "tools/lsp/CLspDocumentFacts.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

class CLspDocument {
 public:
  // A position as the client gives it: line and column in its encoding.
  struct CPosition {
    long long nLine = 0;
    long long nCharacter = 0;
  };

  explicit CLspDocument(const std::string& strText = std::string());

  // Replaces the whole text; the document is in step again.
  void SetText(const std::string& strText);
  // Replaces the text between two positions by strText. Positions past a
  // line's end mean its end; lines past the last mean the end of the text;
  // an end before the start is taken as the start.
  void ReplaceRange(const CPosition& start, const CPosition& end, const std::string& strText,
                    EPositionEncoding eEncoding);

  const std::vector<std::string>& Lines() const { return m_lines; }
  // Every change of the text (SetText, ReplaceRange) gives it a new
  // revision, never 0 and never one that any document had before: what is
  // derived from the text records the revision it was made from, and is
  // fresh while the two are equal (also across a close and a reopen).
  unsigned long long Revision() const { return m_nRevision; }
  // The whole text, lines joined with "\n".
  std::string Text() const;

  // The line and byte offset of a client position; false when the line is
  // past the last (the offset is clamped to the line's end).
  bool Locate(const CPosition& position, EPositionEncoding eEncoding, size_t& nLine, size_t& nOffset) const;

  // The innermost call open before a byte position, and whether a byte
  // position is in code (see CLspDocumentFacts).
  bool FindOpenCall(size_t nLine, size_t nOffset, CLspCallScanner::COpenCall& call) {
    m_facts.UpdateLines(m_lines, m_nRevision);
    return m_facts.FindOpenCall(m_lines, nLine, nOffset, call);
  }
  bool IsCodeAt(size_t nLine, size_t nOffset) {
    m_facts.UpdateLines(m_lines, m_nRevision);
    return m_facts.IsCodeAt(m_lines, nLine, nOffset);
  }

  // The document's facts and definitions, read again only where the text
  // changed since the last call (see CLspDocumentFacts).
  CLspDocumentFacts& Facts(EPositionEncoding eEncoding) {
    m_facts.Update(m_lines, eEncoding, m_nRevision);
    return m_facts;
  }

  // A change that could not be applied leaves the text out of step with
  // the client's until the next whole text (SetText) arrives; answers on it
  // would be wrong, so callers give none meanwhile.
  void MarkOutOfStep() { m_bOutOfStep = true; }
  bool IsOutOfStep() const { return m_bOutOfStep; }

  int m_nVersion = 0;  // the client's version of the text

 private:
  // Takes the next revision.
  void Revise();

  std::vector<std::string> m_lines;  // never empty
  unsigned long long m_nRevision = 0;
  bool m_bOutOfStep = false;
  CLspDocumentFacts m_facts;
};

}  // namespace lsp
}  // namespace nimbo
