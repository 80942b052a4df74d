// LspUriPath: the path of a file URI against the system's own path form, and
// that form's separators; one definition per platform side
// (posix/LspUriPath.cpp; win32/LspUriPath.cpp on Windows).
#pragma once

#include <string>

namespace nimbo {
namespace lsp {

// The system's path for the decoded path of a "file:" URI ("/home/a/x.nsc";
// "/c:/Users/a/x.nsc" or "//server/share/x.nsc" on Windows).
std::string SystemPathFromUriPath(const std::string& strUriPath);

// The decoded URI path of an absolute system path (the inverse of the above).
std::string UriPathFromSystemPath(const std::string& strPath);

// The characters that separate a system path's folders ("/"; "\\/" on Windows),
// the system's own first: the one paths are joined with, and the only one in
// the paths the language server keeps (SystemSeparators), so that a path read
// from a listing and the same path from a URI compare equal as text.
extern const char kPathSeparators[];

inline char PathSeparator() { return kPathSeparators[0]; }

inline bool IsPathSeparator(char ch) {
  for (const char* p = kPathSeparators; *p != '\0'; ++p)
    if (*p == ch) return true;
  return false;
}

// strPath with every separator the system's own ("a/b\c" is "a\b\c" on Windows).
inline std::string SystemSeparators(std::string strPath) {
  for (char& ch : strPath)
    if (IsPathSeparator(ch)) ch = PathSeparator();
  return strPath;
}

}  // namespace lsp
}  // namespace nimbo
