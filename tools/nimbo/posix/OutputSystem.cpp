// OutputSystem on POSIX systems: EPIPE, seen only with SIGPIPE ignored
// (as `nimbo lsp` does); at its default the signal ends the process quietly
// before the write returns.
#include "tools/nimbo/OutputSystem.h"

#include <cerrno>

namespace nimbo {

bool ReaderWentAway(int nError) { return nError == EPIPE; }

}  // namespace nimbo
