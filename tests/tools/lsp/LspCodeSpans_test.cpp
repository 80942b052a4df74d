// The literal and comment stretches of a line agree with the byte rules'
// own reading of every prefix of it, for random lines and start states.
#include "tools/lsp/LspCodeSpans.h"

#include <gtest/gtest.h>

#include <random>

#include "tools/lsp/LspCodeScan.h"

namespace {

using nimbo::lsp::CLspCallScanner;
typedef CLspCallScanner S;

// Whether byte k of strLine is outside code, by the state ScanLine gives
// after prefixes of the line: inside a stretch before it, opening one at
// it (a quote, a "/*" or "//"), or after a "//".
std::vector<bool> OutsideCode(const std::string& strLine, S::CStart start) {
  auto ignore = [](size_t, char) {};
  auto stateAt = [&](size_t nEnd, bool& bLineComment) {
    bLineComment = false;
    return nimbo::lsp::ScanLine(strLine, nEnd, start, ignore, &bLineComment).eState;
  };
  std::vector<bool> outside(strLine.size());
  for (size_t k = 0; k < strLine.size(); ++k) {
    bool bBefore = false;
    bool bAfter = false;
    bool bTwoAfter = false;
    const bool bIn = stateAt(k, bBefore) != S::stateCode || stateAt(k + 1, bAfter) != S::stateCode || bAfter;
    const bool bOpens = strLine[k] == '/' && k + 2 <= strLine.size() &&
                        (stateAt(k + 2, bTwoAfter) == S::stateComment || bTwoAfter);
    outside[k] = bIn || bOpens;
  }
  return outside;
}

TEST(LspCodeSpans, StretchesAreWhatTheByteRulesReadOutsideCode) {
  const char kBytes[] = "\"'\\/*ab (,;";
  const S::EState kStarts[] = {S::stateCode, S::stateString, S::stateStringEscape, S::stateChar, S::stateComment};
  std::mt19937 random(32);
  std::vector<nimbo::lsp::CLspTextSpan> spans;
  for (int nCase = 0; nCase < 3000; ++nCase) {
    std::string strLine(random() % 24, ' ');
    for (char& ch : strLine) ch = kBytes[random() % (sizeof(kBytes) - 1)];
    S::CStart start;
    start.eState = kStarts[random() % 5];
    nimbo::lsp::ReadLineSpans(strLine, start, spans);
    std::vector<bool> covered(strLine.size());
    size_t nAt = 0;
    for (const nimbo::lsp::CLspTextSpan& span : spans) {
      ASSERT_TRUE(span.nFirst >= nAt && span.nFirst < span.nEnd && span.nEnd <= strLine.size()) << strLine;
      nAt = span.nEnd;
      for (size_t k = span.nFirst; k < span.nEnd; ++k) covered[k] = true;
      // A literal begins at its quote, a comment at its "/", unless the
      // line began inside one of its kind.
      const bool bCarried = span.nFirst == 0 && start.eState != S::stateCode;
      if (span.cKind == 's')
        EXPECT_TRUE(bCarried ? start.eState != S::stateComment : strLine[span.nFirst] == '"' || strLine[span.nFirst] == '\'')
            << strLine;
      else
        EXPECT_TRUE(bCarried ? start.eState == S::stateComment : strLine[span.nFirst] == '/') << strLine;
    }
    EXPECT_EQ(covered, OutsideCode(strLine, start)) << "line [" << strLine << "] from state " << start.eState;
  }
}

}  // namespace
