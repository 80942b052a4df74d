// LspEditorFeatures: the editor features written against the typed
// workspace: quick fixes, semantic tokens, inlay hints, folding ranges and
// the call hierarchy. Each takes the workspace and typed parameters and
// returns protocol values; none sees JSON.
#pragma once

#include <string>
#include <vector>

#include "tools/lsp/CLspWorkspace.h"
#include "tools/lsp/LspProtocol.h"

namespace nimbo {
namespace lsp {

// The quick fixes for the findings of an open script that touch range:
// an unknown name gets one action per name it may have meant (the nearest
// first, preferred); a "declare" that nothing defines gets an empty
// function of its name and parameters added at the script's end.
std::vector<CLspCodeAction> QuickFixes(CLspWorkspace& workspace, const std::string& strUri, const CLspRange& range,
                                       bool bDocumentChanges);

// The token types and modifiers of SemanticTokens, in the legend's order.
const std::vector<std::string>& SemanticTokenTypes();
const std::vector<std::string>& SemanticTokenModifiers();
// Every token of an open script, in text order: calls (built-in ones with
// "defaultLibrary", unknown ones with "unresolved"), the names of
// definitions and declarations, keywords, numbers, strings and comments.
// A token never spans lines.
CLspSemanticTokens SemanticTokens(CLspWorkspace& workspace, const std::string& strUri);

// The parameter names before the arguments of the calls between two lines
// (inclusive) of an open script: "szText:" before the first argument of
// StrMid(s, 1, 2), and so on; none for the arguments a final "..." takes.
std::vector<CLspInlayHint> InlayHints(CLspWorkspace& workspace, const std::string& strUri, long long nFirstLine,
                                      long long nLastLine);

// The foldable stretches of an open script: function bodies (from the
// header), blocks of more than two lines, and comment blocks (runs of
// comment lines, or a block comment, of two lines or more).
std::vector<CLspFoldingRange> FoldingRanges(CLspWorkspace& workspace, const std::string& strUri);

// The project function named at a position, as a call hierarchy item
// (its first definition); false when there is none.
bool CallHierarchyItemAt(CLspWorkspace& workspace, const std::string& strUri, const CLspPosition& position,
                         CLspCallHierarchyItem& item);
// The functions whose bodies call item's function (and the call sites in each).
std::vector<CLspHierarchyCall> IncomingCalls(CLspWorkspace& workspace, const CLspCallHierarchyItem& item);
// The functions item's body calls (and where), project and built-in.
std::vector<CLspHierarchyCall> OutgoingCalls(CLspWorkspace& workspace, const CLspCallHierarchyItem& item);

}  // namespace lsp
}  // namespace nimbo
