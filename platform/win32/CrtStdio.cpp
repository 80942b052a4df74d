// CrtStdio: the line reader over the C runtime's own streams, whose buffer
// is not ours to search.
#include "CrtStdio.h"

namespace crt {

bool ReadLine(FILE* pStream, std::string& strSpill, const char** ppLine, size_t* pnLength) {
  return ReadLineByBytes(pStream, strSpill, ppLine, pnLength);
}

}  // namespace crt
