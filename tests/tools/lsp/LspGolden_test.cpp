// Golden-file protocol tests of the language server: each cases/<case>.in
// is fed, message by message, through the framing reader and the server,
// on a copy of fixture/; every message the server sends is one line of the
// output, which must equal cases/<case>.expected. NIMBO_UPDATE_GOLDEN=1
// rewrites the expected files instead (review the diff before committing).
//
// Lines of a case: a JSON message (framed by the runner); "raw: TEXT" sends
// TEXT as it is, with \r, \n, \xHH and \\ unescaped; "write: FILE TEXT" replaces a
// fixture file (TEXT unescaped the same way; folders are made as needed);
// "remove: PATH" deletes a fixture file or folder; "queue: JSON" puts a message
// in the server's inbox without handling it, so that the next message finds it
// waiting, as messages that arrive while the server works do; "#" begins a
// comment. ${DIR}
// stands for the copy of the fixture, in the input and in the output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CScratchDir.h"
#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"

namespace {

const std::string kHere = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/lsp";

std::string ReadText(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Replace(std::string strText, const std::string& strFrom, const std::string& strTo) {
  for (size_t nAt = strText.find(strFrom); nAt != std::string::npos; nAt = strText.find(strFrom, nAt + strTo.size()))
    strText.replace(nAt, strFrom.size(), strTo);
  return strText;
}

std::string Unescape(const std::string& strText) {
  std::string strResult;
  for (size_t i = 0; i < strText.size(); ++i) {
    if (strText[i] != '\\' || i + 1 == strText.size()) {
      strResult += strText[i];
      continue;
    }
    const char ch = strText[++i];
    if (ch == 'x' && i + 2 < strText.size()) {
      strResult += static_cast<char>(std::stoi(strText.substr(i + 1, 2), nullptr, 16));
      i += 2;
      continue;
    }
    strResult += ch == 'r' ? '\r' : ch == 'n' ? '\n' : ch;
  }
  return strResult;
}

// Runs one case; returns the server's messages, one per line, and how it ended.
std::string RunCase(const std::string& strInput, const CScratchDir& scratch) {
  std::string strOutput;
  nimbo::lsp::CLspOptions options;
  options.strBundledPrograms = scratch.PathOf("Programs");
  options.nDiagnosticsDelayMs = 0;  // diagnostics right after the message that changed them
  nimbo::lsp::CLspServer server(
      options, [&strOutput](const std::string& strBody) { strOutput += strBody + "\n"; },
      [](const std::string&) {});
  nimbo::lsp::CLspMessageReader reader;
  std::istringstream lines(Replace(strInput, "${DIR}", scratch.GetPath()));
  std::string strLine;
  while (std::getline(lines, strLine) && !server.ExitRequested()) {
    if (strLine.empty() || strLine[0] == '#') continue;
    if (strLine.compare(0, 7, "write: ") == 0) {
      const size_t nSpace = strLine.find(' ', 7);
      std::filesystem::create_directories(std::filesystem::path(scratch.PathOf(strLine.substr(7, nSpace - 7))).parent_path());
      scratch.Write(strLine.substr(7, nSpace - 7), Unescape(strLine.substr(nSpace + 1)));
      continue;
    }
    if (strLine.compare(0, 8, "remove: ") == 0) {
      std::filesystem::remove_all(scratch.PathOf(strLine.substr(8)));
      continue;
    }
    if (strLine.compare(0, 7, "queue: ") == 0) {
      server.Inbox()->PushBody(strLine.substr(7));
      continue;
    }
    const std::string strBytes = strLine.compare(0, 5, "raw: ") == 0 ? Unescape(strLine.substr(5))
                                                                      : nimbo::lsp::FrameMessage(strLine);
    reader.Feed(strBytes.data(), strBytes.size());
    std::string strBody;
    std::string strProblem;
    for (nimbo::lsp::CLspMessageReader::EResult eResult; (eResult = reader.Next(strBody, strProblem)) !=
                                                          nimbo::lsp::CLspMessageReader::resultNeedMore;) {
      if (eResult == nimbo::lsp::CLspMessageReader::resultSkipped) {
        strOutput += "(skipped: " + strProblem + ")\n";
        continue;
      }
      if (!strProblem.empty()) strOutput += "(framing: " + strProblem + ")\n";
      if (!server.ExitRequested()) server.HandleMessage(strBody);
    }
  }
  strOutput += server.ExitRequested() ? "(exit " + std::to_string(server.ExitStatus()) + ")\n" : "(no exit)\n";
  return Replace(strOutput, scratch.GetPath(), "${DIR}");
}

class LspGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(LspGolden, OutputMatchesExpected) {
  CScratchDir scratch;
  std::filesystem::copy(kHere + "/fixture", scratch.GetPath(), std::filesystem::copy_options::recursive);
  const std::string strActual = RunCase(ReadText(kHere + "/cases/" + GetParam() + ".in"), scratch);
  const std::string strExpectedPath = kHere + "/cases/" + GetParam() + ".expected";
  const char* pszUpdate = std::getenv("NIMBO_UPDATE_GOLDEN");
  if (pszUpdate != nullptr && std::string(pszUpdate) == "1") {
    std::ofstream(strExpectedPath, std::ios::binary) << strActual;
    GTEST_SKIP() << "rewrote " << strExpectedPath;
  }
  const std::string strExpected = ReadText(strExpectedPath);
  ASSERT_FALSE(strExpected.empty()) << "no expected output: " << strExpectedPath;
  EXPECT_EQ(strActual, strExpected);
}

std::vector<std::string> Cases() {
  std::vector<std::string> cases;
  for (const auto& entry : std::filesystem::directory_iterator(kHere + "/cases"))
    if (entry.path().extension() == ".in") cases.push_back(entry.path().stem().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, LspGolden, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
