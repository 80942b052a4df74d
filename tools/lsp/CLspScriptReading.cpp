// CLspScriptReading: a document's pieces put together, or a file read whole.
#include "tools/lsp/CLspScriptReading.h"

namespace nimbo {
namespace lsp {

CLspScriptReading::CLspScriptReading(CLspDocument& document, EPositionEncoding eEncoding)
    : m_pLines(&document.Lines()) {
  const CLspDocumentFacts& facts = document.Facts(eEncoding);
  m_headers = facts.Headers();
  m_calls = facts.Calls();
}

CLspScriptReading::CLspScriptReading(std::vector<std::string> lines)
    : m_fileLines(std::move(lines)), m_pLines(&m_fileLines) {
  CLspScriptFacts facts;
  facts.Scan(m_fileLines);
  m_headers = facts.Headers();
  m_calls = facts.Calls();
}

}  // namespace lsp
}  // namespace nimbo
