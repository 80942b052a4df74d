// End-to-end test of `nimbo edit`: the editor runs in a terminal (tmux), a
// call to a known function is typed as a user types it, and the captured
// screen must show the tip with the prototype under the caret, the marked
// parameter following the commas, the tip gone after ")", and the function
// list on Ctrl+Space. Without tmux the test fails: it never skips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TmuxSession.h"

namespace {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo";
const std::string kFixture = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/replay/fixture";
const char kPrototype[] = "Mid(strText, nStart, nCount)";

// The row holding strText, or -1.
int RowWith(const std::vector<std::string>& rows, const std::string& strText) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].find(strText) != std::string::npos) return static_cast<int>(i);
  return -1;
}

// The characters of a captured row (escape sequences kept) that are drawn
// in reverse video: the tip's marked parameter.
std::string ReverseText(const std::string& strRow) {
  std::string strText;
  bool bReverse = false;
  for (size_t i = 0; i < strRow.size(); ++i) {
    if (strRow[i] == '\x1b' && i + 1 < strRow.size() && strRow[i + 1] == '[') {
      const size_t nEnd = strRow.find_first_of("ABCDHJKfhlmsu", i + 2);
      if (nEnd == std::string::npos) break;
      if (strRow[nEnd] == 'm') {
        // Select graphic rendition: ";"-separated codes, colour arguments skipped.
        std::vector<int> codes;
        std::string strCode;
        for (size_t j = i + 2; j <= nEnd; ++j) {
          if (strRow[j] == ';' || j == nEnd) {
            codes.push_back(strCode.empty() ? 0 : std::atoi(strCode.c_str()));
            strCode.clear();
          } else {
            strCode += strRow[j];
          }
        }
        for (size_t k = 0; k < codes.size(); ++k) {
          if (codes[k] == 0) bReverse = false;
          if (codes[k] == 7) bReverse = true;
          if (codes[k] == 27) bReverse = false;
          if ((codes[k] == 38 || codes[k] == 48) && k + 1 < codes.size()) k += codes[k + 1] == 5 ? 2 : 4;
        }
      }
      i = nEnd;
      continue;
    }
    if (bReverse) strText += strRow[i];
  }
  return strText;
}

class EditInTmux : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CTmuxSession::IsTmuxInstalled())
        << "tmux is not installed: this end-to-end test needs it (apt-get install tmux; scripts/setup.sh does)";
    char szTemplate[] = "/tmp/nimbo-tui-XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_strDir = szTemplate;
    ASSERT_EQ(std::system(("cp -R '" + kFixture + "/project' '" + kFixture + "/Programs' '" + m_strDir + "/'").c_str()),
              0);
  }
  void TearDown() override {
    m_pSession.reset();
    if (!m_strDir.empty()) std::system(("rm -rf '" + m_strDir + "'").c_str());
  }

  // Starts the editor on a file of the copied fixture (main.nsc) and waits for its screen.
  void StartEditor() {
    StartEditor(m_strDir + "/Programs");
  }
  void StartEditor(const std::string& strPrograms, const std::string& strFile = "main.nsc") {
    // The shell writes the editor's exit status to a file when it ends.
    const std::string strCommand = "TERM=tmux-256color " + CTmuxSession::Quote(kNimbo) + " edit " + strFile +
                                   " --project " + CTmuxSession::Quote(m_strDir + "/project") + " --programs " +
                                   CTmuxSession::Quote(strPrograms) + "; echo $? >" +
                                   CTmuxSession::Quote(m_strDir + "/status");
    m_pSession = std::make_unique<CTmuxSession>(m_strDir, strCommand, 100, 30);
    ASSERT_TRUE(m_pSession->IsStarted()) << "tmux could not start a session";
    std::vector<std::string> rows;
    ASSERT_TRUE(m_pSession->WaitFor(
        [&strFile](const std::vector<std::string>& r) { return RowWith(r, "Nimbo edit - " + strFile) == 0; }, rows))
        << "the editor did not come up";
  }

  // Waits until the tip's row shows the prototype with strMark reversed;
  // returns that row (or -1 after the time-out).
  int WaitForMark(const std::string& strMark, const std::string& strPrototype = kPrototype) {
    for (int nTry = 0; nTry < 100; ++nTry) {
      const std::vector<std::string> plain = m_pSession->Capture();
      const std::vector<std::string> attributed = m_pSession->Capture(true);
      for (size_t nRow = 0; nRow < plain.size() && nRow < attributed.size(); ++nRow) {
        if (plain[nRow].find(" " + strPrototype) != std::string::npos && ReverseText(attributed[nRow]) == strMark)
          return static_cast<int>(nRow);
      }
      usleep(50 * 1000);
    }
    return -1;
  }

  // The editor's exit status as the shell wrote it, or "" after the time-out.
  std::string WaitForExitStatus() {
    for (int nTry = 0; nTry < 100; ++nTry) {
      std::ifstream in(m_strDir + "/status");
      std::string strStatus;
      if (std::getline(in, strStatus)) return strStatus + "\n";
      usleep(50 * 1000);
    }
    return std::string();
  }

  std::string m_strDir;
  std::unique_ptr<CTmuxSession> m_pSession;
};

TEST_F(EditInTmux, TipFollowsTheTypedCallAndTheListShowsTheFunctions) {
  StartEditor();
  CTmuxSession& tmux = *m_pSession;
  // To the end of line 5 ("  return 0;"), a new line, and a call typed key by key.
  tmux.SendKeys({"Down", "Down", "Down", "Down", "End", "Enter"});
  tmux.SendText("  x = Mid(");

  int nRow = WaitForMark("strText");
  ASSERT_GE(nRow, 0) << "no tip with the prototype and the first parameter marked";
  int nCursorRow = -1;
  int nCursorColumn = -1;
  ASSERT_TRUE(tmux.GetCursor(nCursorRow, nCursorColumn));
  EXPECT_EQ(nRow, nCursorRow + 1) << "the tip is not on the row below the caret";
  const std::vector<std::string> rows = tmux.Capture();
  // The tip's text (a blank, then the prototype) starts where the caret
  // stood when "(" was typed.
  EXPECT_EQ(rows[static_cast<size_t>(nRow)].find(std::string(" ") + kPrototype),
            static_cast<size_t>(nCursorColumn - 1))
      << "the tip does not start at the column of the \"(\"";
  EXPECT_NE(RowWith(rows, "arg 1: strText"), -1) << "the status row does not name the argument";

  tmux.SendText("strName, ");
  EXPECT_GE(WaitForMark("nStart"), 0) << "the mark did not move to the second parameter";
  tmux.SendText("1, ");
  EXPECT_GE(WaitForMark("nCount"), 0) << "the mark did not move to the third parameter";

  tmux.SendText("2)");
  std::vector<std::string> screen;
  EXPECT_TRUE(tmux.WaitFor(
      [](const std::vector<std::string>& r) {
        return RowWith(r, "x = Mid(strName, 1, 2)") >= 0 && RowWith(r, kPrototype) < 0;
      },
      screen))
      << "the tip did not close on \")\"";

  // Ctrl+Space: the function list, built-in (B) and project (P) functions.
  tmux.SendKeys({"Enter", "C-Space"});
  EXPECT_TRUE(tmux.WaitFor(
      [](const std::vector<std::string>& r) {
        return RowWith(r, "B MessageBox") >= 0 && RowWith(r, "P Greet") >= 0 && RowWith(r, "B StrLeft") >= 0;
      },
      screen))
      << "Ctrl+Space did not list the functions";
  tmux.SendText("gr");
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, ">P Greet") >= 0; }, screen))
      << "typing did not select the matching function";
  tmux.SendKeys({"Enter"});
  tmux.SendText("(");
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, " Greet(strWho)") >= 0; },
                           screen))
      << "the inserted name did not open its tip";

  // F2: the file list takes the focus, the editor's frame loses it, the tip closes.
  tmux.SendKeys({"F2"});
  EXPECT_TRUE(tmux.WaitFor(
      [](const std::vector<std::string>& r) {
        return RowWith(r, " Greet(strWho)") < 0 && RowWith(r, "Enter open") >= 0;
      },
      screen))
      << "the tip did not close when the file list took the focus";

  // Quitting with unsaved changes takes Ctrl+Q twice; the editor ends with 0.
  tmux.SendKeys({"C-q"});
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "unsaved changes") >= 0; },
                           screen));
  tmux.SendKeys({"C-q"});
  EXPECT_EQ(WaitForExitStatus(), "0\n") << "the editor did not quit with status 0";
}

TEST_F(EditInTmux, SavingMakesANewFunctionKnownAtOnce) {
  StartEditor();
  CTmuxSession& tmux = *m_pSession;
  tmux.SendKeys({"Down", "Down", "Down", "Down", "Down", "Down", "End", "Enter"});
  tmux.SendText("function Twice(nValue) { return nValue * 2; }");
  tmux.SendKeys({"Enter"});
  tmux.SendText("Twice(");
  std::vector<std::string> screen;
  // Not yet saved: the function is unknown, no tip.
  ASSERT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "   8 Twice(") >= 0; }, screen));
  EXPECT_NE(RowWith(screen, "no function at the caret"), -1);
  EXPECT_EQ(RowWith(screen, "arg 1: nValue"), -1);
  tmux.SendKeys({"BSpace", "C-s"});
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "saved main.nsc") >= 0; },
                           screen))
      << "no message after Ctrl+S";
  tmux.SendText("(");
  EXPECT_GE(WaitForMark("nValue", "Twice(nValue)"), 0) << "the saved function is not known";
  EXPECT_NE(RowWith(tmux.Capture(), "arg 1: nValue"), -1);
  tmux.SendKeys({"C-q"});
}

// An xterm mouse report of a left button press and release at a cell, as
// the terminal sends it to the program.
std::string ClickAt(int nRow, int nColumn) {
  const std::string strCell = {static_cast<char>(33 + nColumn), static_cast<char>(33 + nRow)};
  return "\x1b[M" + std::string(1, ' ') + strCell + "\x1b[M" + std::string(1, '#') + strCell;
}

TEST_F(EditInTmux, AClickMovesTheCaretAndTheTipWaitsForTheNextKey) {
  StartEditor();
  CTmuxSession& tmux = *m_pSession;
  tmux.SendKeys({"Down", "Down", "Down", "Down", "End", "Enter"});
  tmux.SendText("Print(");
  ASSERT_GE(WaitForMark("strText", "Print(strText)"), 0);
  int nRow = -1;
  int nColumn = -1;
  ASSERT_TRUE(tmux.GetCursor(nRow, nColumn));
  // A click two rows up: the caret moves there, the tip stays where it was.
  tmux.SendText(ClickAt(nRow - 2, nColumn));
  std::vector<std::string> screen;
  EXPECT_TRUE(tmux.WaitFor(
      [](const std::vector<std::string>& r) { return RowWith(r, "Ln 4, Col") >= 0; }, screen))
      << "the click did not move the caret";
  EXPECT_NE(RowWith(screen, " Print(strText)"), -1) << "the click closed the tip";
  // The next key release finds the caret before the "(": the tip closes.
  tmux.SendKeys({"Right"});
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, " Print(strText)") < 0; },
                           screen))
      << "the tip did not close after the key";
  // A click on a file of the list opens it.
  const int nUtilRow = RowWith(screen, " util.nsc");
  ASSERT_GE(nUtilRow, 0);
  tmux.SendText(ClickAt(nUtilRow, 3));
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "Nimbo edit - util.nsc") == 0; },
                           screen))
      << "the click on a file did not open it";
  tmux.SendKeys({"C-q", "C-q"});
}

// Typing into a CR LF file without a final newline and saving keeps both;
// a change made on disk meanwhile is overwritten only at a second Ctrl+S.
TEST_F(EditInTmux, SavingKeepsTheFilesFormAndWarnsOfAChangeOnDisk) {
  const std::string strPath = m_strDir + "/project/crlf.nsc";
  std::ofstream(strPath, std::ios::binary) << "function A() {\r\n  return 1;\r\n}";
  StartEditor(m_strDir + "/Programs", "crlf.nsc");
  CTmuxSession& tmux = *m_pSession;
  tmux.SendKeys({"Down", "End"});
  tmux.SendText(" // one");
  tmux.SendKeys({"Down", "End", "Enter"});
  tmux.SendText("// two");
  tmux.SendKeys({"C-s"});
  std::vector<std::string> screen;
  ASSERT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "saved crlf.nsc") >= 0; },
                           screen));
  auto Read = [&strPath] {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  EXPECT_EQ(Read(), "function A() {\r\n  return 1; // one\r\n}\r\n// two");

  std::ofstream(strPath, std::ios::binary) << "theirs\n";
  tmux.SendText("!");
  tmux.SendKeys({"C-s"});
  ASSERT_TRUE(tmux.WaitFor(
      [](const std::vector<std::string>& r) { return RowWith(r, "crlf.nsc was changed on disk") >= 0; }, screen));
  EXPECT_EQ(Read(), "theirs\n");
  tmux.SendKeys({"C-s"});
  ASSERT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "saved crlf.nsc") >= 0; },
                           screen));
  EXPECT_EQ(Read(), "function A() {\r\n  return 1; // one\r\n}\r\n// two!");
  tmux.SendKeys({"C-q"});
  EXPECT_EQ(WaitForExitStatus(), "0\n");
}

TEST_F(EditInTmux, ABrokenFunctionWizardLeavesOnlyTheProjectsFunctions) {
  std::ofstream(m_strDir + "/Programs/funcwiz.ini", std::ios::binary) << std::string("\x01\xff[[garbage\n=\n\0x", 16);
  StartEditor();
  CTmuxSession& tmux = *m_pSession;
  std::vector<std::string> screen = tmux.Capture();
  EXPECT_NE(RowWith(screen, "no built-in functions read from"), -1);
  EXPECT_NE(RowWith(screen, "0 built-in + 3 project functions"), -1);
  tmux.SendKeys({"C-Space"});
  EXPECT_TRUE(tmux.WaitFor([](const std::vector<std::string>& r) { return RowWith(r, "P Greet") >= 0; }, screen));
  EXPECT_EQ(RowWith(screen, "B "), -1);
  tmux.SendKeys({"Escape", "C-q"});
}

}  // namespace
