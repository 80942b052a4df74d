// CLspScriptReading: a script's lines with the headers and calls read from
// them. An open document's come from its pieces, read again only where the
// text changed; a file's from one reading of its whole text.
#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/CLspScriptFacts.h"

namespace nimbo {
namespace lsp {

class CLspScriptReading {
 public:
  // The document's lines are used in place: it must outlive the reading
  // and not change meanwhile.
  CLspScriptReading(CLspDocument& document, EPositionEncoding eEncoding);
  // A file's lines (empty when it could not be read).
  explicit CLspScriptReading(std::vector<std::string> lines);
  CLspScriptReading(const CLspScriptReading&) = delete;
  CLspScriptReading& operator=(const CLspScriptReading&) = delete;

  const std::vector<std::string>& Lines() const { return *m_pLines; }
  // As CLspScriptFacts finds them in the whole text, in text order.
  const std::vector<CLspHeaderFact>& Headers() const { return m_headers; }
  const std::vector<CLspCallFact>& Calls() const { return m_calls; }

 private:
  std::vector<std::string> m_fileLines;
  const std::vector<std::string>* m_pLines;
  std::vector<CLspHeaderFact> m_headers;
  std::vector<CLspCallFact> m_calls;
};

}  // namespace lsp
}  // namespace nimbo
