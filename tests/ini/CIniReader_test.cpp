// Tests of the INI reader: line kinds, numbers and spans over memory and
// files, the typed results, and the rule for text that reads back.
#include "ini/CIniReader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "IniTestUtil.h"
#include "ini/CIniFile.h"

namespace {

using initest::CScratchDir;
using initest::Dump;
using initest::WriteFile;

// Every line as "K number offset+length+end 'text'", then the result.
std::string Trace(CIniReader& reader) {
  std::string strTrace;
  CIniLine line;
  while (reader.Next(line)) {
    strTrace += "HECBUT"[static_cast<int>(line.eKind)];
    strTrace += " " + std::to_string(line.nNumber) + " " + std::to_string(line.nOffset) + "+" +
                std::to_string(line.nLength) + "+" + std::to_string(line.nEndLength) + " '" +
                std::string(line.pText, line.nLength) + "'\n";
  }
  const CIniReadResult& result = reader.Result();
  const char* apszStatus[] = {"reading", "read", "cannot open", "read error", "not text", "too long"};
  strTrace += apszStatus[static_cast<int>(result.eStatus)];
  if (result.eStatus == EIniRead::Read) strTrace += " end " + std::to_string(result.nTextEnd);
  if (result.nLine != 0) strTrace += " line " + std::to_string(result.nLine) + (result.bBinary ? " binary" : "");
  return strTrace;
}

std::string TraceMemory(const std::string& strBytes, bool bStrict = false) {
  CIniMemorySource source(strBytes.data(), strBytes.size());
  CIniReader reader(source, bStrict);
  return Trace(reader);
}

TEST(IniReader, LinesOfMemory) {
  struct {
    std::string strInput;
    bool bStrict;
    std::string strTrace;
  } cases[] = {
      {"", false, "read end 0"},
      {"[a]\r\nk=v\n;c\n\n x\r", false,
       "H 1 0+3+2 '[a]'\nE 2 5+3+1 'k=v'\nC 3 9+2+1 ';c'\nB 4 12+0+1 ''\nT 5 13+3+0 ' x\r'\nread end 16"},
      // a CR not before LF is the line's; the CR of CR CR LF too
      {"[a]\nk=\rv\r\r\n", false, "H 1 0+3+1 '[a]'\nE 2 4+5+2 'k=\rv\r'\nread end 11"},
      // Ctrl-Z ends the text: a line it cuts is a tail
      {"[a]\nk=1\x1A\nj=2\n", false, "H 1 0+3+1 '[a]'\nT 2 4+3+0 'k=1'\nread end 7"},
      {"[a]\n\x1A", false, "H 1 0+3+1 '[a]'\nread end 4"},
      // unreadable lines end the read
      {"[a]\n[b \nk=1\n", false, "H 1 0+3+1 '[a]'\nU 2 4+3+1 '[b '\nnot text line 2"},
      {"; c\nk=1\n", false, "C 1 0+3+1 '; c'\nU 2 4+3+1 'k=1'\nnot text line 2"},
      {"[a]\n[]\nk=1\n", false, "H 1 0+3+1 '[a]'\nH 2 4+2+1 '[]'\nU 3 7+3+1 'k=1'\nnot text line 3"},
      {"[\n", false, "U 1 0+1+1 '['\nnot text line 1"},
      // an unreadable tail is no line of the text
      {"[a]\n[b", false, "H 1 0+3+1 '[a]'\nT 2 4+2+0 '[b'\nread end 6"},
      // a zero byte: a character to the document, not INI text when strict
      {std::string("[a]\nk=\0\n", 8), false, std::string("H 1 0+3+1 '[a]'\nE 2 4+3+1 'k=") + '\0' + "'\nread end 8"},
      {std::string("[a]\nk=\0\n", 8), true, "H 1 0+3+1 '[a]'\nnot text line 2 binary"},
      {std::string("[a]\nk=\0", 7), true, "H 1 0+3+1 '[a]'\nnot text line 2 binary"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(initest::Escape(CString(c.strInput)));
    EXPECT_EQ(TraceMemory(c.strInput, c.bStrict), c.strTrace);
  }
}

TEST(IniReader, FilesReadAsMemoryDoes) {
  CScratchDir dir;
  // Lines across the file source's blocks, a CR LF split between two, a
  // line longer than a block.
  std::string strText = "[S]\r\n";
  for (size_t nPad : {65536u - 12u, 65536u - 11u, 200000u, 3u}) strText += "k" + std::string(nPad, 'v') + "\r\n";
  strText += "tail";
  WriteFile(dir / "big.ini", strText);
  CIniFileSource file((dir / "big.ini").c_str());
  std::atomic<long long> nProgress{0};
  CIniReader reader(file, false, &nProgress);
  EXPECT_EQ(Trace(reader), TraceMemory(strText));
  EXPECT_EQ(nProgress.load(), static_cast<long long>(strText.size()));

  CIniFileSource missing((dir / "none.ini").c_str());
  CIniReader noFile(missing);
  CIniLine line;
  EXPECT_FALSE(noFile.Next(line));
  EXPECT_EQ(noFile.Result().eStatus, EIniRead::CannotOpen);
  EXPECT_EQ(noFile.Result().nError, ENOENT);
}

TEST(IniReader, ADirectoryOpensAndFailsOnReading) {
  CScratchDir dir;
  CIniFileSource directory(dir.Path().c_str());
  CIniReader noText(directory);
  CIniLine line;
  EXPECT_FALSE(noText.Next(line));
  EXPECT_EQ(noText.Result().eStatus, EIniRead::ReadError);
  EXPECT_EQ(noText.Result().nError, EISDIR);
}

TEST(IniReader, ALineBeyondTheMaximumEndsTheRead) {
  const std::string strText = "[a]\nk=123456789\nj=1\n";
  CIniMemorySource source(strText.data(), strText.size());
  CIniReader reader(source, false, nullptr, 8);
  EXPECT_EQ(Trace(reader), "H 1 0+3+1 '[a]'\ntoo long line 2");
  // Load reports it as a failed read: what came before stays.
  CIniFile ini;
  CIniMemorySource again(strText.data(), strText.size());
  CIniReader limited(again, false, nullptr, 8);
  EXPECT_EQ(ini.Read(limited, false).eStatus, EIniRead::LineTooLong);
  EXPECT_EQ(Dump(ini), "[\"a\"]\n");
}

// The rule for text that reads back, against the round trip itself: a
// document without a fault comes back whole from its own text, and one
// with a fault does not.
TEST(IniReader, TheReadBackRuleIsTheRoundTrip) {
  const std::vector<std::string> names = {"a", "", " b ", "a=b", ";c", "[d", "x]", "e\n", "f\r", "\rg",
                                          std::string("h\0i", 3), "j\x1Ak", "#l"};
  for (bool bKeyOnly : {false, true}) {
    for (int nPart = 0; nPart < 3; ++nPart) {
      for (const std::string& strText : names) {
        for (const char* pszOther : {"", "v"}) {
          SCOPED_TRACE(std::to_string(nPart) + " '" + initest::Escape(CString(strText)) + "' " + pszOther);
          const CString strName(strText.data(), static_cast<int>(strText.size()));
          // Load fills the document (and sets the key-only flag).
          CIniFile ini;
          CIniMemorySource none(nullptr, 0);
          CIniReader empty(none);
          ini.Read(empty, bKeyOnly);
          CIniFileSection& section = ini[nPart == 0 ? strName : CString("S")];
          if (nPart == 1) section[strName] = pszOther;
          if (nPart == 2) section[pszOther] = strName;
          if (nPart == 0 && *pszOther != 0) section["k"] = "v";
          std::string strWritten;
          ini.WriteText([&strWritten](const char* p, size_t n) { strWritten.append(p, n); });
          CIniFile back;
          CIniMemorySource source(strWritten.data(), strWritten.size());
          CIniReader reader(source);
          const bool bWhole = back.Read(reader, false).eStatus == EIniRead::Read && Dump(back) == Dump(ini);
          EXPECT_EQ(ini.FindTextFault().pszReason == nullptr, bWhole) << initest::Escape(CString(strWritten));
        }
      }
    }
  }
}

}  // namespace
