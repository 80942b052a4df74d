// StampOf on Windows from one look at the file's attributes; the last
// write time counts 100-nanosecond steps since 1601.
#include <windows.h>

#include "tools/lsp/LspProjectFiles.h"

namespace nimbo {
namespace lsp {

bool StampOf(const std::string& strPath, CLspStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  stamp.nTime = static_cast<long long>((static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                       data.ftLastWriteTime.dwLowDateTime);
  stamp.nSize = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

}  // namespace lsp
}  // namespace nimbo
