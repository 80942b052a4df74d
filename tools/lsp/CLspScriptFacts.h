// CLspScriptFacts: what one script's text says about functions, found in
// one pass over its lines with the byte rules of LspCodeScan: every call,
// every header ("function" or "declare") with its parameters and, for a
// function, the extent of its body, and the calls left open.
//
// A call is a name of the language followed by "(" in code, with nothing
// but blanks, comments and line breaks between (as the tokenizer reads
// them: "Bar (1)", "Bar\n(2)" and "Bar/* c */(3)" are calls), that is not a
// reserved word, not the name of a header, and not a member after "."
// (those are kept, marked, for the reader to pass over). Its arguments are the commas at its own level plus
// one, or none when nothing but blanks and comments stands between its
// brackets. A call is open until its ")"; it is left open (bClosed false)
// when its statement or block ends first: a ";", "{" or "}" at its level or
// around it, a header keyword, or the end of the text. A string or
// character literal left open at its line's end ends there and is kept as
// a fact of its own.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace nimbo {
namespace lsp {

struct CLspCallFact {
  std::string strName;
  size_t nLine = 0;       // the name's line and byte range in it
  size_t nFirst = 0;
  size_t nEnd = 0;
  size_t nParenLine = 0;  // where its "(" stands
  size_t nParen = 0;
  int nArguments = 0;     // counted up to its ")", or up to where it was left open
  bool bClosed = false;
  bool bAfterDot = false;  // obj.Name(...): not a script function's call
};

struct CLspHeaderFact {
  bool bDeclare = false;     // "declare Name(...)" rather than "function ..."
  std::string strName;
  std::string strType;       // the words between the keyword and the name ("string"), blank-separated
  size_t nLine = 0;          // the name's line and byte range in it
  size_t nFirst = 0;
  size_t nEnd = 0;
  size_t nKeywordLine = 0;   // where "function" or "declare" stands
  size_t nKeyword = 0;
  std::vector<std::string> parameters;  // as written; a variadic tail is "..."
  bool bBody = false;        // a "{" followed the parameter list
  size_t nEndLine = 0;       // the "}" that closes the body, else the end of the parameter list
  size_t nEndOffset = 0;     // (one past it); the text's end when the body never closes
};

// A string or character literal whose closing quote is missing: it ends at
// the end of its line.
struct CLspLiteralFact {
  size_t nLine = 0;   // where its opening quote stands
  size_t nQuote = 0;
  size_t nEndLine = 0;  // the line it ends with (later than nLine when a backslash carried it on)
  bool bChar = false;   // opened by "'"
};

// Where a block ("{") is still open at the end of a text, or where a "}"
// closes one opened before the text: what joins the facts of a piece of a
// longer text to those of the pieces around it.
struct CLspBlockFacts {
  std::vector<std::pair<size_t, size_t>> strayEnds;  // line, offset of each "}" with no "{" of the text before it
  std::vector<int> open;  // outermost first: the index in Headers() of the function whose body it is, or -1
};

class CLspScriptFacts {
 public:
  // Reads lines (a document's, or a file's split by SplitLines) from the start.
  void Scan(const std::vector<std::string>& lines);

  // In text order: calls by their "(", headers by their keyword.
  const std::vector<CLspCallFact>& Calls() const { return m_calls; }
  const std::vector<CLspHeaderFact>& Headers() const { return m_headers; }
  const std::vector<CLspLiteralFact>& UnclosedLiterals() const { return m_unclosed; }
  // A body still open at the end runs to the text's end in Headers().
  const CLspBlockFacts& Blocks() const { return m_blocks; }
  // Whether the text ended with nothing open but blocks ("{"): no call,
  // bracket or parameter list, no header waiting for its "(" or body, and
  // no name last that a "(" after the text would make a call.
  // Then the facts of text that follows do not depend on this text (blocks
  // open around it change only where a body ends).
  bool EndsQuiet() const { return m_bEndsQuiet; }

 private:
  std::vector<CLspCallFact> m_calls;
  std::vector<CLspHeaderFact> m_headers;
  std::vector<CLspLiteralFact> m_unclosed;
  CLspBlockFacts m_blocks;
  bool m_bEndsQuiet = true;
};

}  // namespace lsp
}  // namespace nimbo
