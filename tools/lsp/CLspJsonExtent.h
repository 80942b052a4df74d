// CLspJsonExtent: where the JSON object or array at the start of a body
// ends, found as the body's bytes arrive, without parsing it.
#pragma once

#include <cstddef>

namespace nimbo {
namespace lsp {

class CLspJsonExtent {
 public:
  enum EResult {
    resultOpen,           // the value has not ended within the bytes seen
    resultComplete,       // it ends at End()
    resultNotStructured,  // the body does not begin with "{" or "["
  };

  // Forgets the body seen so far.
  void Reset() { *this = CLspJsonExtent(); }

  // Scans p[0..nSize), the body's bytes as far as they have come (a longer
  // run of the same bytes each time); only the bytes not seen before are
  // read. Brackets are counted outside strings whatever their kind, so a
  // body that is not valid JSON may be said to end where a parser would
  // fail; a valid one ends where its value does.
  EResult Scan(const char* p, size_t nSize);

  // The offset just after the value (resultComplete only).
  size_t End() const { return m_nAt; }

 private:
  size_t m_nAt = 0;  // bytes seen
  int m_nDepth = 0;  // brackets open; 0 before the first
  bool m_bString = false;
  bool m_bEscape = false;
  EResult m_eResult = resultOpen;
};

}  // namespace lsp
}  // namespace nimbo
