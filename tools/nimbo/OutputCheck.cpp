// The final check of standard output.
#include "tools/nimbo/OutputCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/OutputSystem.h"

namespace nimbo {

int CheckStandardOutput(int nStatus) {
  // A write that failed while the command ran leaves the stream's error
  // flag; the flush of what is still buffered fails the same way and so
  // gives the reason afresh (errno from the earlier failure may be gone).
  errno = 0;
  const bool bFlushFailed = std::fflush(stdout) != 0;
  const int nError = errno;
  if (!bFlushFailed && std::ferror(stdout) == 0) return nStatus;
  if (!ReaderWentAway(nError))
    std::fprintf(stderr, "nimbo: cannot write to standard output: %s\n",
                 nError != 0 ? std::strerror(nError) : "a write failed");
  return kExitError;
}

}  // namespace nimbo
