// Tests of the argument scanner and the backward name scan used by the function tip.
#include "assist/CFuncTipScanner.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "assist/NameBeforeCaret.h"

namespace {

// Scans the lines in order; -1 when the tip would close.
int ArgumentIndex(std::initializer_list<const char*> lines) {
  CFuncTipScanner scanner;
  for (const char* psz : lines) {
    if (!scanner.ScanLine(psz)) return -1;
  }
  return scanner.GetArgumentIndex();
}

TEST(FuncTipScanner, CountsCommasInCodeAndClosesOnParenthesis) {
  EXPECT_EQ(ArgumentIndex({""}), 0);
  EXPECT_EQ(ArgumentIndex({"a, b"}), 1);
  EXPECT_EQ(ArgumentIndex({"a, b, c"}), 2);
  EXPECT_EQ(ArgumentIndex({"a // c, d"}), 0);
  EXPECT_EQ(ArgumentIndex({"Bar(1)"}), -1);
  EXPECT_EQ(ArgumentIndex({"a)"}), -1);
  EXPECT_EQ(ArgumentIndex({"Bar(1, 2"}), 1);  // inner commas count, nesting is not tracked
  EXPECT_EQ(ArgumentIndex({"a / b, c/"}), 1);  // lone slashes, one at the very end
}

TEST(FuncTipScanner, StringsAndEscapes) {
  EXPECT_EQ(ArgumentIndex({"\"a, b\", c"}), 1);
  EXPECT_EQ(ArgumentIndex({"\"a\\\", b\", c"}), 1);  // escaped quote does not end the string
  EXPECT_EQ(ArgumentIndex({"\")\", x"}), 1);
  EXPECT_EQ(ArgumentIndex({"\"// not a comment\", x"}), 1);
  EXPECT_EQ(ArgumentIndex({"\"open, still", "string, \", now code,"}), 2);
  EXPECT_EQ(ArgumentIndex({"\"ends with escape \\", "\", still string", "\", x"}), 1);
}

TEST(FuncTipScanner, BlockAndLineComments) {
  EXPECT_EQ(ArgumentIndex({"a /* , ) */, b"}), 1);
  EXPECT_EQ(ArgumentIndex({"/*/ , x"}), 1);  // "/*/" opens and closes at once
  EXPECT_EQ(ArgumentIndex({"a /* ,", ", ) */ b, c"}), 1);
  EXPECT_EQ(ArgumentIndex({"a /* *", "/ , )"}), 0);  // "*" and "/" on different lines do not close
  EXPECT_EQ(ArgumentIndex({"a, // ) ,", "b, c"}), 2);
  EXPECT_EQ(ArgumentIndex({"a /", "/ b, c"}), 1);  // "/" and "/" on different lines are no comment
  EXPECT_EQ(ArgumentIndex({"a /", "* b, c"}), 1);  // nor are "/" and "*"
  CFuncTipScanner scanner;
  scanner.ScanLine("x /* open");
  EXPECT_EQ(scanner.GetState(), CFuncTipScanner::stateBlockComment);
  scanner.ScanLine("*/ \"s");
  EXPECT_EQ(scanner.GetState(), CFuncTipScanner::stateString);
  scanner.ScanLine("\\");
  EXPECT_EQ(scanner.GetState(), CFuncTipScanner::stateEscape);
}

TEST(NameBeforeCaret, ScansBackOverBlanksAndParentheses) {
  struct {
    const char* pszBefore;
    const char* pszName;
  } cases[] = {
      {"MessageBox", "MessageBox"}, {"x = Max (", "Max"}, {"obj.Method", "Method"}, {"Foo((", "Foo"},
      {"Foo\t(", ""},               {"(", ""},          {"  (  ", ""},             {"123", "123"},
      {"a_b1 ( ( ", "a_b1"},        {"x+y", "y"},       {"\xe4\xb8\x80" "Foo", "Foo"}, {"Foo\xe4", ""},
  };
  for (const auto& c : cases) {
    CString strLine(c.pszBefore);
    EXPECT_EQ(NameBeforeCaret(strLine, strLine.GetLength()), CString(c.pszName)) << c.pszBefore;
  }
}

TEST(NameBeforeCaret, ColumnDecidesWhatCounts) {
  EXPECT_EQ(NameBeforeCaret("Foobar", 2), "Fo");  // only the part before the caret
  EXPECT_EQ(NameBeforeCaret("Foobar", 0), "");
  EXPECT_EQ(NameBeforeCaret("Foobar", -4), "");  // a negative column is like column 0
  EXPECT_EQ(NameBeforeCaret("Foo", 4), "");      // beyond the end of the line
  EXPECT_EQ(NameBeforeCaret("", 0), "");
  EXPECT_EQ(NameBeforeCaret("a(", 2), "a");      // index 0 is taken when it is a name character
  EXPECT_EQ(NameBeforeCaret(" (", 2), "");       // index 0 is never skipped over
}

}  // namespace
