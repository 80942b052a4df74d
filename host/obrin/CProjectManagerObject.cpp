// CProjectManagerObject: opening and closing projects.
#include "obrin/CProjectManagerObject.h"

CProjectManagerObject::CProjectManagerObject(const CString& strAppName) : m_globalData{strAppName, &m_dirLoc} {}

bool CProjectManagerObject::OpenProject(const CString& strDirectory) {
  std::unique_ptr<CProject> pProject(new CProject(strDirectory));
  if (!pProject->Refresh()) return false;
  m_pProject = std::move(pProject);
  return true;
}

CScriptBrowser* CProjectManagerObject::GetScriptBrowser() {
  return m_pProject ? m_pProject->m_pScriptBrowser.get() : nullptr;
}
