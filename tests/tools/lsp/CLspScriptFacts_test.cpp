// The facts of a script: which names are calls, how many arguments each
// has, which calls are left open, and what the headers hold.
#include "tools/lsp/CLspScriptFacts.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {
namespace {

// Calls as "Name@line:column/arguments", "!" when left open, "." before a
// member call; headers as "function type Name(a,b)@line:column-endline:endcolumn"
// with "{" after the list when a body follows.
std::string Describe(const std::string& strText) {
  CLspScriptFacts facts;
  facts.Scan(SplitLines(strText));
  std::string strOut;
  for (const CLspCallFact& call : facts.Calls()) {
    strOut += (call.bAfterDot ? "." : "") + call.strName + "@" + std::to_string(call.nLine) + ":" +
              std::to_string(call.nFirst) + "/" + std::to_string(call.nArguments) + (call.bClosed ? "" : "!") + " ";
  }
  for (const CLspHeaderFact& header : facts.Headers()) {
    strOut += std::string(header.bDeclare ? "declare " : "function ") +
              (header.strType.empty() ? "" : header.strType + " ") + header.strName + "(";
    for (size_t i = 0; i < header.parameters.size(); ++i) strOut += (i ? "," : "") + header.parameters[i];
    strOut += ")" + std::string(header.bBody ? "{" : "") + "@" + std::to_string(header.nLine) + ":" +
              std::to_string(header.nFirst) + "-" + std::to_string(header.nEndLine) + ":" +
              std::to_string(header.nEndOffset) + " ";
  }
  if (!strOut.empty()) strOut.pop_back();
  return strOut;
}

TEST(CLspScriptFacts, FindsCallsAndHeadersAsTheLanguageMeansThem) {
  const struct {
    const char* pszText;
    const char* pszFacts;
  } cases[] = {
      {"x = Foo(a, Bar(b), [1, 2]);", "Foo@0:4/3 Bar@0:11/1"},
      {"Foo(); Foo ( ); Foo(/* none */);", "Foo@0:0/0 Foo@0:7/0 Foo@0:16/0"},
      // Reserved words and numbers call nothing; a name calls across line
      // breaks and comments, not across an operator.
      {"if (a) { while (b) { return (c); } }\nx = 12(3);", ""},
      {"Foo\n(1);\nBar/* c */(2); x = Baz + (3);", "Foo@0:0/1 Bar@2:0/1"},
      // A literal left open ends at its line's end, unless a backslash carries it on.
      {"s = \"Foo(;\nBar(1); c = 'Baz(;\nt = \"Qux(\\\nQuux(2);", "Bar@1:0/1"},
      {"s = \"Foo(\" + 'Bar(' + Baz(\"a,b\", ',');", "Baz@0:22/2"},
      {"// Foo(1)\n/* Bar(\n Baz( */ Qux(1);", "Qux@2:9/1"},
      {"obj.Method(1); obj . Other(); Plain();", ".Method@0:4/1 .Other@0:21/0 Plain@0:30/0"},
      // Left open at the statement's end, the block's end, a header, the text's end.
      {"Foo(a, b;\nif (x) { Bar(1 }\nBaz(\nfunction F() {}\nQux(1, ",
       "Foo@0:0/2! Bar@1:9/1! Baz@2:0/0! Qux@4:0/2! function F(){@3:9-3:15"},
      {"Foo(a,\n  b,\n  c);", "Foo@0:0/3"},
      {"function string Format(nCents) {\n  return Pad(nCents);\n}\ndeclare Later(a, b);\n",
       "Pad@1:9/1 function string Format(nCents){@0:16-2:1 declare Later(a,b)@3:8-3:19"},
      {"function Printf(szFormat, ...) {\n  x = 1;", "function Printf(szFormat,...){@0:9-1:8"},
      // A header's own "(" is no call; the calls inside its body are.
      {"function Outer(a) { Inner(a, Outer(1)); }", "Inner@0:20/2 Outer@0:29/1 function Outer(a){@0:9-0:41"},
      {"function (a) {}", "function (a){@0:0-0:15"},
      {"Stray) ] } Foo(1);", "Foo@0:11/1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(c.pszText), c.pszFacts) << c.pszText;
}

}  // namespace
}  // namespace lsp
}  // namespace nimbo
