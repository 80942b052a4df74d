// CProject: one open project of the host: its directory and the browser of
// its scripts.
#pragma once

#include <memory>

#include "CString.h"
#include "darnel2/CScriptBrowser.h"

class CProject {
 public:
  explicit CProject(const CString& strDirectory);
  CProject(const CProject&) = delete;  // owns its browser
  CProject& operator=(const CProject&) = delete;

  // Lists the project directory's scripts anew into the browser; false when
  // the directory cannot be read (the browser is then empty).
  bool Refresh();

  const CString& GetDirectory() const { return m_strDirectory; }

  CString m_strDirectory;
  std::unique_ptr<CScriptBrowser> m_pScriptBrowser;  // never null
};
