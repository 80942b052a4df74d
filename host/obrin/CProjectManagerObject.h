// CProjectManagerObject: the host's project manager: its global data, its
// directory locator and the project that is open, if any.
#pragma once

#include <memory>

#include "CString.h"
#include "darnel2/CDirLoc.h"
#include "obrin/CProject.h"
#include "obrin/TAG_GLOBAL_DATA.h"

class CScriptBrowser;

class CProjectManagerObject {
 public:
  // No project is open; the locator knows no location until the host sets
  // one (GetGlobalData()->pDirLoc->SetLocation("Programs", ...)).
  explicit CProjectManagerObject(const CString& strAppName = "Obrin");
  CProjectManagerObject(const CProjectManagerObject&) = delete;  // the global data points into the object
  CProjectManagerObject& operator=(const CProjectManagerObject&) = delete;

  // The global data record; its pDirLoc is this manager's locator.
  TAG_GLOBAL_DATA* GetGlobalData() { return &m_globalData; }
  CDirLoc* GetDirLoc() { return &m_dirLoc; }

  // Opens the project in strDirectory in place of the current one: its
  // browser lists the directory's script files, ordered by name. False when
  // the directory cannot be read; the current project then stays open.
  bool OpenProject(const CString& strDirectory);
  void CloseProject() { m_pProject.reset(); }

  // The open project, or null.
  CProject* GetProject() { return m_pProject.get(); }
  // The open project's script browser, or null when no project is open.
  CScriptBrowser* GetScriptBrowser();

  std::unique_ptr<CProject> m_pProject;

 private:
  CDirLoc m_dirLoc;
  TAG_GLOBAL_DATA m_globalData;
};
