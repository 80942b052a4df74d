#include "CString.h"

#include <gtest/gtest.h>

#include <map>

#include "CStringArray.h"
#include "CStringList.h"
#include "MbString.h"

namespace {

TEST(CString, SubstringsClampLikeMfc) {
  CString s("Hello");
  EXPECT_EQ(s.Left(2), "He");
  EXPECT_EQ(s.Left(99), "Hello");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Mid(3), "lo");
  EXPECT_EQ(s.Mid(1, 3), "ell");
  EXPECT_EQ(s.Mid(9), "");
  EXPECT_EQ(s.Right(3), "llo");
  EXPECT_EQ(s.Right(0), "");
  EXPECT_EQ(s.Find('l'), 2);
  EXPECT_EQ(s.Find('l', 3), 3);
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(s.Find("lo"), 3);
}

TEST(CString, OrderIsUnsignedByteOrderAndCaseSensitive) {
  EXPECT_LT(CString("Zeta"), CString("alpha"));
  EXPECT_LT(CString("abc"), CString("\xE9t\xE9"));  // bytes above 127 sort last
  EXPECT_NE(CString("Foo"), CString("foo"));
  std::map<CString, int> m{{"foo", 1}, {"Foo", 2}};
  EXPECT_EQ(m.begin()->first, "Foo");
}

TEST(CString, NoCaseComparisonFoldsOnlyAsciiLetters) {
  auto icmp = [](const char* a, const char* b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
  };
  EXPECT_EQ(icmp("Colors", "COLORS"), 0);
  EXPECT_NE(icmp("\xC9", "\xE9"), 0);  // no folding above 127 in a single-byte code page
  EXPECT_NE(icmp("a[", "A{"), 0);
  EXPECT_EQ(CString("Back").CompareNoCase("bACK"), 0);
}

TEST(CString, EmbeddedZeroBytesAreKept) {
  CString s("a\0b", 3);
  EXPECT_EQ(s.GetLength(), 3);
  EXPECT_EQ(s[2], 'b');
  CString cut(static_cast<LPCTSTR>(s));
  EXPECT_EQ(cut.GetLength(), 1);
}

TEST(CString, FormatAndConcatenation) {
  CString s;
  s.Format("%d-%s", -42, "x");
  EXPECT_EQ(s, "-42-x");
  CString t = "a" + s + 'b';
  EXPECT_EQ(t, "a-42-xb");
  s = static_cast<LPCTSTR>(s) + 1;  // assigning from its own buffer
  EXPECT_EQ(s, "42-x");
}

TEST(Collections, ListAndArrayAppendInOrder) {
  CStringList list;
  list.AddTail("a");
  list.AddTail("b");
  POSITION pos = list.GetHeadPosition();
  EXPECT_EQ(list.GetNext(pos), "a");
  EXPECT_EQ(list.GetNext(pos), "b");
  EXPECT_EQ(pos, nullptr);

  CStringArray array;
  array.SetAtGrow(array.GetSize(), "x");
  array.SetAtGrow(3, "y");
  ASSERT_EQ(array.GetSize(), 4);
  EXPECT_EQ(array.GetAt(0), "x");
  EXPECT_EQ(array.GetAt(1), "");
  EXPECT_EQ(array.GetAt(3), "y");
}

}  // namespace
