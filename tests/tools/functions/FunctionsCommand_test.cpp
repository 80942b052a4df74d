// `nimbo functions`: the filled completion list as text, and the statuses.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "RunNimbo.h"

namespace {

using CResult = nimbotest::CRun;

// A scratch directory with a "Programs" and a "project" directory in it.
class FunctionsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strDir = m_scratch.Dir();
    ASSERT_FALSE(m_strDir.empty());
    ASSERT_EQ(std::system(("mkdir '" + m_strDir + "/Programs' '" + m_strDir + "/project'").c_str()), 0);
  }

  void Write(const std::string& strName, const std::string& strText) const {
    std::ofstream(m_strDir + "/" + strName, std::ios::binary) << strText;
  }
  std::string Read(const std::string& strName) const {
    std::ifstream in(m_strDir + "/" + strName, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  CResult Run(const std::string& strArgs, const std::string& strEnv = "") const {
    return nimbotest::RunNimbo(m_strDir, "functions " + strArgs, strEnv);
  }
  std::string Options() const {
    return "--programs '" + m_strDir + "/Programs' --project='" + m_strDir + "/project'";
  }

  nimbotest::CScratch m_scratch;  // removed with the fixture
  std::string m_strDir;
};

const char kFuncWiz[] =
    "[FuncWiz - Category - All]\r\n1=ShowNote\r\n2=Pause\r\n\r\n"
    "[ShowNote]\r\nSampleLine=ShowNote(szText, nStyle)\r\n\r\n"
    "[Pause]\r\nSampleLine=Pause(nSeconds)\r\n\r\n";

TEST_F(FunctionsCommand, ListsInCompletionListOrderWithSourceAndPrototype) {
  Write("Programs/funcwiz.ini", kFuncWiz);
  Write("project/a.nsc", "function number Total(aItems, nTax) {\n  return 0;\n}\nfunction Pause(n) {\n}\n");
  CResult result = Run(Options());
  EXPECT_EQ(result.nStatus, 0) << result.strErr;
  EXPECT_EQ(result.strErr, "");
  // Project functions descending, then built-ins descending; a name in both
  // shows twice, each with its own prototype, the project's marked hidden
  // (the tip shows the built-in's).
  EXPECT_EQ(result.strOut,
            "Total     project   Total(aItems, nTax)\n"
            "Pause     project   Pause(n)  (hidden: the tip shows the built-in's)\n"
            "ShowNote  built-in  ShowNote(szText, nStyle)\n"
            "Pause     built-in  Pause(nSeconds)\n");
}

TEST_F(FunctionsCommand, JsonGivesEachFunctionsSourcePrototypeFileAndLine) {
  Write("Programs/funcwiz.ini", kFuncWiz);
  // The first definition of a name is the catalogue's, also across scripts.
  Write("project/a.nsc", "// a\nfunction number Total(aItems, nTax) {\n  return 0;\n}\n\nfunction Pause(n) {\n}\n");
  Write("project/b.nsc", "function Total(x) {\n}\n");
  CResult result = Run("--json " + Options());
  EXPECT_EQ(result.nStatus, 0) << result.strErr;
  const std::string strA = m_strDir + "/project/a.nsc";
  const std::string strIni = m_strDir + "/Programs/funcwiz.ini";
  EXPECT_EQ(result.strOut,
            "[\n"
            "{\"name\":\"Total\",\"source\":\"project\",\"prototype\":\"Total(aItems, nTax)\",\"file\":\"" + strA +
                "\",\"line\":2,\"hidden\":false},\n"
            "{\"name\":\"Pause\",\"source\":\"project\",\"prototype\":\"Pause(n)\",\"file\":\"" + strA +
                "\",\"line\":6,\"hidden\":true},\n"
            "{\"name\":\"ShowNote\",\"source\":\"built-in\",\"prototype\":\"ShowNote(szText, nStyle)\",\"file\":\"" +
                strIni + "\",\"line\":5,\"hidden\":false},\n"
            "{\"name\":\"Pause\",\"source\":\"built-in\",\"prototype\":\"Pause(nSeconds)\",\"file\":\"" + strIni +
                "\",\"line\":8,\"hidden\":false}\n"
            "]\n");
}

TEST_F(FunctionsCommand, OutputThatCannotBeWrittenIsAnError) {
  Write("Programs/funcwiz.ini", kFuncWiz);
  const int nRaw = std::system(("'" + nimbotest::kNimbo + "' functions " + Options() + " >/dev/full 2>'" + m_strDir +
                                "/stderr'").c_str());
  EXPECT_EQ(WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, 2);
  EXPECT_EQ(Read("stderr"), "nimbo: cannot write to standard output: No space left on device\n");
}

TEST_F(FunctionsCommand, ProgramsFromTheEnvironmentWhenNoOption) {
  Write("Programs/funcwiz.ini", kFuncWiz);
  CResult result = Run("--project '" + m_strDir + "/project'", "NIMBO_PROGRAMS='" + m_strDir + "/Programs'");
  EXPECT_EQ(result.nStatus, 0) << result.strErr;
  EXPECT_EQ(result.strOut, "ShowNote  built-in  ShowNote(szText, nStyle)\nPause     built-in  Pause(nSeconds)\n");
}

TEST_F(FunctionsCommand, MissingFuncWizWarnsAndListsTheRest) {
  Write("project/a.nsc", "function Only() {\n}\n");
  CResult result = Run(Options());
  EXPECT_EQ(result.nStatus, 0);
  EXPECT_EQ(result.strOut, "Only  project   Only()\n");
  EXPECT_NE(result.strErr.find("funcwiz.ini"), std::string::npos) << result.strErr;
}

TEST_F(FunctionsCommand, MissingDirectoriesAndBadArgumentsAreErrors) {
  for (const std::string& strArgs :
       {std::string("--programs '") + m_strDir + "/none' --project '" + m_strDir + "/project'",
        std::string("--programs '") + m_strDir + "/Programs' --project '" + m_strDir + "/none'",
        std::string("--project"), std::string("surplus")}) {
    CResult result = Run(strArgs);
    EXPECT_EQ(result.nStatus, 2) << strArgs;
    EXPECT_EQ(result.strOut, "") << strArgs;
    EXPECT_EQ(std::count(result.strErr.begin(), result.strErr.end(), '\n'), 1) << result.strErr;
  }
}

TEST(FunctionsCommandSamples, BundledSamplesListBothKinds) {
  std::string strCommand = "env -u NIMBO_PROGRAMS '" + nimbotest::kNimbo + "' functions";
  FILE* pPipe = popen(strCommand.c_str(), "r");
  ASSERT_NE(pPipe, nullptr);
  std::string strOut;
  char szBuffer[4096];
  for (size_t n; (n = std::fread(szBuffer, 1, sizeof szBuffer, pPipe)) > 0;) strOut.append(szBuffer, n);
  EXPECT_EQ(pclose(pPipe), 0);
  EXPECT_NE(strOut.find(" built-in  StrLeft(szText, nCount)\n"), std::string::npos);
  EXPECT_NE(strOut.find(" project "), std::string::npos);
  EXPECT_GE(std::count(strOut.begin(), strOut.end(), '\n'), 100);
}

}  // namespace
