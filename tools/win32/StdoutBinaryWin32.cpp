// StdoutBinary on Windows: standard output leaves text mode, in which the
// C runtime writes each LF as CR LF (the store's CR LF would arrive as
// CR CR LF).
#include "tools/ini/StdoutBinary.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace nimbo {
namespace ini {

void SetStdoutBinary() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace ini
}  // namespace nimbo
