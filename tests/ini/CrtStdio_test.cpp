// Tests of the text-mode streams and the file helpers that the INI store
// uses: translations in each direction, binary mode, and error reporting.
#include "CrtStdio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "Win32FileReplace.h"
#include "Win32ImageHlp.h"
#include "IniTestUtil.h"

namespace {

using initest::CScratchDir;
using initest::FileExists;
using initest::ReadFile;
using initest::WriteFile;

std::string ReadAll(const std::string& strPath, const char* pszMode) {
  crt::FILE* pFile = crt::fopen(strPath.c_str(), pszMode);
  if (pFile == nullptr) return "<no file>";
  std::string out;
  for (int c = crt::fgetc(pFile); c != crt::kEof; c = crt::fgetc(pFile)) out += static_cast<char>(c);
  EXPECT_NE(crt::feof(pFile), 0);
  EXPECT_EQ(crt::ferror(pFile), 0);
  EXPECT_EQ(crt::fgetc(pFile), crt::kEof);  // the end stays the end
  crt::fclose(pFile);
  return out;
}

bool IsDirectory(const std::string& strPath) {
  struct stat info;
  return ::stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(CrtStdio, TextModeReading) {
  CScratchDir dir;
  const std::string strPath = dir / "t";
  WriteFile(strPath, std::string("a\r\nb\rc\r\r\nd\n\x1A", 13) + "after");
  EXPECT_EQ(ReadAll(strPath, "rt"), "a\nb\rc\r\nd\n");
  EXPECT_EQ(ReadAll(strPath, "r"), "a\nb\rc\r\nd\n");  // text is the default
  EXPECT_EQ(ReadAll(strPath, "rb"), std::string("a\r\nb\rc\r\r\nd\n\x1A", 13) + "after");
  WriteFile(strPath, "ends with CR\r");
  EXPECT_EQ(ReadAll(strPath, "rt"), "ends with CR\r");
  WriteFile(strPath, "");
  EXPECT_EQ(ReadAll(strPath, "rt"), "");
}

// ReadLine hands over what fgetc gives, line by line: lines that lie in the
// buffer and lines that cross its end, CR LF pairs split by it, stray CRs,
// Ctrl-Z inside a line, zero bytes, a line longer than the buffer, and a
// last line without its LF (dropped).
TEST(CrtStdio, ReadLineGivesWhatFgetcGives) {
  CScratchDir dir;
  const std::string strPath = dir / "lines";
  std::mt19937 random(11);
  const char kBytes[] = {'a', 'b', '=', '\r', '\n', '\n', '\0'};
  for (int nRound = 0; nRound < 6; ++nRound) {
    std::string text;
    while (text.size() < 200 * 1024) {
      std::string line(random() % (nRound == 5 ? 150000 : 300), 'x');
      for (char& c : line) c = random() % 8 == 0 ? kBytes[random() % sizeof kBytes] : 'k';
      text += line + (random() % 2 == 0 ? "\r\n" : "\n");
    }
    if (nRound == 3) text.insert(text.size() / 2, 1, '\x1A');  // the text ends there
    text += "tail";
    WriteFile(strPath, text);
    for (const char* pszMode : {"rt", "rb"}) {
      std::vector<std::string> expected;
      std::string current;
      for (char c : ReadAll(strPath, pszMode)) {
        if (c != '\n') {
          current += c;
          continue;
        }
        expected.push_back(current);
        current.clear();
      }
      crt::FILE* pFile = crt::fopen(strPath.c_str(), pszMode);
      ASSERT_NE(pFile, nullptr);
      std::vector<std::string> lines;
      std::string strSpill;
      const char* pLine = nullptr;
      size_t nLength = 0;
      while (crt::ReadLine(pFile, strSpill, &pLine, &nLength)) lines.emplace_back(pLine, nLength);
      EXPECT_NE(crt::feof(pFile), 0);
      EXPECT_EQ(crt::ferror(pFile), 0);
      crt::fclose(pFile);
      ASSERT_EQ(lines.size(), expected.size()) << "round " << nRound << " " << pszMode;
      for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], expected[i]) << "line " << i << " " << pszMode;
    }
  }
}

TEST(CrtStdio, TextModeWriting) {
  CScratchDir dir;
  crt::FILE* pFile = crt::fopen((dir / "w").c_str(), "wt");
  ASSERT_NE(pFile, nullptr);
  EXPECT_EQ(crt::fprintf(pFile, "[%s]\n", "Main"), 7);
  const std::string strLong(3000, 'x');  // longer than the formatting buffer
  EXPECT_EQ(crt::fprintf(pFile, "%s=%d\n", strLong.c_str(), -5), 3004);
  EXPECT_EQ(crt::fwrite("a\rb\n", 1, 4, pFile), 4u);
  EXPECT_EQ(crt::fclose(pFile), 0);
  EXPECT_EQ(ReadFile(dir / "w"), "[Main]\r\n" + strLong + "=-5\r\na\rb\r\n");

  pFile = crt::fopen((dir / "b").c_str(), "wb");
  ASSERT_NE(pFile, nullptr);
  crt::fprintf(pFile, "x\n");
  EXPECT_EQ(crt::fclose(pFile), 0);
  EXPECT_EQ(ReadFile(dir / "b"), "x\n");
}

TEST(CrtStdio, OpenFailuresAndWriteErrors) {
  CScratchDir dir;
  EXPECT_EQ(crt::fopen((dir / "missing").c_str(), "rt"), nullptr);
  EXPECT_EQ(crt::fopen((dir / "x").c_str(), "r+"), nullptr);
  EXPECT_EQ(crt::fopen((dir / "x").c_str(), "q"), nullptr);
  EXPECT_FALSE(FileExists(dir / "x"));
  // /dev/full accepts the open and fails every write.
  crt::FILE* pFull = crt::fopen("/dev/full", "wt");
  ASSERT_NE(pFull, nullptr);
  crt::fprintf(pFull, "%s\n", "lost");
  EXPECT_EQ(crt::fflush(pFull), crt::kEof);
  EXPECT_NE(crt::ferror(pFull), 0);
  EXPECT_LT(crt::fprintf(pFull, "more\n"), 0);
  EXPECT_EQ(crt::fclose(pFull), crt::kEof);
  // Reading a stream opened for writing is an error, not data.
  crt::FILE* pWrite = crt::fopen((dir / "w").c_str(), "w");
  ASSERT_NE(pWrite, nullptr);
  EXPECT_EQ(crt::fgetc(pWrite), crt::kEof);
  crt::fclose(pWrite);
}

TEST(ImageHlp, MakesEveryDirectoryUpToTheLastSeparator) {
  CScratchDir dir;
  EXPECT_TRUE(MakeSureDirectoryPathExists((dir / "a/b//c/file.ini").c_str()));
  EXPECT_TRUE(IsDirectory(dir / "a/b/c"));
  EXPECT_FALSE(FileExists(dir / "a/b/c/file.ini"));
  EXPECT_TRUE(MakeSureDirectoryPathExists((dir / "d/e/").c_str()));
  EXPECT_TRUE(IsDirectory(dir / "d/e"));
  EXPECT_TRUE(MakeSureDirectoryPathExists("relative-name-only.ini"));
  EXPECT_FALSE(FileExists("relative-name-only.ini"));
  WriteFile(dir / "plain", "");
  EXPECT_FALSE(MakeSureDirectoryPathExists((dir / "plain/sub/x.ini").c_str()));
  EXPECT_FALSE(MakeSureDirectoryPathExists(nullptr));
}

TEST(FileApi, MoveAndDelete) {
  CScratchDir dir;
  WriteFile(dir / "a", "A");
  WriteFile(dir / "b", "B");
  EXPECT_FALSE(MoveFileEx((dir / "a").c_str(), (dir / "b").c_str(), 0));
  EXPECT_EQ(ReadFile(dir / "b"), "B");
  EXPECT_TRUE(MoveFileEx((dir / "a").c_str(), (dir / "b").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(ReadFile(dir / "b"), "A");
  EXPECT_FALSE(FileExists(dir / "a"));
  EXPECT_TRUE(MoveFileEx((dir / "b").c_str(), (dir / "c").c_str(), 0));
  WriteFile(dir / "d", "D");
  ASSERT_EQ(::chmod((dir / "d").c_str(), 0640), 0);
  EXPECT_FALSE(ReplaceFile((dir / "missing").c_str(), (dir / "c").c_str(), nullptr, 0, nullptr, nullptr));
  EXPECT_TRUE(FileExists(dir / "c"));
  EXPECT_TRUE(ReplaceFile((dir / "d").c_str(), (dir / "c").c_str(), nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(ReadFile(dir / "d"), "A");
  EXPECT_FALSE(FileExists(dir / "c"));
  struct stat info;
  ASSERT_EQ(::stat((dir / "d").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_TRUE(MoveFileEx((dir / "d").c_str(), (dir / "c").c_str(), 0));
  EXPECT_TRUE(DeleteFile((dir / "c").c_str()));
  EXPECT_FALSE(DeleteFile((dir / "c").c_str()));
}

}  // namespace
