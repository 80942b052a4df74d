// LspUriPath: the path of a file URI against the system's own path form, and
// that form's separators; one definition per platform side
// (LspUriPathPosix.cpp; on Windows, tools/win32/LspUriPathWin32.cpp).
#pragma once

#include <string>

namespace nimbo {
namespace lsp {

// The system's path for the decoded path of a "file:" URI ("/home/a/x.nsc";
// "/c:/Users/a/x.nsc" or "//server/share/x.nsc" on Windows).
std::string SystemPathFromUriPath(const std::string& strUriPath);

// The decoded URI path of an absolute system path (the inverse of the above).
std::string UriPathFromSystemPath(const std::string& strPath);

// The characters that separate a system path's folders ("/"; "\\/" on Windows).
extern const char kPathSeparators[];

}  // namespace lsp
}  // namespace nimbo
