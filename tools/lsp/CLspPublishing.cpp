// CLspServer: publishing the diagnostics of the open scripts, and the
// settings that choose their severities and whether closed scripts have theirs.
#include "tools/lsp/CLspServer.h"

namespace nimbo {
namespace lsp {

void CLspServer::ScheduleDiagnostics(const std::string& strUri, bool bNow) {
  std::string strPath;
  if (!ScriptPathOfUri(strUri, strPath)) return;
  m_unpublished.insert(strUri);
  // Every change puts the publication off: it waits for a pause in the typing.
  m_publishAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(bNow ? 0 : m_nDiagnosticsDelayMs);
}

bool CLspServer::CanPublish() const {
  // Not under heavy work, and not while a full index may leave names out.
  return m_pCatalog && m_nNesting == 0 && !m_bFullIndexRunning && !m_bShutdown;
}

void CLspServer::PublishDiagnostics() {
  if (!CanPublish()) return;
  auto ScheduleAll = [this] {
    m_nPublishedGeneration = m_pCatalog->Generation();
    for (const auto& entry : m_documents) ScheduleDiagnostics(entry.first);
  };
  // A definition that came or went elsewhere (a save, a file event, another
  // document's text) may change any open script's findings.
  if (m_pCatalog->Generation() != m_nPublishedGeneration) ScheduleAll();
  if (m_unpublished.empty() || std::chrono::steady_clock::now() < m_publishAt) return;
  RefreshDocuments();
  if (m_pCatalog->Generation() != m_nPublishedGeneration) ScheduleAll();
  std::set<std::string> uris;
  uris.swap(m_unpublished);
  for (const std::string& strUri : uris) {
    auto it = m_documents.find(strUri);
    std::string strPath;
    if (it == m_documents.end() || !ScriptPathOfUri(strUri, strPath)) continue;
    if (it->second.IsOutOfStep()) {
      // Its findings would stand in the wrong places: none until the text is whole again.
      ClearDiagnostics(strUri);
      continue;
    }
    SendDiagnostics(strUri, &it->second.m_nVersion, Diagnostics(strUri));
  }
}

void CLspServer::SendDiagnostics(const std::string& strUri, const int* pVersion, json diagnostics) {
  // The text's hash and length stand for the list: a project's worth of
  // lists kept whole would cost megabytes.
  const std::string strText = diagnostics.dump();
  const std::pair<size_t, size_t> sent(std::hash<std::string>()(strText), strText.size());
  const bool bEmpty = diagnostics.empty();
  auto itSent = m_published.find(strUri);
  if (itSent == m_published.end() ? bEmpty : itSent->second == sent) return;
  json params = {{"uri", strUri}, {"diagnostics", std::move(diagnostics)}};
  if (pVersion != nullptr) params["version"] = *pVersion;
  SendNotification("textDocument/publishDiagnostics", std::move(params));
  if (bEmpty) m_published.erase(strUri);
  else m_published[strUri] = sent;
}

void CLspServer::ClearDiagnostics(const std::string& strUri) {
  m_unpublished.erase(strUri);
  if (m_published.erase(strUri) == 0) return;
  SendNotification("textDocument/publishDiagnostics", {{"uri", strUri}, {"diagnostics", json::array()}});
}

void CLspServer::DidChangeConfiguration(const json& params) {
  // The "nimbo" section, as VS Code and most clients send their settings,
  // or the section's content itself.
  const json* pSettings = params.is_object() && params.contains("settings") ? &params["settings"] : nullptr;
  if (pSettings != nullptr && pSettings->is_object() && pSettings->contains("nimbo")) pSettings = &(*pSettings)["nimbo"];
  if (pSettings == nullptr || !pSettings->is_object()) return;
  if (pSettings->contains("workspaceDiagnostics") && (*pSettings)["workspaceDiagnostics"].is_boolean())
    UseWorkspaceDiagnostics((*pSettings)["workspaceDiagnostics"].get<bool>());
  if (!pSettings->contains("diagnostics")) return;
  std::vector<std::string> problems;
  const bool bChanged = m_diagnostics.Configure((*pSettings)["diagnostics"], &problems);
  for (const std::string& strProblem : problems) m_pfnLog(strProblem);
  if (!bChanged) return;
  for (const auto& entry : m_documents) ScheduleDiagnostics(entry.first);
  RecheckClosedScripts();
}

}  // namespace lsp
}  // namespace nimbo
