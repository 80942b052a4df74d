// LspSemanticTokens: the colours of a script, as semantic tokens.
#include <algorithm>
#include <unordered_map>

#include "darnel2/CTokenizer.h"
#include "tools/lsp/LspCodeScan.h"
#include "tools/lsp/LspCodeSpans.h"
#include "tools/lsp/LspEditorFeatures.h"

namespace nimbo {
namespace lsp {

namespace {

enum ETokenType { typeFunction, typeKeyword, typeString, typeComment, typeNumber };
enum ETokenModifier { modifierDeclaration = 1, modifierDefinition = 2, modifierDefaultLibrary = 4, modifierUnresolved = 8 };

struct CToken {
  size_t nLine;
  size_t nFirst;  // bytes
  size_t nEnd;
  uint32_t nType;
  uint32_t nModifiers;
  bool operator<(const CToken& other) const {
    return nLine != other.nLine ? nLine < other.nLine : nFirst < other.nFirst;
  }
};

}  // namespace

const std::vector<std::string>& SemanticTokenTypes() {
  static const std::vector<std::string> types = {"function", "keyword", "string", "comment", "number"};
  return types;
}

const std::vector<std::string>& SemanticTokenModifiers() {
  static const std::vector<std::string> modifiers = {"declaration", "definition", "defaultLibrary", "unresolved"};
  return modifiers;
}

CLspSemanticTokens SemanticTokens(CLspWorkspace& workspace, const std::string& strUri) {
  CLspSemanticTokens result;
  CLspDocument* pDocument = workspace.Document(strUri);
  if (pDocument == nullptr) return result;
  const EPositionEncoding eEncoding = workspace.Encoding();
  const std::vector<std::string>& lines = pDocument->Lines();
  std::vector<CToken> tokens;

  // Calls and headers as the document's facts read them; what each call calls.
  std::unordered_map<std::string, uint32_t> verdicts;  // name -> modifiers of its calls
  for (const CLspFactsPiece& piece : pDocument->Facts(eEncoding).Pieces()) {
    for (const CLspCallFact& call : piece.calls) {
      if (call.bAfterDot) continue;
      auto it = verdicts.find(call.strName);
      if (it == verdicts.end()) {
        CLspFunction function;
        const uint32_t nModifiers = !workspace.Find(call.strName, function) ? modifierUnresolved
                                    : function.bBuiltIn                      ? modifierDefaultLibrary
                                                                             : 0;
        it = verdicts.emplace(call.strName, nModifiers).first;
      }
      tokens.push_back({piece.nFirstLine + call.nLine, call.nFirst, call.nEnd, typeFunction, it->second});
    }
    for (const CLspHeaderFact& header : piece.headers)
      if (!header.strName.empty())
        tokens.push_back({piece.nFirstLine + header.nLine, header.nFirst, header.nEnd, typeFunction,
                          static_cast<uint32_t>(header.bDeclare ? modifierDeclaration : modifierDefinition)});
  }
  const size_t nNames = tokens.size();

  // Keywords, numbers, literals and comments, line by line.
  const std::vector<CLspCallScanner::CStart> starts = LineStarts(lines);
  std::vector<CLspTextSpan> spans;
  std::vector<CLspCodeEvent> events;
  for (size_t nLine = 0; nLine < lines.size(); ++nLine) {
    const std::string& strLine = lines[nLine];
    ReadLineSpans(strLine, starts[nLine], spans, &events);
    for (const CLspTextSpan& span : spans)
      if (span.nEnd > span.nFirst)
        tokens.push_back({nLine, span.nFirst, span.nEnd, span.cKind == 'c' ? typeComment : typeString, 0});
    for (const CLspCodeEvent& event : events) {
      if (event.cKind != 'w' && event.cKind != 'k') continue;
      const size_t nEnd = WordEnd(strLine, event.nAt);
      const eToken eKind = CTokenizer::KindOfWord(strLine.data() + event.nAt, nEnd - event.nAt);
      if (eKind == tkKeyword || eKind == tkFunction || eKind == tkDeclare)
        tokens.push_back({nLine, event.nAt, nEnd, typeKeyword, 0});
      else if (eKind == tkNumber)
        tokens.push_back({nLine, event.nAt, nEnd, typeNumber, 0});
    }
  }
  // Each part is nearly in text order already; one merge puts them together.
  std::sort(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(nNames));
  std::sort(tokens.begin() + static_cast<std::ptrdiff_t>(nNames), tokens.end());
  std::inplace_merge(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(nNames), tokens.end());

  // Five numbers a token: line and start relative to the token before, length, type, modifiers.
  result.data.reserve(tokens.size() * 5);
  size_t nPreviousLine = 0;
  long long nPreviousStart = 0;
  size_t nCheckedLine = static_cast<size_t>(-1);
  bool bAscii = false;  // the line is all ASCII: its columns are its bytes in either encoding
  for (const CToken& token : tokens) {
    const std::string& strLine = lines[token.nLine];
    if (token.nLine != nCheckedLine) {
      nCheckedLine = token.nLine;
      bAscii = std::all_of(strLine.begin(), strLine.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    }
    const long long nStart =
        bAscii ? static_cast<long long>(token.nFirst) : ColumnOfByteOffset(strLine, token.nFirst, eEncoding);
    const long long nLength =
        (bAscii ? static_cast<long long>(token.nEnd) : ColumnOfByteOffset(strLine, token.nEnd, eEncoding)) - nStart;
    const bool bSameLine = token.nLine == nPreviousLine;
    result.data.push_back(static_cast<uint32_t>(token.nLine - nPreviousLine));
    result.data.push_back(static_cast<uint32_t>(bSameLine ? nStart - nPreviousStart : nStart));
    result.data.push_back(static_cast<uint32_t>(nLength));
    result.data.push_back(token.nType);
    result.data.push_back(token.nModifiers);
    nPreviousLine = token.nLine;
    nPreviousStart = nStart;
  }
  return result;
}

}  // namespace lsp
}  // namespace nimbo
