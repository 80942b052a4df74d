// CrtStdio: the C runtime's buffered stream functions with the Windows text
// mode, what both sides of the platform layer promise. Each side's
// CrtStdioSide.h supplies them: on Windows the runtime's own functions, on
// posix, whose C library has no text mode, a runtime of its own.
//
// Library code writes `crt::fopen(path, "rt")`, `crt::fgetc(pFile)`,
// `crt::fprintf(pFile, "%s\n", psz)`, `crt::fclose(pFile)` as it would write
// the C runtime calls on Windows. The names live in namespace crt, with the
// type crt::FILE and the end-of-file value crt::kEof, so that they never
// clash with <cstdio> (which may be included in the same translation unit).
// The functions: fopen, fclose, fgetc, feof, ferror, fprintf, vfprintf,
// fwrite, fflush, with the C runtime's results.
//
// Modes: "r", "w" or "a", then "t" (text) or "b" (binary); text is the
// default. Text mode on reading turns each CR LF pair into one LF, leaves a
// CR not followed by LF as it is, and ends the stream at a Ctrl-Z byte
// (0x1A), as at the end of the file; on writing it turns each LF into CR LF.
// Streams belong to one thread at a time.
#pragma once

#include "CrtStdioSide.h"
