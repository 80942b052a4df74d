// Diagnostics after random edits: what a document's pieces say (facts and
// definitions) equals a reading of its whole text, and what the server
// publishes after each edit equals what a fresh server publishes for the
// text as it then is. Seeded, so that a failure can be replayed.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspDiagnostics.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/CLspServer.h"

namespace nimbo {
namespace lsp {
namespace {

const std::string kFixture = std::string(NIMBO_SOURCE_DIR) + "/tests/tools/lsp/fixture";
const std::string kUri = "file://" + kFixture + "/project/zz/random.nsc";

// Pieces of scripts that make and break headers, calls, literals and comments.
const char* const kFragments[] = {
    "function Twice(n) {\n", "function number Sum(a, b) { return a + b; }\n", "declare Later(x);\n",
    "declare Nowhere(q);\n", "}\n", "{", "StrLeft(\"a\", 1);\n", "Strleft(1);", "Unknown(1, 2", ")", "\"str(", "'",
    "/* ", " */", "// note\n", "\n", "obj.Call(", "Mid(a, b, c);", "Print(", ", ", ";", "function\n", "  x = ",
    "Greet(1)", "Twice(n);\n", "function Greet(s) {}\n", "(", "function Twice(m, k)", "é", "\\", "declare F(",
    "function G(x) { return x; }\n", "  Clamp(1, 2, 3);\n", "Format(a, (b, c), d);\n", "\n\n", "\n\n  y = Print(1);\n",
    "\n\nif (x) {\n",
    // Literals left open at a line's end (one carried on by a backslash),
    // and calls with line breaks, blank lines and comments before "(".
    "\"abc;\n", "'a;\n", "s = \"one\\\n", "Twice\n", "\n  (2);\n", "Twice/* c */(3);", "Twice\n\n(4);\n"};

// Paragraphs, top-level statements and functions: the places pieces begin.
const char kStart[] =
    "declare Later(x);\n\nfunction Main() {\n  Twice(1);\n\n  StrLeft(\"x\");\n}\n\nx = Mid(1, 2, 3);\n\n"
    "Print(x);\nfunction Twice(n) { return n; }\n";

// A random edit of text: a range replaced by fragments, both in bytes.
struct CEdit {
  size_t nFirst;
  size_t nEnd;
  std::string strText;
};

CEdit RandomEdit(const std::string& strText, std::mt19937& random) {
  CEdit edit;
  edit.nFirst = std::uniform_int_distribution<size_t>(0, strText.size())(random);
  // Never inside a character: positions go back to its first byte.
  while (edit.nFirst > 0 && edit.nFirst < strText.size() && (static_cast<unsigned char>(strText[edit.nFirst]) & 0xC0) == 0x80)
    --edit.nFirst;
  size_t nLength = std::uniform_int_distribution<int>(0, 3)(random) == 0
                       ? std::uniform_int_distribution<size_t>(0, 40)(random)
                       : 0;
  edit.nEnd = std::min(strText.size(), edit.nFirst + nLength);
  while (edit.nEnd < strText.size() && (static_cast<unsigned char>(strText[edit.nEnd]) & 0xC0) == 0x80) ++edit.nEnd;
  const int nFragments = std::uniform_int_distribution<int>(0, 2)(random);
  for (int i = 0; i < nFragments || (edit.nFirst == edit.nEnd && edit.strText.empty()); ++i)
    edit.strText += kFragments[std::uniform_int_distribution<size_t>(0, std::size(kFragments) - 1)(random)];
  return edit;
}

// The protocol's position (UTF-16) of a byte offset of a text split at "\n".
nlohmann::json PositionOf(const std::string& strText, size_t nOffset) {
  const size_t nLineStart = strText.rfind('\n', nOffset == 0 ? std::string::npos : nOffset - 1);
  const size_t nFirst = nLineStart == std::string::npos || nOffset == 0 ? 0 : nLineStart + 1;
  size_t nLine = 0;
  for (size_t i = 0; i < nFirst; ++i) nLine += strText[i] == '\n';
  return {{"line", nLine}, {"character", ColumnOfByteOffset(strText.substr(nFirst, nOffset - nFirst), nOffset - nFirst, encodingUtf16)}};
}

// A server on the fixture whose last diagnostics for kUri are kept.
struct CServer {
  std::string strDiagnostics = "[]";
  CLspServer server;
  CServer()
      : server(
            [] {
              CLspOptions options;
              options.strPrograms = kFixture + "/Programs";
              options.strProject = kFixture + "/project";
              options.nDiagnosticsDelayMs = 0;
              return options;
            }(),
            [this](const std::string& strBody) {
              const nlohmann::json message = nlohmann::json::parse(strBody);
              if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == kUri)
                strDiagnostics = message["params"]["diagnostics"].dump();
            },
            [](const std::string&) {}) {
    Send({{"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", nlohmann::json::object()}}}});
    Send({{"method", "initialized"}, {"params", nlohmann::json::object()}});
  }
  void Send(nlohmann::json message) {
    message["jsonrpc"] = "2.0";
    server.HandleMessage(message.dump());
  }
  void Open(const std::string& strText) {
    Send({{"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", kUri}, {"languageId", "nimbo"}, {"version", 1}, {"text", strText}}}}}});
  }
};

// A severity that names none is said (once per setting), never silently dropped.
TEST(LspDiagnosticsSettings, AnUnknownSeverityIsSaid) {
  CLspDiagnostics diagnostics;
  std::vector<std::string> problems;
  diagnostics.Configure({{"argumentCount", "loud"}, {"unknownFunction", "off"}, {"unclosedCall", 3}}, &problems);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("argumentCount: \"loud\""), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find("unclosedCall: 3"), std::string::npos) << problems[1];
}

TEST(LspDiagnosticsProperty, PiecesReadAsTheWholeText) {
  for (unsigned nSeed = 1; nSeed <= 40; ++nSeed) {
    std::mt19937 random(nSeed);
    std::string strText = kStart;
    CLspDocument document(strText);
    for (int nStep = 0; nStep < 60; ++nStep) {
      const CEdit edit = RandomEdit(strText, random);
      const nlohmann::json start = PositionOf(strText, edit.nFirst);
      const nlohmann::json end = PositionOf(strText, edit.nEnd);
      CLspDocument::CPosition first{start["line"].get<long long>(), start["character"].get<long long>()};
      CLspDocument::CPosition last{end["line"].get<long long>(), end["character"].get<long long>()};
      document.ReplaceRange(first, last, edit.strText, encodingUtf16);
      strText.replace(edit.nFirst, edit.nEnd - edit.nFirst, edit.strText);
      ASSERT_EQ(document.Text(), strText);
      const std::string strWhere = "seed " + std::to_string(nSeed) + " step " + std::to_string(nStep) + ":\n" + strText;

      CLspDocumentFacts& facts = document.Facts(encodingUtf16);
      const std::vector<CLspDefinition> expected = ScanDefinitions(strText, encodingUtf16);
      const std::vector<CLspDefinition> actual = facts.Definitions();
      ASSERT_EQ(actual.size(), expected.size()) << strWhere;
      for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(std::string(actual[i].strPrototype), std::string(expected[i].strPrototype)) << strWhere;
        EXPECT_EQ(actual[i].nLine, expected[i].nLine) << strWhere;
        EXPECT_EQ(actual[i].nColumn, expected[i].nColumn) << strWhere;
      }
      CLspScriptFacts whole;
      whole.Scan(document.Lines());
      std::string strCalls;
      std::string strHeaders;
      std::string strLiterals;
      for (const CLspFactsPiece& piece : facts.Pieces()) {
        for (const CLspLiteralFact& literal : piece.unclosed)
          strLiterals += std::to_string(piece.nFirstLine + literal.nLine) + ":" + std::to_string(literal.nQuote) + " ";
        for (const CLspCallFact& call : piece.calls)
          strCalls += call.strName + "@" + std::to_string(piece.nFirstLine + call.nLine) + ":" + std::to_string(call.nFirst) +
                      "/" + std::to_string(call.nArguments) + (call.bClosed ? "" : "!") + (call.bAfterDot ? "." : "") + " ";
        for (const CLspHeaderFact& header : piece.headers)
          strHeaders += header.strName.empty() ? std::string("? ")  // no name: no place either
                                               : header.strName + "@" + std::to_string(piece.nFirstLine + header.nLine) +
                                                     (header.bDeclare ? "d " : " ");
      }
      std::string strWholeCalls;
      std::string strWholeHeaders;
      std::string strWholeLiterals;
      for (const CLspLiteralFact& literal : whole.UnclosedLiterals())
        strWholeLiterals += std::to_string(literal.nLine) + ":" + std::to_string(literal.nQuote) + " ";
      for (const CLspCallFact& call : whole.Calls())
        strWholeCalls += call.strName + "@" + std::to_string(call.nLine) + ":" + std::to_string(call.nFirst) + "/" +
                         std::to_string(call.nArguments) + (call.bClosed ? "" : "!") + (call.bAfterDot ? "." : "") + " ";
      for (const CLspHeaderFact& header : whole.Headers())
        strWholeHeaders += header.strName.empty() ? std::string("? ")
                                                  : header.strName + "@" + std::to_string(header.nLine) +
                                                        (header.bDeclare ? "d " : " ");
      ASSERT_EQ(strCalls, strWholeCalls) << strWhere;
      ASSERT_EQ(strHeaders, strWholeHeaders) << strWhere;
      ASSERT_EQ(strLiterals, strWholeLiterals) << strWhere;
    }
  }
}

TEST(LspDiagnosticsProperty, EditsPublishWhatAFreshServerDoes) {
  struct CStep {
    std::string strText;
    std::string strDiagnostics;
  };
  for (unsigned nSeed = 1; nSeed <= 12; ++nSeed) {
    std::mt19937 random(nSeed);
    std::vector<CStep> steps;
    {
      CServer edited;
      std::string strText = kStart;
      edited.Open(strText);
      for (int nVersion = 2; nVersion < 40; ++nVersion) {
        const CEdit edit = RandomEdit(strText, random);
        edited.Send({{"method", "textDocument/didChange"},
                     {"params",
                      {{"textDocument", {{"uri", kUri}, {"version", nVersion}}},
                       {"contentChanges",
                        {{{"range", {{"start", PositionOf(strText, edit.nFirst)}, {"end", PositionOf(strText, edit.nEnd)}}},
                          {"text", edit.strText}}}}}}});
        strText.replace(edit.nFirst, edit.nEnd - edit.nFirst, edit.strText);
        steps.push_back({strText, edited.strDiagnostics});
      }
    }
    // One server at a time: the catalogues are the process's.
    for (size_t i = 0; i < steps.size(); ++i) {
      CServer fresh;
      fresh.Open(steps[i].strText);
      ASSERT_EQ(steps[i].strDiagnostics, fresh.strDiagnostics)
          << "seed " << nSeed << " step " << i << ":\n" << steps[i].strText;
    }
  }
}

}  // namespace
}  // namespace lsp
}  // namespace nimbo
