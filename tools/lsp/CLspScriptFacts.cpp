// CLspScriptFacts: one forward pass with a stack of the brackets still open.
#include "tools/lsp/CLspScriptFacts.h"

#include <cstring>

#include "tools/lsp/LspCodeScan.h"

namespace nimbo {
namespace lsp {

namespace {

// One bracket still open: "(" of a call or of an expression, "[", "{", or
// "h" for a header's parameter list.
struct CFrame {
  char chKind;
  int nCall = -1;     // m_calls index of the call it opens
  int nHeader = -1;   // m_headers index: its parameter list, or (for "{") its body
  int nCommas = 0;
  bool bContent = false;  // something other than blanks and comments stands inside
};

// The pass over the events of ScanLine, line by line.
class CFactsPass {
 public:
  CFactsPass(std::vector<CLspCallFact>& calls, std::vector<CLspHeaderFact>& headers,
             std::vector<CLspLiteralFact>& unclosed, CLspBlockFacts& blocks)
      : m_calls(calls), m_headers(headers), m_unclosed(unclosed), m_blocks(blocks) {}

  void Line(const std::string& strLine, size_t nLine, CLspCallScanner::CStart& start) {
    m_pLine = &strLine;
    m_nLine = nLine;
    start = ScanWholeLine<true>(strLine, start, *this);
  }

  // Nothing but blocks is open, and no header is being read.
  bool Quiet() const {
    for (const CFrame& frame : m_stack)
      if (frame.chKind != '{') return false;
    return m_nAwaiting < 0 && !m_bInHeader && !m_bLastWord;
  }

  // The text ended: what is still open stays open.
  void End(size_t nLastLine, size_t nLastEnd) {
    for (const CFrame& frame : m_stack) {
      if (frame.chKind == '{') m_blocks.open.push_back(frame.nHeader);
      if (frame.chKind == '{' && frame.nHeader >= 0) {
        m_headers[frame.nHeader].nEndLine = nLastLine;
        m_headers[frame.nHeader].nEndOffset = nLastEnd;
      } else if (frame.chKind == '(' && frame.nCall >= 0) {
        m_calls[frame.nCall].nArguments = Arguments(frame);
      } else if (frame.chKind == 'h') {
        TakeParameter(m_headers[frame.nHeader]);
      }
    }
    if (m_nAwaiting >= 0) Settle(false);
  }

  void operator()(size_t nOffset, char chKind) {
    // Closers and statement ends are no argument of the call they end.
    if (!m_stack.empty() && std::strchr(")]};{ku", chKind) == nullptr) m_stack.back().bContent = true;
    switch (chKind) {
      case 'w':
        Word(nOffset);
        return;
      case 'k':
        EndStatement();
        if (m_nAwaiting >= 0) Settle(false);
        m_header = CLspHeaderFact();
        m_header.bDeclare = (*m_pLine)[nOffset] == 'd';
        m_header.nKeywordLine = m_nLine;
        m_header.nKeyword = nOffset;
        m_bInHeader = true;
        m_bLastWord = false;
        return;
      case 'h':
        OpenHeader(nOffset);
        break;
      case '(':
        OpenParen(nOffset);
        break;
      case '[':
        m_stack.push_back(CFrame{'['});
        break;
      case ')':
        CloseParen(nOffset);
        break;
      case ']':
        if (!m_stack.empty() && m_stack.back().chKind == '[') m_stack.pop_back();
        break;
      case ',':
        if (InParameters()) TakeParameter(m_headers[m_stack.back().nHeader]);
        if (!m_stack.empty()) ++m_stack.back().nCommas;
        break;
      case ';':
        EndStatement();
        if (m_nAwaiting >= 0) Settle(false);
        break;
      case '{':
        EndStatement();
        m_stack.push_back(CFrame{'{'});
        if (m_nAwaiting >= 0) {
          m_stack.back().nHeader = m_nAwaiting;
          Settle(true);
        }
        break;
      case '}':
        CloseBlock(nOffset);
        break;
      case '.':
        if (InParameters()) m_strDots += '.';
        break;
      case 'q':
        m_literal.nLine = m_nLine;
        m_literal.nQuote = nOffset;
        m_literal.bChar = (*m_pLine)[nOffset] == '\'';
        break;
      case 'u':
        m_literal.nEndLine = m_nLine;
        m_unclosed.push_back(m_literal);
        break;
      default:  // 'o': an operator or a stray byte
        break;
    }
    m_bLastWord = false;
  }

 private:
  static int Arguments(const CFrame& frame) { return frame.bContent ? frame.nCommas + 1 : 0; }

  bool InParameters() const { return !m_stack.empty() && m_stack.back().chKind == 'h'; }

  void Word(size_t nFirst) {
    const std::string& strLine = *m_pLine;
    const size_t nEnd = WordEnd(strLine, nFirst);
    if (InParameters()) {
      m_strParameter.assign(strLine, nFirst, nEnd - nFirst);
      return;
    }
    m_bLastWord = CTokenizer::KindOfWord(strLine.data() + nFirst, nEnd - nFirst) == tkIdentifier;
    m_nWordLine = m_nLine;
    m_pWordLine = m_pLine;
    m_nWordFirst = nFirst;
    m_nWordEnd = nEnd;
    if (m_bInHeader && m_bLastWord) {
      // The words of a header before its "(": the type words, then the name.
      if (!m_header.strName.empty()) {
        if (!m_header.strType.empty()) m_header.strType += ' ';
        m_header.strType += m_header.strName;
      }
      m_header.strName.assign(strLine, nFirst, nEnd - nFirst);
      m_header.nLine = m_nLine;
      m_header.nFirst = nFirst;
      m_header.nEnd = nEnd;
    }
  }

  void OpenParen(size_t nOffset) {
    CFrame frame{'('};
    // Every byte of code but blanks is an event, so a name is the last
    // event only when blanks, comments and line breaks alone follow it.
    if (m_bLastWord) {
      const std::string& strLine = *m_pWordLine;
      CLspCallFact call;
      call.strName.assign(strLine, m_nWordFirst, m_nWordEnd - m_nWordFirst);
      call.nLine = m_nWordLine;
      call.nFirst = m_nWordFirst;
      call.nEnd = m_nWordEnd;
      call.nParenLine = m_nLine;
      call.nParen = nOffset;
      size_t i = m_nWordFirst;
      while (i > 0 && (strLine[i - 1] == ' ' || strLine[i - 1] == '\t')) --i;
      call.bAfterDot = i > 0 && strLine[i - 1] == '.';
      frame.nCall = static_cast<int>(m_calls.size());
      m_calls.push_back(std::move(call));
    }
    m_stack.push_back(frame);
  }

  void OpenHeader(size_t nOffset) {
    m_bInHeader = false;
    if (m_header.strName.empty() || !m_bLastWord) {
      // "function (" or a reserved word before "(": no header the catalogue would take
      m_header.strName.clear();
    }
    CFrame frame{'h'};
    frame.nHeader = static_cast<int>(m_headers.size());
    m_header.nEndLine = m_nLine;
    m_header.nEndOffset = nOffset + 1;
    m_headers.push_back(m_header);
    m_strParameter.clear();
    m_strDots.clear();
    m_stack.push_back(frame);
  }

  // The parameter read since the last "," of a header's list.
  void TakeParameter(CLspHeaderFact& header) {
    if (!m_strDots.empty()) header.parameters.push_back(m_strDots);
    else if (!m_strParameter.empty()) header.parameters.push_back(m_strParameter);
    m_strParameter.clear();
    m_strDots.clear();
  }

  void CloseParen(size_t nOffset) {
    // The innermost "(" or parameter list inside the current block; "["
    // left open inside it are given up.
    size_t n = m_stack.size();
    while (n > 0 && m_stack[n - 1].chKind == '[') --n;
    if (n == 0 || m_stack[n - 1].chKind == '{') return;  // a stray ")"
    const CFrame frame = m_stack[n - 1];
    m_stack.resize(n - 1);
    if (frame.chKind == 'h') {
      CLspHeaderFact& header = m_headers[frame.nHeader];
      TakeParameter(header);
      header.nEndLine = m_nLine;
      header.nEndOffset = nOffset + 1;
      m_nAwaiting = frame.nHeader;
    } else if (frame.nCall >= 0) {
      CLspCallFact& call = m_calls[frame.nCall];
      call.bClosed = true;
      call.nArguments = Arguments(frame);
    }
  }

  // A ";", "{", "}" or header keyword: every "(", "[" and parameter list
  // open inside the current block ends, its call left open.
  void EndStatement() {
    m_bInHeader = false;
    while (!m_stack.empty() && m_stack.back().chKind != '{') {
      const CFrame& frame = m_stack.back();
      if (frame.chKind == '(' && frame.nCall >= 0) m_calls[frame.nCall].nArguments = Arguments(frame);
      if (frame.chKind == 'h') TakeParameter(m_headers[frame.nHeader]);
      m_stack.pop_back();
    }
  }

  void CloseBlock(size_t nOffset) {
    EndStatement();
    if (m_nAwaiting >= 0) Settle(false);
    if (m_stack.empty()) {  // a stray "}"
      m_blocks.strayEnds.emplace_back(m_nLine, nOffset);
      return;
    }
    if (m_stack.back().nHeader >= 0) {
      CLspHeaderFact& header = m_headers[m_stack.back().nHeader];
      header.nEndLine = m_nLine;
      header.nEndOffset = nOffset + 1;
    }
    m_stack.pop_back();
  }

  // The header whose parameter list closed last gets a body or none.
  void Settle(bool bBody) {
    m_headers[m_nAwaiting].bBody = bBody;
    m_nAwaiting = -1;
  }

  std::vector<CLspCallFact>& m_calls;
  std::vector<CLspHeaderFact>& m_headers;
  std::vector<CLspLiteralFact>& m_unclosed;
  CLspBlockFacts& m_blocks;
  CLspLiteralFact m_literal;  // the literal opened last
  const std::string* m_pLine = nullptr;
  size_t m_nLine = 0;
  std::vector<CFrame> m_stack;
  bool m_bLastWord = false;  // the last event was a name (not a reserved word)
  size_t m_nWordLine = 0;
  const std::string* m_pWordLine = nullptr;  // the line it stands on (the caller's, alive for the pass)
  size_t m_nWordFirst = 0;
  size_t m_nWordEnd = 0;
  bool m_bInHeader = false;  // between a header keyword and its "("
  CLspHeaderFact m_header;   // the header being read
  int m_nAwaiting = -1;      // the header whose list closed, until its "{" or statement end
  std::string m_strParameter;
  std::string m_strDots;
};

}  // namespace

void CLspScriptFacts::Scan(const std::vector<std::string>& lines) {
  m_calls.clear();
  m_headers.clear();
  m_unclosed.clear();
  m_blocks = CLspBlockFacts();
  CFactsPass pass(m_calls, m_headers, m_unclosed, m_blocks);
  CLspCallScanner::CStart start;
  for (size_t nLine = 0; nLine < lines.size(); ++nLine) pass.Line(lines[nLine], nLine, start);
  m_bEndsQuiet = pass.Quiet() && start.eState == CLspCallScanner::stateCode && !start.bHeader;
  pass.End(lines.empty() ? 0 : lines.size() - 1, lines.empty() ? 0 : lines.back().size());
}

}  // namespace lsp
}  // namespace nimbo
