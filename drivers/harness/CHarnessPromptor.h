// CHarnessPromptor: the controller as the harness attaches it, recording what
// each of its tip steps did and exposing its inner state for inspection.
#pragma once

#include <functional>

#include "assist/CZoPromptorCtrl.h"
#include "harness/HarnessEvent.h"

class CHarnessPromptor : public CZoPromptorCtrl {
 public:
  // pfnEvent receives every event as it happens (may be empty).
  explicit CHarnessPromptor(std::function<void(const CHarnessEvent&)> pfnEvent);

  void OnKillFocusParent() override;

  bool IsTipOpen() const { return IsWindow(m_funcTip.GetSafeHwnd()) != FALSE; }
  const CZoToolTipStaticFunc& GetTip() const { return m_funcTip; }
  int GetTipLine() const { return m_nTipLine; }
  int GetTipColumn() const { return m_nTipColumn; }
  bool IsCreatingTip() const { return m_bCreatingTip; }
  HWND GetEditorHandle() const { return m_codeMax.GetSafeHwnd(); }
  CWnd* GetEditor() const { return m_pEditor; }
  CProjectManagerObject* GetProjectManager() const { return m_pProjectManager; }

  // Closes the tip through the controller's own step.
  void CloseTip() { DestroyFuncTip(); }

 protected:
  void CreateFuncTip() override;
  void UpdateFuncTip() override;
  void DestroyFuncTip() override;

 private:
  void Report(CHarnessEvent::EKind kind);

  std::function<void(const CHarnessEvent&)> m_pfnEvent;
};
