// The document model and what it keeps of its text: edits give the text a
// fresh document would hold, and the call search, the code check and the
// pieces answer as a fresh reading.
#include "tools/lsp/CLspDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

using nimbo::lsp::CLspCallFact;
using nimbo::lsp::CLspCallScanner;
using nimbo::lsp::CLspDefinition;
using nimbo::lsp::CLspDocument;
using nimbo::lsp::CLspDocumentFacts;
using nimbo::lsp::CLspHeaderFact;
using nimbo::lsp::CLspScriptFacts;

CLspDocument::CPosition At(long long nLine, long long nCharacter) {
  CLspDocument::CPosition position;
  position.nLine = nLine;
  position.nCharacter = nCharacter;
  return position;
}

// Every position's answer, as "line:offset -> line:paren:argument" lines.
std::string AllAnswers(CLspDocument& document) {
  std::string strAnswers;
  for (size_t nLine = 0; nLine < document.Lines().size(); ++nLine) {
    for (size_t nOffset = 0; nOffset <= document.Lines()[nLine].size(); ++nOffset) {
      CLspCallScanner::COpenCall call;
      if (!document.FindOpenCall(nLine, nOffset, call)) continue;
      strAnswers += std::to_string(nLine) + ":" + std::to_string(nOffset) + " -> " + std::to_string(call.nLine) + ":" +
                    std::to_string(call.nParen) + ":" + std::to_string(call.nArgument) + "\n";
    }
  }
  return strAnswers;
}

TEST(CLspDocument, RangeEditsMatchTheEditedText) {
  struct CCase {
    const char* pszBefore;
    CLspDocument::CPosition start, end;
    const char* pszText;
    const char* pszAfter;
  };
  const CCase cases[] = {
      {"abc\ndef", At(0, 1), At(0, 2), "XY", "aXYc\ndef"},
      {"abc\ndef", At(0, 2), At(1, 1), "", "abef"},
      {"abc\ndef", At(1, 3), At(1, 3), "\r\ng\rh", "abc\ndef\ng\nh"},
      {"abc\ndef", At(5, 0), At(9, 9), "!", "abc\ndef!"},          // past the end: appended
      {"abc\ndef", At(0, 2), At(0, 1), "-", "ab-c\ndef"},          // an end before the start
      {"a\xF0\x9F\x98\x80" "b", At(0, 1), At(0, 3), "", "ab"},     // a surrogate pair is two units
      {"\xE9t\xE9", At(0, 1), At(0, 2), "", "\xE9\xE9"},           // Latin-1 bytes count one unit each
  };
  for (const CCase& c : cases) {
    CLspDocument document(c.pszBefore);
    document.ReplaceRange(c.start, c.end, c.pszText, nimbo::lsp::encodingUtf16);
    EXPECT_EQ(document.Text(), c.pszAfter) << c.pszBefore << " / " << c.pszText;
  }
}

// One random edit made of what moves the scan's state: quotes, escapes,
// comment marks, every bracket, commas, statement ends, header keywords
// (whole or cut by the edit), line breaks and blank lines; without header
// keywords and blank lines when bParagraphs is false. Texts past nLong bytes get
// cuts of a few lines too, so that they keep about that length.
void EditAtRandom(CLspDocument& document, std::mt19937& random, bool bParagraphs = true, size_t nLong = 400) {
  const char* const apszPieces[] = {"a", "b", " ", "(", ")", ",", ",", "\"", "'", "\\", "/", "*", "\n",
                                    "[", "]", "{", "}", ";", "function ", "declare", "func", "\n\n"};
  const size_t nPieces = bParagraphs ? std::size(apszPieces) : std::size(apszPieces) - 4;
  const long long nLines = static_cast<long long>(document.Lines().size());
  const CLspDocument::CPosition start = At(random() % nLines, random() % 12);
  // Mostly small edits within a line; larger cuts keep the text short.
  const bool bCut = document.Text().size() > nLong;
  const CLspDocument::CPosition end = bCut ? At(start.nLine + random() % 3, random() % 12)
                                           : At(start.nLine, start.nCharacter + random() % 3);
  std::string strText;
  for (unsigned n = 1 + random() % 3; n > 0; --n) strText += apszPieces[random() % nPieces];
  document.ReplaceRange(start, end, strText, nimbo::lsp::encodingUtf8);
}

const char kEdited[] = "Foo(a, \"x\nBar(1, /* c\n, d */ 2, 'q', e)\nfunction F(x) {\n  G([1, 2], {;}\n}\n";

TEST(CLspDocument, CachedSearchAgreesWithAFreshScanAfterEveryEdit) {
  std::mt19937 random(13);
  CLspDocument document(kEdited);
  for (int nEdit = 0; nEdit < 1000; ++nEdit) {
    // Ask first, so the cache is filled before the edit invalidates part of it.
    AllAnswers(document);
    EditAtRandom(document, random);
    CLspDocument fresh(document.Text());
    ASSERT_EQ(AllAnswers(document), AllAnswers(fresh)) << "after edit " << nEdit << ":\n" << document.Text();
    for (size_t nLine = 0; nLine < document.Lines().size(); ++nLine)
      ASSERT_EQ(document.IsCodeAt(nLine, 3), fresh.IsCodeAt(nLine, 3)) << "after edit " << nEdit;
  }
}

// Every field of the headers and calls, one per line (a header without a
// name has no name's place).
std::string Described(const std::vector<CLspHeaderFact>& headers, const std::vector<CLspCallFact>& calls) {
  std::ostringstream out;
  for (const CLspHeaderFact& h : headers) {
    out << (h.bDeclare ? "declare " : "function ") << h.strType << "|" << h.strName;
    if (!h.strName.empty()) out << " @" << h.nLine << ":" << h.nFirst << "-" << h.nEnd;
    out << " kw " << h.nKeywordLine << ":" << h.nKeyword << " (";
    for (const std::string& strParameter : h.parameters) out << strParameter << ",";
    out << ") " << (h.bBody ? "body" : "no body") << " to " << h.nEndLine << ":" << h.nEndOffset << "\n";
  }
  for (const CLspCallFact& c : calls)
    out << c.strName << " @" << c.nLine << ":" << c.nFirst << "-" << c.nEnd << " ( " << c.nParenLine << ":" << c.nParen
        << " /" << c.nArguments << (c.bClosed ? "" : " open") << (c.bAfterDot ? " member" : "") << "\n";
  return out.str();
}

TEST(CLspDocument, PiecesGiveTheHeadersAndCallsOfAWholeReading) {
  std::mt19937 random(29);
  CLspDocument document(kEdited);
  for (int nEdit = 0; nEdit < 3000; ++nEdit) {
    // A revision is never given twice, not even to another document: the
    // catalogue's reading of a closed document must not pass for a fresh one's.
    const unsigned long long nBefore = document.Revision();
    EditAtRandom(document, random);
    ASSERT_GT(document.Revision(), nBefore);
    CLspDocumentFacts& facts = document.Facts(nimbo::lsp::encodingUtf8);
    CLspScriptFacts whole;
    whole.Scan(document.Lines());
    ASSERT_GT(CLspDocument(document.Text()).Revision(), document.Revision());
    ASSERT_EQ(Described(facts.Headers(), facts.Calls()), Described(whole.Headers(), whole.Calls()))
        << "after edit " << nEdit << ":\n" << document.Text();
  }
}

std::string Described(const std::vector<CLspDefinition>& definitions) {
  std::ostringstream out;
  for (const CLspDefinition& d : definitions)
    out << std::string(d.strPrototype) << " @" << d.nLine << ":" << d.nColumn << "-" << d.nEndColumn << "\n";
  return out.str();
}

// Long runs of statements without blank lines or headers: pieces end at
// other lines in code too, and still put together the whole reading.
std::string LongRun(std::mt19937& random) {
  const char* const apszLines[] = {"a(b, c);", "x = [1, 2];", "if (a) {", "}", "F(1,", "  2);", "s = \"q;",
                                   "/* c", "*/", "{", "G(x) {", "declare D(y);", "function H() {",
                                   // calls left open over many lines:
                                   "Foo(a,", "  b,", "  (c)", "  y + z", "  [1]", "  'q'"};
  std::string strText;
  for (int i = 0; i < 400; ++i) strText += std::string(apszLines[random() % std::size(apszLines)]) + "\n";
  return strText;
}

TEST(CLspDocument, PiecesOfLongRunsGiveTheWholeReading) {
  std::mt19937 random(41);
  const std::string strText = LongRun(random);
  CLspDocument document(strText);
  size_t nOtherBreaks = 0;  // pieces seen beginning at neither a header's line nor a paragraph
  for (int nEdit = 0; nEdit < 1500; ++nEdit) {
    EditAtRandom(document, random, false, strText.size());
    // Now and then the line states alone are brought up to date, then the
    // text changes again before the pieces are read.
    if (nEdit % 3 != 2) document.IsCodeAt(0, 0);
    if (nEdit % 3 == 1) EditAtRandom(document, random, false, strText.size());
    CLspDocumentFacts& facts = document.Facts(nimbo::lsp::encodingUtf8);
    CLspScriptFacts whole;
    whole.Scan(document.Lines());
    ASSERT_EQ(Described(facts.Headers(), facts.Calls()), Described(whole.Headers(), whole.Calls()))
        << "after edit " << nEdit << ":\n" << document.Text();
    ASSERT_EQ(Described(facts.Definitions()),
              Described(nimbo::lsp::ScanDefinitions(document.Text(), nimbo::lsp::encodingUtf8)))
        << "after edit " << nEdit << ":\n" << document.Text();
    for (const nimbo::lsp::CLspFactsPiece& piece : facts.Pieces()) {
      const std::vector<std::string>& lines = document.Lines();
      const size_t nFirst = piece.nFirstLine;
      if (nFirst > 0 && !lines[nFirst - 1].empty() && lines[nFirst].find("function") == std::string::npos)
        ++nOtherBreaks;
    }
  }
  EXPECT_GT(nOtherBreaks, 1500u) << nOtherBreaks;
}

TEST(CLspDocument, ArgumentsCountAcrossLinesAtTheCallsOwnLevel) {
  CLspDocument document("Foo(a, Bar(\n  1, 2), b,\n  c");
  CLspCallScanner::COpenCall call;
  ASSERT_TRUE(document.FindOpenCall(2, 3, call));
  EXPECT_EQ(call.nLine, 0u);
  EXPECT_EQ(call.nParen, 3u);
  EXPECT_EQ(call.nArgument, 3);
  ASSERT_TRUE(document.FindOpenCall(1, 4, call));  // inside Bar
  EXPECT_EQ(call.nParen, 10u);
  EXPECT_EQ(call.nArgument, 1);
  // A "}" closes a block around what follows it, though its "{" came after the "(".
  EXPECT_FALSE(CLspDocument("Foo(1,\n{\n}\n").FindOpenCall(3, 0, call));
}

// Each "st" of the text, in order, and whether it is code.
TEST(CLspDocument, CodeIsToldFromStringsAndComments) {
  CLspDocument document(
      "s = \"st\"\n// st\n/* st */ st\nx = 'c' + st\n/*\nst\n*/ st\na = \"q\\\"st\"\nb = \"\" + st //st");
  const bool abCode[] = {false, false, false, true, true, false, true, false, true, false};
  size_t nFound = 0;
  for (size_t nLine = 0; nLine < document.Lines().size(); ++nLine) {
    const std::string& strLine = document.Lines()[nLine];
    for (size_t nOffset = strLine.find("st"); nOffset != std::string::npos; nOffset = strLine.find("st", nOffset + 1)) {
      ASSERT_LT(nFound, std::size(abCode));
      EXPECT_EQ(document.IsCodeAt(nLine, nOffset), abCode[nFound]) << nLine << ":" << nOffset;
      ++nFound;
    }
  }
  EXPECT_EQ(nFound, std::size(abCode));
}

}  // namespace
