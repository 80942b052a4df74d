// LspUri: percent-encoding of file URIs. How a URI's path maps to the
// system's own path form is the side's (LspUriPath.h).
#include "tools/lsp/LspUri.h"

#include <cctype>

#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

}  // namespace

bool PathFromUri(const std::string& strUri, std::string& strPath) {
  const std::string strScheme = "file://";
  if (strUri.compare(0, strScheme.size(), strScheme) != 0) return false;
  // "file:///x" has an empty authority; "file://localhost/x" names this host.
  size_t nAt = strScheme.size();
  const size_t nSlash = strUri.find('/', nAt);
  if (nSlash == std::string::npos) return false;
  const std::string strHost = strUri.substr(nAt, nSlash - nAt);
  if (!strHost.empty() && strHost != "localhost") return false;
  strPath.clear();
  for (size_t i = nSlash; i < strUri.size(); ++i) {
    const char ch = strUri[i];
    if (ch == '?' || ch == '#') break;
    if (ch != '%') {
      strPath += ch;
      continue;
    }
    if (i + 2 >= strUri.size()) return false;
    const int nHigh = HexValue(strUri[i + 1]);
    const int nLow = HexValue(strUri[i + 2]);
    if (nHigh < 0 || nLow < 0) return false;
    strPath += static_cast<char>(nHigh * 16 + nLow);
    i += 2;
  }
  strPath = SystemPathFromUriPath(strPath);
  return true;
}

std::string UriFromPath(const std::string& strPath) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string strUri = "file://";
  for (const char ch : UriPathFromSystemPath(strPath)) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c < 128 && std::isalnum(c)) || ch == '/' || ch == '-' || ch == '.' || ch == '_' || ch == '~') {
      strUri += ch;
    } else {
      strUri += '%';
      strUri += kHex[c >> 4];
      strUri += kHex[c & 15];
    }
  }
  return strUri;
}

}  // namespace lsp
}  // namespace nimbo
