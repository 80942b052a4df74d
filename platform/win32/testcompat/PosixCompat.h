// The few POSIX calls that the test suites use for scratch files, over the
// C runtime of Windows. Included ahead of every test source on the Windows
// side only (never by the library, its host stand-ins or its tools).
#pragma once

#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <sys/stat.h>

// Makes a new directory from a template ending in "XXXXXX" and returns the
// template with its name, or null. A Unix path such as "/tmp/..." names
// the same directory under Wine, whose current drive maps the root.
inline char* mkdtemp(char* pszTemplate) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static unsigned s_nNext = 0;
  const size_t nLength = strlen(pszTemplate);
  if (nLength < 6) return nullptr;
  for (int nTry = 0; nTry < 1000; ++nTry) {
    // Leftovers of earlier runs may hold names made from the same process
    // number: draw from the clock and a counter instead.
    unsigned nSeed = static_cast<unsigned>(clock() + time(nullptr)) * 2654435761u + (s_nNext++) * 40503u +
                     static_cast<unsigned>(_getpid()) * 977u;
    for (size_t i = nLength - 6; i < nLength; ++i) {
      pszTemplate[i] = kChars[nSeed % 36];
      nSeed = nSeed / 36 + 7919u * static_cast<unsigned>(i + nTry);
    }
    if (_mkdir(pszTemplate) == 0) return pszTemplate;
  }
  return nullptr;
}

// An anonymous pipe in binary mode.
inline int pipe(int fds[2]) { return _pipe(fds, 65536, _O_BINARY); }

// POSIX permission bits that the runtime does not define.
#ifndef S_IRWXU
#define S_IRWXU (_S_IREAD | _S_IWRITE | _S_IEXEC)
#endif

// mkdir with a mode, which Windows directories do not have.
inline int mkdir(const char* pszPath, int nMode) {
  (void)nMode;
  return _mkdir(pszPath);
}

// The signal of a write beyond the file-size limit, which Windows never raises.
#include <signal.h>
#ifndef SIGXFSZ
#define SIGXFSZ 25
#endif
