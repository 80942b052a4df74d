// File URIs against Windows paths in the language server: the forms clients
// send (VS Code's percent-encoded colon, other clients' plain one, either
// case of drive letter) and the form the server answers in.
#include <gtest/gtest.h>

#include "tools/lsp/LspUri.h"

namespace {

using nimbo::lsp::PathFromUri;
using nimbo::lsp::UriFromPath;

TEST(LspUriWin32, ClientFormsGiveTheWindowsPath) {
  const struct {
    const char* pszUri;
    const char* pszPath;
  } cases[] = {
      {"file:///c%3A/Users/Ann/main.nsc", "C:\\Users\\Ann\\main.nsc"},
      {"file:///C:/Users/Ann/main.nsc", "C:\\Users\\Ann\\main.nsc"},
      {"file:///d%3a/My%20Scripts/a%23b.nsc", "D:\\My Scripts\\a#b.nsc"},
      {"file://localhost/C:/x.nsc", "C:\\x.nsc"},
      {"file:///c%3A", "C:"},
      {"file:///not/on/a/drive.nsc", "\\not\\on\\a\\drive.nsc"},
  };
  for (const auto& test : cases) {
    std::string strPath;
    EXPECT_TRUE(PathFromUri(test.pszUri, strPath)) << test.pszUri;
    EXPECT_EQ(strPath, test.pszPath) << test.pszUri;
  }
}

TEST(LspUriWin32, AnswersInVsCodesFormAndRoundTrips) {
  EXPECT_EQ(UriFromPath("C:\\Users\\Ann\\main.nsc"), "file:///c%3A/Users/Ann/main.nsc");
  EXPECT_EQ(UriFromPath("C:\\Users\\Ann/mixed\\main.nsc"), "file:///c%3A/Users/Ann/mixed/main.nsc");
  EXPECT_EQ(UriFromPath("d:\\My Scripts\\a#b.nsc"), "file:///d%3A/My%20Scripts/a%23b.nsc");
  // Text outside ASCII is UTF-8, each byte percent-encoded.
  EXPECT_EQ(UriFromPath("C:\\Users\\Jos\u00e9\\\u65e5\u672c.nsc"), "file:///c%3A/Users/Jos%C3%A9/%E6%97%A5%E6%9C%AC.nsc");
  // A UNC path keeps its two leading slashes in the URI's path.
  EXPECT_EQ(UriFromPath("\\\\server\\share\\x.nsc"), "file:////server/share/x.nsc");
  for (const char* pszPath : {"C:\\a b\\c.nsc", "Z:\\tmp\\x.nsc", "\\\\server\\share\\x.nsc",
                              "C:\\Outils \u00fc\\\u0141\u00f3d\u017a \U0001F600.nsc"}) {
    std::string strBack;
    EXPECT_TRUE(PathFromUri(UriFromPath(pszPath), strBack));
    EXPECT_EQ(strBack, pszPath);
  }
}

}  // namespace
