// Tests of the stand-in script tokenizer: token kinds, texts, the limit on a
// token's text, Scan, and reading through the code stream's look-ahead.
#include "darnel2/CTokenizer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "darnel2/CCodeStringStream.h"

namespace {

typedef std::vector<std::pair<eToken, std::string>> CTokens;

std::string TextOf(const CTokenizer& tokenizer) {
  char szText[CTokenizer::kMaxTokenText + 1];
  tokenizer.GetTokenText(szText);
  return szText;
}

// Every token of strScript up to the end, with its text.
CTokens Tokenize(CCodeStream& stream, bool bKeepComments = false) {
  CTokenizer tokenizer(&stream, bKeepComments);
  CTokens tokens;
  for (eToken eKind = tokenizer.Fetch(); eKind != tkEnd; eKind = tokenizer.Fetch()) {
    tokens.emplace_back(eKind, TextOf(tokenizer));
  }
  return tokens;
}

CTokens Tokenize(const std::string& strScript, bool bKeepComments = false) {
  CCodeStringStream stream(CString(strScript.data(), static_cast<int>(strScript.size())));
  return Tokenize(stream, bKeepComments);
}

// Hands out its text one byte per read, so every look-ahead crosses a read.
class CTrickleStream : public CCodeStream {
 public:
  explicit CTrickleStream(std::string strText) : m_strText(std::move(strText)) {}

 protected:
  int ReadBlock(char* pBuffer, int nMax) override {
    if (m_nRead >= m_strText.size() || nMax <= 0) return 0;
    *pBuffer = m_strText[m_nRead++];
    return 1;
  }

 private:
  std::string m_strText;
  size_t m_nRead = 0;
};

TEST(Tokenizer, DefinitionAndDeclarationKinds) {
  CTokens expected = {{tkDeclare, "declare"},   {tkIdentifier, "Sum"},   {tkParenOpen, "("},
                      {tkIdentifier, "a"},      {tkParenClose, ")"},     {tkSemicolon, ";"},
                      {tkFunction, "function"}, {tkIdentifier, "number"}, {tkIdentifier, "Sum"},
                      {tkParenOpen, "("},       {tkIdentifier, "a"},     {tkComma, ","},
                      {tkIdentifier, "b"},      {tkParenClose, ")"},     {tkBraceOpen, "{"},
                      {tkKeyword, "return"},    {tkIdentifier, "a"},     {tkOperator, "+"},
                      {tkNumber, "12"},         {tkSemicolon, ";"},      {tkBraceClose, "}"}};
  EXPECT_EQ(Tokenize("declare Sum(a);\nfunction number Sum(a, b) {\n  return a + 12;\n}\n"), expected);
}

TEST(Tokenizer, ReservedWordsAreWholeCaseSensitiveWords) {
  CTokens expected = {{tkIdentifier, "Function"}, {tkIdentifier, "functions"}, {tkIdentifier, "_function"},
                      {tkFunction, "function"},   {tkIdentifier, "declared"},  {tkKeyword, "var"},
                      {tkKeyword, "null"},        {tkIdentifier, "x9"}};
  EXPECT_EQ(Tokenize("Function functions _function function declared var null x9"), expected);
}

TEST(Tokenizer, CommentsArePassedOverOrDeliveredOnRequest) {
  const std::string strScript = "a // line ( function\nb /* block\n function c( */ c /* open to the end";
  CTokens expected = {{tkIdentifier, "a"}, {tkIdentifier, "b"}, {tkIdentifier, "c"}};
  EXPECT_EQ(Tokenize(strScript), expected);

  CTokens kept = {{tkIdentifier, "a"},
                  {tkComment, "// line ( function"},
                  {tkIdentifier, "b"},
                  {tkComment, "/* block\n function c( */"},
                  {tkIdentifier, "c"},
                  {tkComment, "/* open to the end"}};
  EXPECT_EQ(Tokenize(strScript, true), kept);
}

TEST(Tokenizer, StringsKeepQuotesAndEscapes) {
  CTokens expected = {{tkString, R"("say \"function f(\" now")"},
                      {tkString, R"('it\'s')"},
                      {tkString, R"("a\\")"},
                      {tkIdentifier, "b"},
                      {tkString, "\"unclosed ( text"},
                      {tkIdentifier, "next"},
                      {tkString, "\"joined\\\nline\""}};
  EXPECT_EQ(Tokenize(R"("say \"function f(\" now" 'it\'s' "a\\" b)"
                     "\n\"unclosed ( text\nnext \"joined\\\nline\""),
            expected);
}

TEST(Tokenizer, NumbersOperatorsAndPunctuation) {
  CTokens expected = {{tkNumber, "3.25"},     {tkNumber, "0x1F"},    {tkOperator, "-"},       {tkNumber, "7"},
                      {tkIdentifier, "a"},    {tkOperator, "=="},    {tkIdentifier, "b"},     {tkOperator, "&&"},
                      {tkOperator, "!"},      {tkIdentifier, "c"},   {tkOperator, "<="},      {tkIdentifier, "d"},
                      {tkOperator, "."},      {tkIdentifier, "e"},   {tkBracketOpen, "["},    {tkNumber, "0"},
                      {tkBracketClose, "]"},  {tkOperator, "+="},    {tkOperator, "/"},       {tkOperator, "="}};
  EXPECT_EQ(Tokenize("3.25 0x1F -7 a==b&&!c<=d.e[0]+= / ="), expected);
}

TEST(Tokenizer, StrayBytesAreUnknownTokens) {
  CTokens expected = {{tkUnknown, "@"}, {tkIdentifier, "a"}, {tkUnknown, "#"}, {tkUnknown, ""}, {tkIdentifier, "b"},
                      {tkUnknown, "\\"}};
  EXPECT_EQ(Tokenize(std::string("@a#\0b\\", 6)), expected);
}

TEST(Tokenizer, HighBytesBelongToNames) {
  CTokens expected = {{tkIdentifier, "Gr\xC3\xBC\xC3\x9F" "e"}, {tkParenOpen, "("}};
  EXPECT_EQ(Tokenize("Gr\xC3\xBC\xC3\x9F" "e("), expected);
}

TEST(Tokenizer, EndIsRepeatedAndEmpty) {
  CCodeStringStream stream("x");
  CTokenizer tokenizer(&stream, false);
  EXPECT_EQ(tokenizer.GetToken(), tkNone);
  EXPECT_EQ(TextOf(tokenizer), "");
  EXPECT_EQ(tokenizer.Fetch(), tkIdentifier);
  EXPECT_EQ(tokenizer.Fetch(), tkEnd);
  EXPECT_EQ(TextOf(tokenizer), "");
  EXPECT_EQ(tokenizer.Fetch(), tkEnd);
  EXPECT_EQ(tokenizer.Scan(tkFunction, tkDeclare), tkEnd);

  CTokenizer noStream(nullptr, false);
  EXPECT_EQ(noStream.Fetch(), tkEnd);
}

TEST(Tokenizer, ScanStartsAfterTheCurrentTokenAndStopsAtEitherKind) {
  CCodeStringStream stream("{ a ( declare b { function c");
  CTokenizer tokenizer(&stream, false);
  ASSERT_EQ(tokenizer.Fetch(), tkBraceOpen);
  EXPECT_EQ(tokenizer.Scan(tkBraceOpen, tkDeclare), tkDeclare);  // the current "{" does not count
  EXPECT_EQ(tokenizer.Scan(tkBraceOpen, tkFunction), tkBraceOpen);
  EXPECT_EQ(tokenizer.Scan(tkFunction, tkDeclare), tkFunction);
  EXPECT_EQ(tokenizer.Fetch(), tkIdentifier);
  EXPECT_EQ(TextOf(tokenizer), "c");
  EXPECT_EQ(tokenizer.Scan(tkParenOpen, tkParenClose), tkEnd);
}

TEST(Tokenizer, LongTokenTextIsCutTo200Bytes) {
  const std::string strLong(300, 'n');
  const std::string strString = "\"" + std::string(250, 's') + "\"";
  CCodeStringStream stream(CString(("x " + strLong + " " + strString + " (").c_str()));
  CTokenizer tokenizer(&stream, false);
  ASSERT_EQ(tokenizer.Fetch(), tkIdentifier);

  std::vector<char> buffer(CTokenizer::kMaxTokenText + 8, '#');
  ASSERT_EQ(tokenizer.Fetch(), tkIdentifier);
  tokenizer.GetTokenText(buffer.data());
  EXPECT_EQ(std::strlen(buffer.data()), 200u);
  EXPECT_EQ(std::string(buffer.data()), strLong.substr(0, 200));
  EXPECT_EQ(buffer[201], '#');  // nothing written past the zero

  ASSERT_EQ(tokenizer.Fetch(), tkString);  // the rest of the name was part of the cut token
  tokenizer.GetTokenText(buffer.data());
  EXPECT_EQ(std::string(buffer.data()), strString.substr(0, 200));
  EXPECT_EQ(tokenizer.Fetch(), tkParenOpen);
}

TEST(Tokenizer, LongNameWithKeywordPrefixIsAName) {
  CTokens tokens = Tokenize("function" + std::string(300, 'x'));
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].first, tkIdentifier);
}

TEST(Tokenizer, LinesAreCounted) {
  CCodeStringStream stream("a\n/* one\ntwo */ b\n\n\"s\\\nt\" c");
  CTokenizer tokenizer(&stream, false);
  tokenizer.Fetch();
  EXPECT_EQ(tokenizer.GetTokenLine(), 1);
  tokenizer.Fetch();
  EXPECT_EQ(tokenizer.GetTokenLine(), 3);
  tokenizer.Fetch();
  EXPECT_EQ(tokenizer.GetTokenLine(), 5);
  tokenizer.Fetch();
  EXPECT_EQ(tokenizer.GetTokenLine(), 6);
}

TEST(Tokenizer, ReadsTheSameTokensWhateverTheStreamsBlockSize) {
  std::string strScript = "/* c */ function F(a, b) { x += \"s\\\"\"; } // end\ndeclare G(); a<=b";
  // Long enough to cross the buffered stream's 4096-byte block as well.
  for (int i = 0; i < 600; ++i) strScript += " a==b";
  CTrickleStream trickle(strScript);
  CTokens tokens = Tokenize(trickle, true);
  EXPECT_EQ(tokens, Tokenize(strScript, true));
  EXPECT_EQ(tokens.size(), 23u + 1800u);
}

}  // namespace
