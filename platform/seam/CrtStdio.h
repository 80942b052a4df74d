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
//
// ReadLine is not a C runtime function but a service on top of them, so
// that a reader of lines need not call fgetc for every byte.
#pragma once

#include <cstddef>
#include <string>

#include "CrtStdioSide.h"

namespace crt {

// Reads the next line of a stream opened for reading: the bytes fgetc would
// return up to the next LF, without it. *ppLine and *pnLength give the line,
// which stays valid until the next call on the stream or a change of
// strSpill (the line is copied there when it cannot be handed over where it
// lies). False at the end of the text or on a read error (as fgetc's kEof;
// feof and ferror tell which); the bytes of a last line without its LF are
// then dropped.
bool ReadLine(FILE* pStream, std::string& strSpill, const char** ppLine, size_t* pnLength);

// ReadLine byte by byte through fgetc, gathering the line in strSpill: what
// a side's ReadLine falls back on.
inline bool ReadLineByBytes(FILE* pStream, std::string& strSpill, const char** ppLine, size_t* pnLength) {
  strSpill.clear();
  for (int c = fgetc(pStream); c != kEof; c = fgetc(pStream)) {
    if (c == '\n') {
      *ppLine = strSpill.data();
      *pnLength = strSpill.size();
      return true;
    }
    strSpill.push_back(static_cast<char>(c));
  }
  return false;
}

}  // namespace crt
