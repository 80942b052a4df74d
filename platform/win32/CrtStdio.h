// CrtStdio: the C runtime's buffered stream functions, whose own text mode
// ("rt", "wt") turns CR LF into LF and stops at Ctrl-Z on reading, and turns
// LF into CR LF on writing. Library code writes crt::fopen(path, "rt") and
// so on; on Windows these are the runtime's functions themselves.
#pragma once

#include <cstdio>

namespace crt {

const int kEof = EOF;

using ::FILE;
using ::fclose;
using ::feof;
using ::ferror;
using ::fflush;
using ::fgetc;
using ::fopen;
using ::fprintf;
using ::fwrite;
using ::vfprintf;

}  // namespace crt
