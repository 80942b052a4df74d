// CLspServer as the typed workspace its features read (CLspWorkspace).
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspProjectFiles.h"
#include "tools/lsp/LspUri.h"

namespace nimbo {
namespace lsp {

CLspDocument* CLspServer::Document(const std::string& strUri) {
  auto it = m_documents.find(strUri);
  return it == m_documents.end() || it->second.IsOutOfStep() ? nullptr : &it->second;
}

CLspDocument* CLspServer::Locate(const std::string& strUri, const CLspPosition& position, size_t& nLine,
                                 size_t& nOffset) {
  CLspDocument* pDocument = Document(strUri);
  CLspDocument::CPosition at;
  at.nLine = position.nLine;
  at.nCharacter = position.nCharacter;
  return pDocument != nullptr && pDocument->Locate(at, m_eEncoding, nLine, nOffset) ? pDocument : nullptr;
}

bool CLspServer::Find(const std::string& strName, CLspFunction& function) const {
  return m_pCatalog->Find(strName, function);
}

std::vector<CLspPlace> CLspServer::DefinitionsOf(const std::string& strName) const {
  return m_pCatalog->DefinitionsOf(CString(strName));
}

bool CLspServer::BuiltInAt(const std::string& strName, CLspLocation& location) const {
  int nLine = 0;
  int nLength = 0;
  if (!m_pCatalog->BuiltInLine(strName, nLine, nLength)) return false;
  location = {UriFromPath(m_pCatalog->FuncWizPath()), CLspRange::OnLine(nLine, 0, nLength)};
  return true;
}

std::vector<CLspUse> CLspServer::UsesOf(const CLspFunction& function, bool bDeclarations, const CLspScript* pOnly) {
  if (pOnly == nullptr) PrepareUses();
  return UsesRead(function, bDeclarations, pOnly);
}

const CLspScript* CLspServer::ScriptOf(const std::string& strUri) const {
  std::string strPath;
  return ScriptPathOfUri(strUri, strPath) ? m_pCatalog->ScriptAt(m_pCatalog->KeyOf(strPath)) : nullptr;
}

std::string CLspServer::UriOf(const CLspScript& script) const {
  auto it = m_documentUris.find(script.strPath);
  return it != m_documentUris.end() ? it->second : UriFromPath(script.strPath);
}

CLspScriptReading CLspServer::ReadingOf(const CLspScript& script) {
  if (CLspDocument* pDocument = Document(UriOf(script))) return CLspScriptReading(*pDocument, m_eEncoding);
  std::string strText;
  return CLspScriptReading(ReadWholeFile(script.strPath, strText) ? SplitLines(strText) : std::vector<std::string>());
}

CLspHeaderNotes CLspServer::NotesOf(const CLspPlace& place) {
  const CLspScriptReading reading = ReadingOf(*place.first);
  const std::vector<std::string>& lines = reading.Lines();
  // A file changed since it was read (its change not yet seen) may have
  // moved the definition: no notes rather than another line's.
  const CLspDefinition& definition = *place.second;
  const size_t nLine = static_cast<size_t>(definition.nLine);
  if (nLine >= lines.size()) return CLspHeaderNotes();
  const std::string& strLine = lines[nLine];
  const size_t nNameAt = ByteOffsetOfColumn(strLine, definition.nColumn, m_eEncoding);
  const std::string strName = definition.strName.Str();
  if (strLine.compare(nNameAt, strName.size(), strName) != 0) return CLspHeaderNotes();
  return ReadHeaderNotes(lines, reading.Headers(), nLine, nNameAt);
}

std::vector<CLspDiagnostic> CLspServer::Diagnostics(const std::string& strUri) {
  std::string strPath;
  CLspDocument* pDocument = Document(strUri);
  if (pDocument == nullptr || !ScriptPathOfUri(strUri, strPath)) return {};
  return m_diagnostics.Compute(*pDocument, strPath, *m_pCatalog, m_eEncoding);
}

}  // namespace lsp
}  // namespace nimbo
