// IniSystem on POSIX systems: streams never translate line ends, and a path
// is already in the system's form.
#include "tools/ini/IniSystem.h"

namespace nimbo {
namespace ini {

void SetStdoutBinary() {}

std::string SystemPath(const std::string& strPath) { return strPath; }

}  // namespace ini
}  // namespace nimbo
