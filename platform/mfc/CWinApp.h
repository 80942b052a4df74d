// CCmdTarget and CWinApp: the parts of MFC's command target and application
// object that the library uses, the wait cursor above all.
#pragma once

#include "CObject.h"

class CCmdTarget : public CObject {
 public:
  // Shows the wait cursor until the matching EndWaitCursor; pairs nest.
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();
};

class CWinApp : public CCmdTarget {
 public:
  // Becomes the module state's application object.
  explicit CWinApp(LPCTSTR pszAppName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;  // one application object per process
  CWinApp& operator=(const CWinApp&) = delete;

  // nCode +1 shows the wait cursor, -1 takes one level away, 0 restores it.
  virtual void DoWaitCursor(int nCode);

  // Observable state of the wait cursor: the nesting depth, and how many
  // times it was shown and taken away in all.
  int m_nWaitCursorCount = 0;
  int m_nWaitCursorBegins = 0;
  int m_nWaitCursorEnds = 0;
  LPCTSTR m_pszAppName;
};
