// Saving in the editor: a file typed into keeps every byte the user did not
// change (line ends as found, LF or CR LF or mixed; the final newline or its
// absence), and Ctrl+S warns before it overwrites a file changed on disk.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RunNimbo.h"
#include "tools/edit/EditSession.h"
#include "module/NimboInit.h"

namespace {

const std::string kFixture = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/replay/fixture";

class EditSave : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { NimboInit(); }

  void SetUp() override {
    ASSERT_EQ(std::system(("cp -R '" + kFixture + "/project' '" + kFixture + "/Programs' '" + m_scratch.Dir() + "/'")
                              .c_str()),
              0);
    CEditSession::COptions options;
    options.strProjectDir = m_scratch.Dir() + "/project";
    options.strProgramsDir = m_scratch.Dir() + "/Programs";
    m_pSession = std::make_unique<CEditSession>(options);
    ASSERT_TRUE(m_pSession->IsReady());
  }

  // Opens a new file of the project holding strBytes.
  void Open(const std::string& strBytes) {
    nimbotest::WriteText(Path(), strBytes);
    std::string strError;
    const int nIndex = m_pSession->AddFile(Path(), strError);
    ASSERT_GE(nIndex, 0) << strError;
    ASSERT_TRUE(m_pSession->OpenFile(nIndex, strError)) << strError;
  }
  std::string Path() const { return m_scratch.Dir() + "/project/typed.nsc"; }

  nimbotest::CScratch m_scratch;
  std::unique_ptr<CEditSession> m_pSession;
};

// An edit as a user makes it: the caret put somewhere, keys pressed.
struct CEdit {
  const char* pszName;
  std::function<void(CEditSession&)> fnDo;
};

void AtEndOfText(CEditSession& session) {
  session.ClickText(1000, 0);
  session.PressKey(VK_END);
}

const CEdit kTypeOnLastLine = {"type on the last line", [](CEditSession& s) { AtEndOfText(s), s.TypeText("X"); }};
const CEdit kNewLastLine = {"Enter and a line at the end", [](CEditSession& s) { AtEndOfText(s), s.TypeText("\nc"); }};
const CEdit kJoinFirstTwo = {"Delete joins the first two lines", [](CEditSession& s) {
                               s.ClickText(0, 0);
                               s.PressKey(VK_END);
                               s.PressKey(VK_DELETE);
                             }};
const CEdit kBackspaceLastLine = {"Backspace at the start of the last line joins it", [](CEditSession& s) {
                                    AtEndOfText(s);
                                    s.PressKey(VK_HOME);
                                    s.PressKey(VK_BACK);
                                  }};
const CEdit kDeleteAtEnd = {"Delete at the end and Backspace of the last letter", [](CEditSession& s) {
                              AtEndOfText(s);
                              s.PressKey(VK_DELETE);
                              s.PressKey(VK_BACK);
                            }};
const CEdit kSplitFirst = {"Enter in the first line", [](CEditSession& s) {
                             s.ClickText(0, 1);
                             s.TypeText("\n");
                           }};
const CEdit kTypeAndUndo = {"a letter typed and removed", [](CEditSession& s) {
                              s.ClickText(0, 0);
                              s.TypeText("Q");
                              s.PressKey(VK_BACK);
                            }};

TEST_F(EditSave, EveryByteNotChangedStays) {
  struct {
    const char* pszBytes;
    const CEdit& edit;
    const char* pszSaved;
  } const cases[] = {
      {"ab\ncd\n", kTypeOnLastLine, "ab\ncdX\n"},
      {"ab\ncd\n", kNewLastLine, "ab\ncd\nc\n"},
      {"ab\ncd\n", kJoinFirstTwo, "abcd\n"},
      {"ab\ncd\n", kBackspaceLastLine, "abcd\n"},
      {"ab\ncd\n", kDeleteAtEnd, "ab\nc\n"},
      {"ab\ncd\n", kTypeAndUndo, "ab\ncd\n"},
      {"ab\r\ncd\r\n", kTypeOnLastLine, "ab\r\ncdX\r\n"},
      {"ab\r\ncd\r\n", kNewLastLine, "ab\r\ncd\r\nc\r\n"},
      {"ab\r\ncd\r\n", kJoinFirstTwo, "abcd\r\n"},
      {"ab\r\ncd\r\n", kSplitFirst, "a\r\nb\r\ncd\r\n"},
      {"ab\r\ncd\r\n", kTypeAndUndo, "ab\r\ncd\r\n"},
      {"ab\ncd", kTypeOnLastLine, "ab\ncdX"},
      {"ab\ncd", kNewLastLine, "ab\ncd\nc"},
      {"ab\ncd", kBackspaceLastLine, "abcd"},
      {"ab\ncd", kDeleteAtEnd, "ab\nc"},
      {"ab\r\ncd", kNewLastLine, "ab\r\ncd\r\nc"},
      {"ab\r\ncd", kSplitFirst, "a\r\nb\r\ncd"},
      // Mixed line ends: the lines not touched keep theirs, a new one takes the most common.
      {"ab\r\ncd\nef\r\n", kTypeOnLastLine, "ab\r\ncd\nefX\r\n"},
      {"ab\r\ncd\nef\r\n", kSplitFirst, "a\r\nb\r\ncd\nef\r\n"},
      {"ab\r\ncd\nef\r\n", kTypeAndUndo, "ab\r\ncd\nef\r\n"},
      // A blank last line is a line of its own; an empty file gets a final newline.
      {"ab\n\n", kTypeOnLastLine, "ab\nX\n"},
      {"", kTypeOnLastLine, "X\n"},
      {"", kTypeAndUndo, ""},
  };
  for (const auto& test : cases) {
    m_pSession.reset();  // a fresh editor for each file
    SetUp();
    Open(test.pszBytes);
    test.edit.fnDo(*m_pSession);
    std::string strError;
    ASSERT_TRUE(m_pSession->Save(strError)) << strError;
    EXPECT_EQ(nimbotest::ReadText(Path()), test.pszSaved) << test.edit.pszName << " on " << test.pszBytes;
    EXPECT_FALSE(m_pSession->IsModified()) << test.edit.pszName << " on " << test.pszBytes;
  }
}

TEST_F(EditSave, CtrlSWarnsBeforeOverwritingAChangeOnDiskAndASecondOneOverwrites) {
  Open("function A() {\n}\n");
  m_pSession->TypeText("// mine\n");
  // Touched, or rewritten with the same bytes: no change.
  nimbotest::WriteText(Path(), "function A() {\n}\n");
  m_pSession->Command(kCmdSave);
  EXPECT_EQ(nimbotest::ReadText(Path()), "// mine\nfunction A() {\n}\n");

  m_pSession->TypeText("// again\n");
  nimbotest::WriteText(Path(), "theirs\n");
  m_pSession->Command(kCmdSave);
  EXPECT_NE(m_pSession->GetMessage().find("changed on disk"), std::string::npos) << m_pSession->GetMessage();
  EXPECT_EQ(nimbotest::ReadText(Path()), "theirs\n");
  // Any other key cancels: the next Ctrl+S warns again.
  m_pSession->PressKey(VK_LEFT);
  EXPECT_EQ(m_pSession->GetMessage(), "");
  m_pSession->Command(kCmdSave);
  EXPECT_NE(m_pSession->GetMessage().find("changed on disk"), std::string::npos);
  EXPECT_EQ(nimbotest::ReadText(Path()), "theirs\n");
  m_pSession->Command(kCmdSave);
  EXPECT_EQ(m_pSession->GetMessage().rfind("saved typed.nsc", 0), 0u) << m_pSession->GetMessage();
  EXPECT_EQ(nimbotest::ReadText(Path()), "// mine\n// again\nfunction A() {\n}\n");
  // Saved here: no warning for the next save.
  m_pSession->TypeText("x");
  m_pSession->Command(kCmdSave);
  EXPECT_EQ(nimbotest::ReadText(Path()), "// mine\n// againx\nfunction A() {\n}\n");
}

TEST_F(EditSave, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheText) {
  Open("ab\n");
  m_pSession->TypeText("x");
  ASSERT_EQ(std::system(("rm -rf '" + m_scratch.Dir() + "/project'").c_str()), 0);
  m_pSession->Command(kCmdSave);
  EXPECT_EQ(m_pSession->GetMessage(), "not saved: cannot write " + Path() + ": No such file or directory");
  EXPECT_TRUE(m_pSession->IsModified());
}

}  // namespace
