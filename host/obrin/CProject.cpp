// CProject: a project directory and its scripts.
#include "obrin/CProject.h"

CProject::CProject(const CString& strDirectory)
    : m_strDirectory(strDirectory), m_pScriptBrowser(new CScriptBrowser) {}

bool CProject::Refresh() { return m_pScriptBrowser->BrowseDirectory(m_strDirectory); }
