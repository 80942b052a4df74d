// The Windows side of CrtStdio.h (include that header): the C runtime's own
// functions, whose text mode is the one promised there.
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
