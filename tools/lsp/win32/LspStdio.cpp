// LspStdio on Windows: the C runtime opens standard input and output in
// text mode, which would turn CR LF into LF on the way in (the
// Content-Length headers would no longer match) and LF into CR LF on the way
// out. A pipe whose reader is gone fails the write with EPIPE or EINVAL;
// there is no signal to ignore.
#include "tools/lsp/LspStdio.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void PrepareStdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}
