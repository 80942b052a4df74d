// LspStdio: standard input and output made ready for the protocol's byte
// stream, one definition per platform side (posix/LspStdio.cpp; on Windows,
// win32/LspStdio.cpp).
#pragma once

// Afterwards a client that goes away shows as a failed write (no signal
// ends the process), and bytes pass both ways untranslated.
void PrepareStdio();
