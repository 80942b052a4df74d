// Module state, application object and wait cursor.
#include "CWinApp.h"

#include "AfxModuleState.h"

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
  static AFX_MODULE_STATE state;
  return &state;
}

CWinApp* AFXAPI AfxGetApp() {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (state->m_pCurrentWinApp == nullptr) {
    // Never destroyed: it must outlive every static object that may use it.
    static CWinApp* defaultApp = new CWinApp("default");
    state->m_pCurrentWinApp = defaultApp;
  }
  return state->m_pCurrentWinApp;
}

void CCmdTarget::BeginWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { AfxGetApp()->DoWaitCursor(0); }

CWinApp::CWinApp(LPCTSTR pszAppName) : m_pszAppName(pszAppName) {
  AfxGetModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp() {
  AFX_MODULE_STATE* state = AfxGetModuleState();
  if (state->m_pCurrentWinApp == this) state->m_pCurrentWinApp = nullptr;
}

void CWinApp::DoWaitCursor(int nCode) {
  if (nCode > 0) {
    ++m_nWaitCursorCount;
    ++m_nWaitCursorBegins;
  } else if (nCode < 0) {
    if (m_nWaitCursorCount > 0) --m_nWaitCursorCount;
    ++m_nWaitCursorEnds;
  }
}
