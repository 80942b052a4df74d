// LspQuickFixes: the code actions that mend a finding.
#include "tools/lsp/LspEditorFeatures.h"

namespace nimbo {
namespace lsp {

namespace {

bool Before(const CLspPosition& a, const CLspPosition& b) {
  return a.nLine != b.nLine ? a.nLine < b.nLine : a.nCharacter < b.nCharacter;
}

// Whether two ranges meet (touching counts: a cursor at a name's end asks about it).
bool Meet(const CLspRange& a, const CLspRange& b) { return !Before(a.end, b.start) && !Before(b.end, a.start); }

// The name a prototype is written for: "StrLeft" of "StrLeft(szText, nCount)".
std::string NameOfPrototype(const std::string& strPrototype) {
  const size_t nParen = strPrototype.find('(');
  std::string strName = strPrototype.substr(0, nParen);
  while (!strName.empty() && (strName.back() == ' ' || strName.back() == '\t')) strName.pop_back();
  return strName;
}

CLspCodeAction EditAction(const std::string& strTitle, const CLspDiagnostic& diagnostic, const std::string& strUri,
                          long long nVersion, bool bDocumentChanges, const CLspTextEdit& edit) {
  CLspCodeAction action;
  action.strTitle = strTitle;
  action.strKind = "quickfix";
  action.diagnostics.push_back(diagnostic);
  action.edit.bDocumentChanges = bDocumentChanges;
  action.edit.documents.push_back({strUri, nVersion, {edit}});
  return action;
}

// The header of the "declare" a finding stands on, from the document's facts.
const CLspHeaderFact* DeclareAt(CLspDocument& document, EPositionEncoding eEncoding, const CLspRange& range) {
  for (const CLspFactsPiece& piece : document.Facts(eEncoding).Pieces())
    for (const CLspHeaderFact& header : piece.headers) {
      const size_t nLine = piece.nFirstLine + header.nLine;
      if (!header.bDeclare || static_cast<long long>(nLine) != range.start.nLine) continue;
      if (ColumnOfByteOffset(document.Lines()[nLine], header.nFirst, eEncoding) == range.start.nCharacter) return &header;
    }
  return nullptr;
}

}  // namespace

std::vector<CLspCodeAction> QuickFixes(CLspWorkspace& workspace, const std::string& strUri, const CLspRange& range,
                                       bool bDocumentChanges) {
  std::vector<CLspCodeAction> actions;
  CLspDocument* pDocument = workspace.Document(strUri);
  if (pDocument == nullptr) return actions;
  const long long nVersion = pDocument->m_nVersion;
  for (const CLspDiagnostic& diagnostic : workspace.Diagnostics(strUri)) {
    if (!Meet(diagnostic.range, range)) continue;
    if (diagnostic.strCode == "unknownFunction") {
      // The names it may have meant, nearest first, are the related places.
      for (const CLspRelatedInformation& related : diagnostic.related) {
        const std::string strName = NameOfPrototype(related.strMessage);
        if (strName.empty()) continue;
        actions.push_back(EditAction("Change to " + strName, diagnostic, strUri, nVersion, bDocumentChanges,
                                     {diagnostic.range, strName}));
        actions.back().bPreferred = actions.size() == 1;
      }
    } else if (diagnostic.strCode == "declareWithoutDefinition") {
      const CLspHeaderFact* pHeader = DeclareAt(*pDocument, workspace.Encoding(), diagnostic.range);
      if (pHeader == nullptr) continue;
      std::string strHeader = "function " + (pHeader->strType.empty() ? "" : pHeader->strType + " ") + pHeader->strName + "(";
      for (size_t i = 0; i < pHeader->parameters.size(); ++i) strHeader += (i == 0 ? "" : ", ") + pHeader->parameters[i];
      strHeader += ")";
      // At the end of the script, a blank line before it.
      const std::vector<std::string>& lines = pDocument->Lines();
      const long long nLast = static_cast<long long>(lines.size()) - 1;
      const CLspPosition end{nLast, ColumnOfByteOffset(lines.back(), lines.back().size(), workspace.Encoding())};
      const std::string strText = (lines.back().empty() ? "\n" : "\n\n") + strHeader + " {\n}\n";
      actions.push_back(EditAction("Add an empty " + ToUtf8(strHeader), diagnostic, strUri, nVersion, bDocumentChanges,
                                   {{end, end}, ToUtf8(strText)}));
    }
  }
  return actions;
}

}  // namespace lsp
}  // namespace nimbo
