// The archive's byte format: values, counts and strings, both directions.
#include "CArchive.h"

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "ExceptionCause.h"

namespace {

using archive_test::Bytes;
using archive_test::Join;
using archive_test::Load;
using archive_test::Store;
using archive_test::Text;

TEST(ArchiveFormat, ValuesAreLittleEndian) {
  Bytes bytes = Store([](CArchive& ar) {
    ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << static_cast<short>(-2) << 'x' << true << false;
    ar << -2 << static_cast<DWORD>(0x89ABCDEF) << static_cast<ULONGLONG>(0x0102030405060708ull) << 1.0 << 2.0f;
  });
  Bytes expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 'x', 1, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89,
                    8,    7,    6,    5,    4,    3,   2, 1, 0,    0,    0,    0,    0,    0,    0xF0, 0x3F,
                    0,    0,    0,    0x40};
  EXPECT_EQ(bytes, expected);

  BYTE by = 0;
  WORD w = 0;
  short s = 0;
  char ch = 0;
  bool b1 = false, b2 = true;
  int i = 0;
  DWORD dw = 0;
  ULONGLONG qw = 0;
  double d = 0;
  float f = 0;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> by >> w >> s >> ch >> b1 >> b2 >> i >> dw >> qw >> d >> f; }), -1);
  EXPECT_EQ(by, 0xAB);
  EXPECT_EQ(w, 0x1234);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(ch, 'x');
  EXPECT_TRUE(b1);
  EXPECT_FALSE(b2);
  EXPECT_EQ(i, -2);
  EXPECT_EQ(dw, 0x89ABCDEFu);
  EXPECT_EQ(qw, 0x0102030405060708ull);
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(f, 2.0f);
}

TEST(ArchiveFormat, CountsUseWordOrEscapedDword) {
  struct Case {
    DWORD_PTR nCount;
    Bytes expected;
  } cases[] = {{0, {0, 0}},
               {5, {0x05, 0x00}},
               {0xFFFE, {0xFE, 0xFF}},
               {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
               {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}};
  for (const Case& c : cases) {
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.nCount); });
    EXPECT_EQ(bytes, c.expected) << c.nCount;
    // The count alone reads back, whether or not its elements follow.
    DWORD_PTR nRead = 0;
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { nRead = ar.ReadCount(); }), -1) << c.nCount;
    EXPECT_EQ(nRead, c.nCount);
  }
}

TEST(ArchiveFormat, StringPrefixDependsOnLength) {
  struct Case {
    size_t nLength;
    Bytes prefix;
  } cases[] = {{0, {0x00}},
               {3, {0x03}},
               {254, {0xFE}},
               {255, {0xFF, 0xFF, 0x00}},
               {0xFFFD, {0xFF, 0xFD, 0xFF}},
               {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
               {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}};
  for (const Case& c : cases) {
    std::string text(c.nLength, 'q');
    if (!text.empty()) text[0] = 'a';
    Bytes bytes = Store([&](CArchive& ar) { ar << CString(text); });
    EXPECT_EQ(bytes, Join({c.prefix, Text(text)})) << c.nLength;
    CString strRead("unchanged");
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> strRead; }), -1) << c.nLength;
    EXPECT_EQ(strRead.Str(), text);
  }
  EXPECT_EQ(Store([](CArchive& ar) { ar << CString("abc"); }), (Bytes{0x03, 'a', 'b', 'c'}));
}

TEST(ArchiveFormat, StringsKeepZeroAndHighBytes) {
  CString str(std::string("a\0\xFF\x80z", 5));
  Bytes bytes = Store([&](CArchive& ar) { ar << str; });
  EXPECT_EQ(bytes, (Bytes{5, 'a', 0, 0xFF, 0x80, 'z'}));
  CString strRead;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> strRead; }), -1);
  EXPECT_EQ(strRead.Str(), str.Str());
}

TEST(ArchiveFormat, LongerPrefixFormsAreReadForShortStrings) {
  CString str1, str2;
  Bytes bytes = {0xFF, 0x02, 0x00, 'h', 'i', 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, '!'};
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> str1 >> str2; }), -1);
  EXPECT_EQ(str1, "hi");
  EXPECT_EQ(str2, "!");
}

TEST(ArchiveFormat, WideStringsBecomeSingleByteText) {
  struct Case {
    Bytes bytes;
    std::string text;
  } cases[] = {
      {{0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0}, "abc"},
      {{0xFF, 0xFE, 0xFF, 0x00}, ""},
      // Latin-1 characters keep their byte; others become "?".
      {{0xFF, 0xFE, 0xFF, 0x03, 0xE9, 0x00, 0xAC, 0x20, 0xFF, 0x00}, "\xE9?\xFF"},
      // A surrogate pair is one character; lone surrogates are one each.
      {{0xFF, 0xFE, 0xFF, 0x04, 0x3D, 0xD8, 0x00, 0xDE, 'x', 0, 0x00, 0xDC}, "?x?"},
      {{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 'y', 0}, "?y"},
      {{0xFF, 0xFE, 0xFF, 0x01, 0x3D, 0xD8}, "?"},
  };
  for (const Case& c : cases) {
    CString str("unchanged");
    BYTE byAfter = 0;
    Bytes bytes = Join({c.bytes, {0x5A}});
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> str >> byAfter; }), -1) << c.text;
    EXPECT_EQ(str.Str(), c.text);
    EXPECT_EQ(byAfter, 0x5A) << "the wide string must consume exactly its bytes";
  }
}

TEST(ArchiveFormat, WideStringsWithLongPrefixes) {
  // 300 characters: marker, then 0xFF and the length as a WORD.
  Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
  for (int i = 0; i < 300; ++i) {
    bytes.push_back(static_cast<BYTE>('a' + i % 26));
    bytes.push_back(0);
  }
  CString str;
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> str; }), -1);
  ASSERT_EQ(str.GetLength(), 300);
  EXPECT_EQ(str[27], 'b');

  // The DWORD form after the marker.
  Bytes bytesDword = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'k', 0};
  EXPECT_EQ(Load(bytesDword, [&](CArchive& ar) { ar >> str; }), -1);
  EXPECT_EQ(str, "k");
}

TEST(ArchiveFormat, DataLargerThanTheBufferRoundTrips) {
  std::string big(10000, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  Bytes bytes = Store(
      [&](CArchive& ar) {
        for (int i = 0; i < 100; ++i) ar << i << CString("s") << static_cast<WORD>(i);
        ar << CString(big);
        ar.Write(big.data(), 300);
        ar << 77;
      },
      128);
  EXPECT_EQ(bytes.size(), 100u * (4 + 2 + 2) + 3 + big.size() + 300 + 4);
  EXPECT_EQ(Load(
                bytes,
                [&](CArchive& ar) {
                  for (int i = 0; i < 100; ++i) {
                    int n = -1;
                    CString s;
                    WORD w = 0;
                    ar >> n >> s >> w;
                    ASSERT_EQ(n, i);
                    ASSERT_EQ(s, "s");
                    ASSERT_EQ(w, i);
                  }
                  CString str;
                  ar >> str;
                  EXPECT_EQ(str.Str(), big);
                  std::string raw(300, '\0');
                  EXPECT_EQ(ar.Read(&raw[0], 300), 300u);
                  EXPECT_EQ(raw, big.substr(0, 300));
                  int nLast = 0;
                  ar >> nLast;
                  EXPECT_EQ(nLast, 77);
                  EXPECT_EQ(ar.Read(&raw[0], 10), 0u);  // the end: no exception from Read
                },
                128),
            -1);
}

// Strings of every length around the buffer's size, at every offset in
// it: short strings are taken straight from the buffer when they fit in
// it, and must read the same when they straddle its end.
TEST(ArchiveFormat, StringsAcrossTheBufferEnd) {
  std::vector<std::string> texts;
  for (size_t n = 0; n < 300; ++n) {
    std::string text(n, '\0');
    for (size_t i = 0; i < n; ++i) text[i] = static_cast<char>(n + i * 13);
    texts.push_back(text);
  }
  Bytes bytes = Store([&](CArchive& ar) {
    for (const std::string& text : texts) ar << CString(text);
  }, 128);
  EXPECT_EQ(Load(bytes, [&](CArchive& ar) {
    for (const std::string& text : texts) {
      CString str;
      ar >> str;
      ASSERT_EQ(str.Str(), text);
    }
  }, 128), -1);
}

TEST(ArchiveFormat, WrongDirectionRaisesReadOnlyOrWriteOnly) {
  Store([](CArchive& ar) {
    int n = 0;
    CString s;
    BYTE buf[2];
    auto cause = [](const std::function<void()>& fn) { return nimbotest::CauseOf<CArchiveException>(fn); };
    EXPECT_EQ(cause([&] { ar >> n; }), CArchiveException::writeOnly);
    EXPECT_EQ(cause([&] { ar >> s; }), CArchiveException::writeOnly);
    EXPECT_EQ(cause([&] { ar.ReadCount(); }), CArchiveException::writeOnly);
    EXPECT_EQ(cause([&] { ar.Read(buf, 2); }), CArchiveException::writeOnly);
    EXPECT_EQ(cause([&] { ar.ReadObject(nullptr); }), CArchiveException::writeOnly);
  });
  EXPECT_EQ(Load({1, 2, 3, 4}, [](CArchive& ar) { ar << 1; }), CArchiveException::readOnly);
  EXPECT_EQ(Load({1, 2, 3, 4}, [](CArchive& ar) { ar << CString("a"); }), CArchiveException::readOnly);
  EXPECT_EQ(Load({1, 2, 3, 4}, [](CArchive& ar) { ar.WriteCount(1); }), CArchiveException::readOnly);
  EXPECT_EQ(Load({1, 2, 3, 4}, [](CArchive& ar) { ar.Write("x", 1); }), CArchiveException::readOnly);
  EXPECT_EQ(Load({1, 2, 3, 4}, [](CArchive& ar) { ar.WriteObject(nullptr); }), CArchiveException::readOnly);
}

TEST(ArchiveFormat, ReadingPastTheEndRaisesEndOfFile) {
  EXPECT_EQ(Load({}, [](CArchive& ar) { BYTE b; ar >> b; }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({1, 2, 3}, [](CArchive& ar) { int n; ar >> n; }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({0xFF}, [](CArchive& ar) { ar.ReadCount(); }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({0xFF, 0xFF, 1, 0, 0}, [](CArchive& ar) { ar.ReadCount(); }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({5, 'a', 'b'}, [](CArchive& ar) { CString s; ar >> s; }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({0xFF, 0xFE}, [](CArchive& ar) { CString s; ar >> s; }), CArchiveException::endOfFile);
  EXPECT_EQ(Load({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b'}, [](CArchive& ar) { CString s; ar >> s; }),
            CArchiveException::endOfFile);
}

TEST(ArchiveFormat, ExceptionsNameTheArchiveFile) {
  CArchiveException e(CArchiveException::endOfFile, "/tmp/doc.bin");
  char sz[200];
  ASSERT_TRUE(e.GetErrorMessage(sz, sizeof sz));
  EXPECT_NE(std::string(sz).find("end of data"), std::string::npos) << sz;
  EXPECT_NE(std::string(sz).find("/tmp/doc.bin"), std::string::npos) << sz;
  char szSmall[5];
  ASSERT_TRUE(e.GetErrorMessage(szSmall, sizeof szSmall));
  EXPECT_EQ(std::string(szSmall), "Arch");
  EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CException)));
}

}  // namespace
