#include "CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <stdexcept>

#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "CStringArray.h"
#include "CStringList.h"
#include "CrtMbString.h"

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

// Copies share their text until one of them changes: every way of changing
// a string must leave its copies as they were.
TEST(CString, ChangesLeaveCopiesAlone) {
  const struct {
    const char* pszWhat;
    std::function<void(CString&)> change;
    const char* pszAfter;
  } cases[] = {
      {"SetAt", [](CString& s) { s.SetAt(0, 'J'); }, "Jello world"},
      {"MakeUpper", [](CString& s) { s.MakeUpper(); }, "HELLO WORLD"},
      {"MakeLower", [](CString& s) { s.MakeLower(); }, "hello world"},
      {"append char", [](CString& s) { s += '!'; }, "hello world!"},
      {"append text", [](CString& s) { s += " again"; }, "hello world again"},
      {"append itself", [](CString& s) { s += s; }, "hello worldhello world"},
      {"assign own tail", [](CString& s) { s = static_cast<LPCTSTR>(s) + 6; }, "world"},
      {"GetBuffer", [](CString& s) { s.GetBuffer(0)[0] = 'c'; }, "cello world"},
      {"ReleaseBuffer", [](CString& s) { s.ReleaseBuffer(5); }, "hello"},
      {"GetBuffer longer", [](CString& s) { std::strcpy(s.GetBuffer(40) + 11, "!!"); s.ReleaseBuffer(); },
       "hello world!!"},
      {"TrimRight", [](CString& s) { s = s.Left(6); s.TrimRight(); }, "hello"},
      {"Replace", [](CString& s) { s.Replace("o", "0"); }, "hell0 w0rld"},
      {"Format", [](CString& s) { s.Format("%d", 7); }, "7"},
      {"Empty", [](CString& s) { s.Empty(); }, ""},
  };
  for (const auto& c : cases) {
    const CString original("hello world");
    CString copy = original;
    CString second = copy;
    c.change(copy);
    EXPECT_EQ(copy, c.pszAfter) << c.pszWhat;
    EXPECT_EQ(original, "hello world") << c.pszWhat;
    EXPECT_EQ(second, "hello world") << c.pszWhat;
  }
}

TEST(CString, GrowsByteByByteAndKeepsZeroBytes) {
  CString s;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const char c = static_cast<char>(i % 7 == 0 ? 0 : 'a' + i % 26);
    s += c;
    expected += c;
  }
  EXPECT_EQ(s.Str(), expected);
  CString moved(std::move(s));
  EXPECT_EQ(moved.GetLength(), 5000);
  EXPECT_TRUE(s.IsEmpty());  // NOLINT: a moved-from string is empty
}

// Strings made on one thread may be copied, changed and freed on another.
TEST(CString, CopiesCrossThreads) {
  std::vector<CString> made;
  for (int i = 0; i < 2000; ++i) made.push_back(CString('x', i % 300));
  std::vector<CString> copies = made;
  std::thread other([&made] {
    for (CString& s : made) s += 'y';  // each gets a text of its own on this thread
    made.clear();
  });
  std::vector<CString> mine;
  for (int i = 0; i < 2000; ++i) mine.push_back(CString('z', i % 300));
  other.join();
  for (int i = 0; i < 2000; ++i) {
    ASSERT_EQ(copies[static_cast<size_t>(i)], CString('x', i % 300));
    ASSERT_EQ(mine[static_cast<size_t>(i)], CString('z', i % 300));
  }
}

// The index of a byte must lie inside the text; a length whose terminating
// zero would lie past INT_MAX - 1 is refused before any memory is taken.
TEST(CString, RefusesIndexesOutsideTheTextAndLengthsBeyondTheMaximum) {
  CString empty;
  EXPECT_THROW(empty.SetAt(0, 'x'), std::out_of_range);
  EXPECT_EQ(empty.GetLength(), 0);
  EXPECT_EQ(*static_cast<LPCTSTR>(CString()), '\0');  // the shared empty text kept its zero
  CString s("abc");
  const CString copy = s;
  for (int nIndex : {-1, 3, INT_MAX}) {
    EXPECT_THROW(s.SetAt(nIndex, 'x'), std::out_of_range) << nIndex;
    EXPECT_THROW(s.GetAt(nIndex), std::out_of_range) << nIndex;
  }
  s.SetAt(2, 'C');
  EXPECT_EQ(s, "abC");
  EXPECT_EQ(copy, "abc");
  EXPECT_EQ(s[0], 'a');

  EXPECT_THROW(CString(' ', INT_MAX), std::bad_alloc);
  EXPECT_THROW(CString().GetBuffer(INT_MAX), std::bad_alloc);
  EXPECT_THROW(CString("x").GetBuffer(INT_MAX), std::bad_alloc);
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
