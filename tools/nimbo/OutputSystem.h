// OutputSystem: how a write to standard output shows that its reader went
// away, one definition per platform side (posix/OutputSystem.cpp; on
// Windows, win32/OutputSystem.cpp).
#pragma once

namespace nimbo {

// True when nError, the errno value of a write to standard output that
// has just failed, means that the reader closed its end (a pipe into a
// program that stopped reading): the tool then ends without a message.
bool ReaderWentAway(int nError);

}  // namespace nimbo
