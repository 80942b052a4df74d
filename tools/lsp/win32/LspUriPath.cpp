// LspUriPath on Windows: "/c:/Users/a/x.nsc" is "C:\Users\a\x.nsc". Clients
// send the drive letter in either case and the colon as it is or
// percent-encoded ("file:///C:/..." from most, "file:///c%3A/..." from
// VS Code); the URIs made here take VS Code's form, so that they compare
// equal as text with the URIs of the documents it opened.
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

bool IsDriveLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

char Upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }
char Lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

}  // namespace

const char kPathSeparators[] = "\\/";

std::string SystemPathFromUriPath(const std::string& strUriPath) {
  std::string strPath = strUriPath;
  if (strPath.size() >= 3 && strPath[0] == '/' && IsDriveLetter(strPath[1]) && strPath[2] == ':') {
    strPath.erase(0, 1);
    strPath[0] = Upper(strPath[0]);
  }
  for (char& ch : strPath)
    if (ch == '/') ch = '\\';
  return strPath;
}

std::string UriPathFromSystemPath(const std::string& strPath) {
  std::string strUriPath = strPath;
  for (char& ch : strUriPath)
    if (ch == '\\') ch = '/';
  if (strUriPath.size() >= 2 && IsDriveLetter(strUriPath[0]) && strUriPath[1] == ':')
    strUriPath.insert(0, 1, '/');
  if (strUriPath.size() >= 3 && strUriPath[2] == ':') strUriPath[1] = Lower(strUriPath[1]);
  return strUriPath;
}

}  // namespace lsp
}  // namespace nimbo
