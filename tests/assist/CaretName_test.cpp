// Tests of the function name at the caret: the backward scan, the catalogue
// lookup and the anchor every lookup records.
#include "assist/CZoPromptorCtrl.h"

#include <gtest/gtest.h>

#include "PromptorFixture.h"

namespace {

using CaretName = PromptorTest;

struct NameCase {
  const char* pszLine;
  int nColumn;
  const char* pszName;
  const char* pszPrototype;
};

TEST_F(CaretName, NameTableWithPrototypesAndAnchor) {
  const NameCase cases[] = {
      {"MessageBox", 10, "MessageBox", "MessageBox(text, caption)"},
      {"x = Max (", 9, "Max", "Max(x, y)"},
      {"obj.Method", 10, "Method", "Method()"},
      {"Foo((", 5, "Foo", "Foo(a, b, c)"},
      {"Foo  ( (  ", 10, "Foo", "Foo(a, b, c)"},
      {"Foo\t(", 5, "", ""},
      {"(", 1, "", ""},
      {"Foo", 0, "", ""},
      {"Foobar", 2, "Fo", "Fo(z)"},  // only the part before the caret counts
      {"Foobar", 6, "", ""},         // not in any catalogue
      {"messagebox", 10, "", ""},    // the match is case-sensitive
      {"123", 3, "123", "123(n)"},   // digits alone form a name
      {"x = UserFn", 10, "UserFn", "UserFn(p, q)"},
      {"Both", 4, "Both", "Both(standard)"},  // the standard catalogue wins
  };
  int nLine = 0;
  for (const NameCase& c : cases) {
    // Put each case on its own line so that the anchor line changes too.
    std::string text(static_cast<size_t>(nLine), '\n');
    text += c.pszLine;
    H().SetText(text.c_str());
    H().SetCaret(nLine, c.nColumn);
    CString strPrototype("untouched");
    CString strName = H().Controller()->GetCurrentFunctionName(&strPrototype);
    EXPECT_EQ(strName, c.pszName) << c.pszLine;
    EXPECT_EQ(strPrototype, *c.pszName != '\0' ? c.pszPrototype : "untouched") << c.pszLine;
    EXPECT_EQ(H().Controller()->GetTipLine(), nLine) << c.pszLine;
    EXPECT_EQ(H().Controller()->GetTipColumn(), c.nColumn + 1) << c.pszLine;
    // A null prototype pointer is allowed.
    EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), c.pszName) << c.pszLine;
    ++nLine;
  }
  EXPECT_TRUE(H().GetEvents().empty());  // a lookup opens no tip
}

TEST_F(CaretName, LookupLeavesCataloguesAlone) {
  const size_t nStd = g_FuncInfoStd.size();
  const size_t nUser = g_FuncInfoUser.size();
  H().SetText("Unknown");
  H().SetCaret(0, 7);
  EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(g_FuncInfoStd.size(), nStd);
  EXPECT_EQ(g_FuncInfoUser.size(), nUser);
}

TEST_F(CaretName, HostLookupWhileTipOpenMovesTheAnchor) {
  H().SetText("\n\nMax");
  H().TypeText("Foo(a, b");
  ASSERT_EQ(TipParam(), 1);
  H().SetCaret(2, 3);
  EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), "Max");
  EXPECT_EQ(H().Controller()->GetTipLine(), 2);
  EXPECT_EQ(H().Controller()->GetTipColumn(), 4);
  // The next key release judges the caret against the new anchor.
  H().SetCaret(0, 8);
  H().PressKey(VK_SHIFT);
  EXPECT_FALSE(H().IsTipOpen());
}

TEST_F(CaretName, UnattachedControllerFindsNothingAndAnchorsAtLineZeroColumnOne) {
  H().Controller()->Init(nullptr, &H().GetProjectManager(), &H().GetImages());
  FillUserCatalogue();
  H().SetText("Foo");
  H().SetCaret(0, 3);
  EXPECT_EQ(H().Controller()->GetCurrentFunctionName(nullptr), "");
  EXPECT_EQ(H().Controller()->GetTipLine(), 0);
  EXPECT_EQ(H().Controller()->GetTipColumn(), 1);
}

}  // namespace
