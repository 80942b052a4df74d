// CHarnessPromptor: event reporting around the controller's tip steps.
#include "harness/CHarnessPromptor.h"

#include <utility>

CHarnessPromptor::CHarnessPromptor(std::function<void(const CHarnessEvent&)> pfnEvent)
    : m_pfnEvent(std::move(pfnEvent)) {}

void CHarnessPromptor::Report(CHarnessEvent::EKind kind) {
  if (!m_pfnEvent) return;
  CHarnessEvent event;
  event.kind = kind;
  if (IsTipOpen()) {
    event.strText = m_funcTip.GetText();
    m_funcTip.GetWindowRect(&event.rcTip);
    event.nParam = m_funcTip.GetCurrentParam();
  }
  event.bDuringCreation = m_bCreatingTip;
  m_pfnEvent(event);
}

void CHarnessPromptor::OnKillFocusParent() {
  Report(CHarnessEvent::killFocusParent);
  CZoPromptorCtrl::OnKillFocusParent();
}

void CHarnessPromptor::CreateFuncTip() {
  const bool bWasOpen = IsTipOpen();
  CZoPromptorCtrl::CreateFuncTip();
  if (!bWasOpen && IsTipOpen()) Report(CHarnessEvent::tipCreated);
}

void CHarnessPromptor::UpdateFuncTip() {
  const bool bWasOpen = IsTipOpen();
  CZoPromptorCtrl::UpdateFuncTip();
  if (bWasOpen && IsTipOpen()) Report(CHarnessEvent::tipMoved);
}

void CHarnessPromptor::DestroyFuncTip() {
  const bool bWasOpen = IsTipOpen();
  CZoPromptorCtrl::DestroyFuncTip();
  if (bWasOpen && !IsTipOpen()) Report(CHarnessEvent::tipClosed);
}
