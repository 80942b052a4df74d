// CLspServer: the diagnostics of the scripts no editor has open, read from
// their files with the same findings as an open document's, as idle work.
#include "tools/lsp/CLspServer.h"

#include "tools/lsp/LspProjectFiles.h"
#include "tools/lsp/LspUri.h"

namespace nimbo {
namespace lsp {

void CLspServer::UseWorkspaceDiagnostics(bool bOn) {
  if (bOn == m_bWorkspaceDiagnostics) return;
  m_bWorkspaceDiagnostics = bOn;
  m_closedToCheck.clear();
  m_bClosedPassPending = false;
  m_nClosedGeneration = 0;  // on: the next idle step begins a pass
  if (bOn) return;
  std::vector<std::string> closed;
  for (const auto& entry : m_published)
    if (m_documents.count(entry.first) == 0) closed.push_back(entry.first);
  for (const std::string& strUri : closed) ClearDiagnostics(strUri);
}

void CLspServer::RecheckClosedScripts() {
  if (!m_bWorkspaceDiagnostics) return;
  m_bClosedPassPending = true;
  m_strClosedNext = CString();
}

void CLspServer::RecheckClosedScript(const std::string& strPath) {
  if (!m_bWorkspaceDiagnostics) return;
  // A folder that changed may have lost scripts with lists out: a pass
  // takes back the lists of scripts that are gone.
  if (!IsScriptPath(strPath)) RecheckClosedScripts();
  else m_closedToCheck.insert(strPath);
}

bool CLspServer::CheckClosedScripts(size_t nMax) {
  // The open documents' lists go first: while one waits (the user is
  // typing), the closed scripts wait too.
  if (!m_bWorkspaceDiagnostics || !CanPublish() || !m_unpublished.empty() || m_bFullIndexPending ||
      !m_changedPaths.empty())
    return true;
  if (m_pCatalog->Generation() != m_nClosedGeneration) {
    // Any script's findings may name what came, went or moved.
    m_nClosedGeneration = m_pCatalog->Generation();
    RecheckClosedScripts();
  }
  const std::map<CString, CLspScript>& scripts = m_pCatalog->Scripts();
  size_t nChecked = 0;
  if (m_bClosedPassPending) {
    for (auto it = scripts.lower_bound(m_strClosedNext); it != scripts.end(); ++it) {
      // A message that arrives meanwhile waits for one script at most.
      if (nChecked == nMax || (nChecked != 0 && m_pInbox->HasItems())) {
        m_strClosedNext = it->first;
        return false;
      }
      m_closedToCheck.erase(it->second.strPath);
      CheckClosedScript(it->second);
      ++nChecked;
    }
    m_bClosedPassPending = false;
    // Lists of scripts the catalogue no longer holds (deleted, excluded) go.
    std::vector<std::string> gone;
    for (const auto& entry : m_published) {
      std::string strPath;
      if (m_documents.count(entry.first) == 0 &&
          (!ScriptPathOfUri(entry.first, strPath) || scripts.count(m_pCatalog->KeyOf(strPath)) == 0))
        gone.push_back(entry.first);
    }
    for (const std::string& strUri : gone) ClearDiagnostics(strUri);
  }
  while (!m_closedToCheck.empty()) {
    if (nChecked == nMax || (nChecked != 0 && m_pInbox->HasItems())) return false;
    const std::string strPath = *m_closedToCheck.begin();
    m_closedToCheck.erase(m_closedToCheck.begin());
    auto it = scripts.find(m_pCatalog->KeyOf(strPath));
    if (it != scripts.end()) CheckClosedScript(it->second);
    else if (m_documentUris.count(strPath) == 0) ClearDiagnostics(UriFromPath(strPath));
    ++nChecked;
  }
  return true;
}

void CLspServer::CheckClosedScript(const CLspScript& script) {
  // An open document's list is its own (PublishDiagnostics).
  if (m_documentUris.count(script.strPath) != 0) return;
  const std::string strUri = UriFromPath(script.strPath);
  std::string strText;
  if (!ReadWholeFile(script.strPath, strText)) {
    ClearDiagnostics(strUri);
    return;
  }
  CLspDocument document(strText);
  SendDiagnostics(strUri, nullptr, m_diagnostics.Compute(document, script.strPath, *m_pCatalog, m_eEncoding));
}

}  // namespace lsp
}  // namespace nimbo
