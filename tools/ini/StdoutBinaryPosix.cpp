// StdoutBinary on POSIX systems: streams never translate line ends.
#include "tools/ini/StdoutBinary.h"

namespace nimbo {
namespace ini {

void SetStdoutBinary() {}

}  // namespace ini
}  // namespace nimbo
