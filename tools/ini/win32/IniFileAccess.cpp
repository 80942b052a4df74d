// IniFileAccess on Windows: files are opened in binary mode (text mode
// would drop CRs and stop at a Ctrl-Z) and read, never mapped: a mapped
// view would keep the file from being replaced by the save while the
// change still holds it, and INI files are small enough to copy.
#include "tools/ini/IniFileAccess.h"

#include <fcntl.h>
#include <io.h>

namespace nimbo {
namespace ini {

int OpenToRead(const std::string& strPath) { return _open(strPath.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }

const void* MapWholeFile(int, size_t&) { return nullptr; }

void UnmapWholeFile(const void*, size_t) {}

}  // namespace ini
}  // namespace nimbo
