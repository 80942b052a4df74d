// The check every command's output passes before the tool exits: what a
// command wrote to standard output must have reached it.
#pragma once

namespace nimbo {

// Flushes standard output and returns nStatus when everything written to it
// was written. Otherwise returns kExitError: after one line on standard
// error with the system's reason ("nimbo: cannot write to standard output:
// No space left on device"), or without a word when the reader went away
// (`nimbo functions | head`: OutputSystem.h; on Linux, with SIGPIPE at its
// default, the process ends quietly before this is reached).
int CheckStandardOutput(int nStatus);

}  // namespace nimbo
