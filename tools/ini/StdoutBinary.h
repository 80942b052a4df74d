// StdoutBinary: standard output for bytes that must arrive as they are (a
// file's text with its own line ends), one definition per platform side
// (StdoutBinaryPosix.cpp; on Windows, tools/win32/StdoutBinaryWin32.cpp,
// where the C runtime's text mode would write each LF as CR LF).
#pragma once

namespace nimbo {
namespace ini {

// From now on standard output passes bytes untranslated.
void SetStdoutBinary();

}  // namespace ini
}  // namespace nimbo
