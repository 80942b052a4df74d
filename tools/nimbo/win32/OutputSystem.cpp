// OutputSystem on Windows: there is no SIGPIPE, every write to a closed
// pipe fails. The C runtime turns ERROR_BROKEN_PIPE (an anonymous pipe, as
// cmd.exe's "|" makes) into EPIPE, but ERROR_NO_DATA (a named pipe whose
// reader closed it, as Node.js and libuv make) into EINVAL; the Windows
// error of the last failed call, kept in _doserrno, tells them apart.
#include "tools/nimbo/OutputSystem.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

namespace nimbo {

bool ReaderWentAway(int nError) {
  return nError == EPIPE || (nError == EINVAL && (_doserrno == ERROR_NO_DATA || _doserrno == ERROR_BROKEN_PIPE));
}

}  // namespace nimbo
