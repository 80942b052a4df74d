// LspMemory: glibc's malloc_trim where the C library is glibc.
#include "tools/lsp/LspMemory.h"

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace nimbo {
namespace lsp {

void ReleaseFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace lsp
}  // namespace nimbo
