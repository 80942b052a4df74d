// StampOf from one stat: a query that checks thousands of files before
// editing them pays one system call each.
#include <sys/stat.h>

#include "tools/lsp/LspProjectFiles.h"

namespace nimbo {
namespace lsp {

bool StampOf(const std::string& strPath, CLspStamp& stamp) {
  struct stat info;
  if (stat(strPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  stamp.nTime = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  stamp.nSize = static_cast<unsigned long long>(info.st_size);
  return true;
}

}  // namespace lsp
}  // namespace nimbo
