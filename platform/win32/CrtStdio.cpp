// CrtStdio: the line reader over the C runtime's own streams.
#include "CrtStdio.h"

namespace crt {

bool ReadLine(FILE* pStream, std::string& strSpill, const char** ppLine, size_t* pnLength) {
  strSpill.clear();
  for (int c = fgetc(pStream); c != kEof; c = fgetc(pStream)) {
    if (c == '\n') {
      *ppLine = strSpill.data();
      *pnLength = strSpill.size();
      return true;
    }
    strSpill.push_back(static_cast<char>(c));
  }
  return false;
}

}  // namespace crt
