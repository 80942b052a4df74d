// LspStdio on POSIX systems: streams carry bytes as they are; only SIGPIPE
// has to be ignored.
#include "tools/lsp/LspStdio.h"

#include <signal.h>

void PrepareStdio() { signal(SIGPIPE, SIG_IGN); }
