// LspUriPath on POSIX systems: a URI's path is the file's path.
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

std::string SystemPathFromUriPath(const std::string& strUriPath) { return strUriPath; }

std::string UriPathFromSystemPath(const std::string& strPath) { return strPath; }

const char kPathSeparators[] = "/";

}  // namespace lsp
}  // namespace nimbo
