// CLspJsonExtent: a byte-at-a-time bracket count outside strings.
#include "tools/lsp/CLspJsonExtent.h"

#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

CLspJsonExtent::EResult CLspJsonExtent::Scan(const char* p, size_t nSize) {
  for (; m_eResult == resultOpen && m_nAt < nSize; ++m_nAt) {
    const char ch = p[m_nAt];
    if (m_bString) {
      if (m_bEscape) m_bEscape = false;
      else if (ch == '\\') m_bEscape = true;
      else if (ch == '"') m_bString = false;
    } else if (m_nDepth == 0) {
      if (ch == '{' || ch == '[') m_nDepth = 1;
      else if (!IsJsonBlank(ch)) m_eResult = resultNotStructured;
    } else if (ch == '"') {
      m_bString = true;
    } else if (ch == '{' || ch == '[') {
      ++m_nDepth;
    } else if ((ch == '}' || ch == ']') && --m_nDepth == 0) {
      m_eResult = resultComplete;
    }
  }
  return m_eResult;
}

}  // namespace lsp
}  // namespace nimbo
