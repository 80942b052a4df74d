// IniSystem on Windows: standard output leaves text mode, in which the C
// runtime writes each LF as CR LF (the store's CR LF would arrive as
// CR CR LF); "/" in a path becomes "\".
#include "tools/ini/IniSystem.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace nimbo {
namespace ini {

void SetStdoutBinary() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

std::string SystemPath(const std::string& strPath) {
  std::string strResult = strPath;
  for (char& ch : strResult)
    if (ch == '/') ch = '\\';
  return strResult;
}

}  // namespace ini
}  // namespace nimbo
