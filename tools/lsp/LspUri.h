// LspUri: file URIs of the protocol against file system paths.
#pragma once

#include <string>

namespace nimbo {
namespace lsp {

// The path of a "file://" URI, percent escapes decoded; false for another
// scheme or an escape that is not two hex digits.
bool PathFromUri(const std::string& strUri, std::string& strPath);

// The "file://" URI of an absolute path, bytes outside the unreserved set
// and "/" percent-encoded.
std::string UriFromPath(const std::string& strPath);

}  // namespace lsp
}  // namespace nimbo
