// CLspServer's rows for the editor features (LspEditorFeatures.h): the
// parameters read from JSON, the answer written back; the work itself is
// done against the typed workspace. What depends on which names are known
// (fixes, tokens, hints) answers null while a first index runs, and so is
// asked again after it (HandleRequest).
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspEditorFeatures.h"

namespace nimbo {
namespace lsp {

CLspResult CLspServer::CodeAction(const json& params) {
  const std::string strUri = UriOf(params);
  if (Document(strUri) == nullptr || IsIndexing()) return nullptr;
  // Only quick fixes are offered: a client that asks for other kinds alone gets none.
  const json& context = params.contains("context") ? params["context"] : json::object();
  if (context.contains("only")) {
    bool bQuickFix = false;
    for (const json& kind : context["only"])
      bQuickFix = bQuickFix || kind == "quickfix" || kind == "";
    if (!bQuickFix) return json::array();
  }
  return QuickFixes(*this, strUri, params.at("range").get<CLspRange>(), m_bDocumentChanges);
}

CLspResult CLspServer::SemanticTokensFull(const json& params) {
  const std::string strUri = UriOf(params);
  if (Document(strUri) == nullptr || IsIndexing()) return nullptr;
  std::string strOut;
  AppendJson(strOut, SemanticTokens(*this, strUri));
  return CLspResult::Text(std::move(strOut));
}

CLspResult CLspServer::InlayHint(const json& params) {
  const std::string strUri = UriOf(params);
  if (Document(strUri) == nullptr || IsIndexing()) return nullptr;
  if (!m_bInlayHints) return json::array();
  const CLspRange range = params.at("range").get<CLspRange>();
  return InlayHints(*this, strUri, range.start.nLine, range.end.nLine);
}

CLspResult CLspServer::FoldingRange(const json& params) {
  const std::string strUri = UriOf(params);
  if (Document(strUri) == nullptr) return nullptr;
  return FoldingRanges(*this, strUri);
}

CLspResult CLspServer::PrepareCallHierarchy(const json& params) {
  CLspCallHierarchyItem item;
  if (!CallHierarchyItemAt(*this, UriOf(params), PositionOf(params), item)) return nullptr;
  return json::array({item});
}

CLspResult CLspServer::IncomingCalls(const json& params) {
  return lsp::IncomingCalls(*this, params.at("item").get<CLspCallHierarchyItem>());
}

CLspResult CLspServer::OutgoingCalls(const json& params) {
  return lsp::OutgoingCalls(*this, params.at("item").get<CLspCallHierarchyItem>());
}

}  // namespace lsp
}  // namespace nimbo
