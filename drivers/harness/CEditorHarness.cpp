// CEditorHarness: window set-up, the message loop with its relay to the
// controller, synthetic input, focus handling and the event record.
#include "harness/CEditorHarness.h"

#include <cstring>

#include "SimDesktop.h"
#include "Win32Gdi.h"
#include "codemax/CodeMaxMessages.h"

namespace {

const UINT kVkProcessKey = 0xE5;  // the key an input method reports for characters it types
const UINT kEditorId = 1;

// The key that types ch, or -1; the control characters typed by named keys first.
short KeyForChar(char ch) {
  switch (ch) {
    case '\r': return VK_RETURN;
    case '\b': return VK_BACK;
    case '\t': return VK_TAB;
    case 27: return VK_ESCAPE;
    default: return VkKeyScan(ch);
  }
}

}  // namespace

CEditorHarness::CEditorHarness(const CHarnessOptions& options) {
  RegisterCodeMaxClass();
  if (!options.strProgramsDir.IsEmpty()) {
    m_projectManager.GetGlobalData()->pDirLoc->SetLocation("Programs", options.strProgramsDir);
  }
  if (!options.strProjectDir.IsEmpty()) m_projectManager.OpenProject(options.strProjectDir);
  m_images.CreateEx();

  auto onFocusLeaving = [this](HWND hWndNewFocus) { OnFocusLeaving(hWndNewFocus); };
  // Another application's window, created first so that the frame ends up active.
  m_other.CreateEx(0, nullptr, "Other application", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr);
  m_pFrame = std::make_unique<CHarnessFrame>(onFocusLeaving);
  const RECT& rc = options.rcFrame;
  m_pFrame->CreateEx(0, nullptr, "Nimbo editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc.left, rc.top,
                     rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr);
  m_pEditor = std::make_unique<CHarnessEditor>(onFocusLeaving);
  RECT rcClient = {0, 0, 0, 0};
  if (m_pFrame->GetSafeHwnd() != nullptr) {
    m_pFrame->GetClientRect(&rcClient);
    m_pEditor->Create(WS_CHILD | WS_VISIBLE, rcClient, m_pFrame.get(), kEditorId);
  }
  SetFontHeight(options.nFontHeight);

  m_pController = std::make_unique<CHarnessPromptor>([this](const CHarnessEvent& event) { OnEvent(event); });
  m_pController->Init(m_pEditor.get(), &m_projectManager, &m_images);
  FocusEditor();
  Pump();
}

CEditorHarness::~CEditorHarness() {
  DestroyController();
  m_extraEditors.clear();
  m_pEditor.reset();
  m_pFrame.reset();
  m_other.DestroyWindow();
  if (m_hFont != nullptr) DeleteObject(m_hFont);
}

bool CEditorHarness::IsReady() const {
  return m_pFrame && IsWindow(m_pFrame->GetSafeHwnd()) && IsWindow(GetEditorHwnd());
}

// ---- Input ----------------------------------------------------------------------

void CEditorHarness::TypeChar(char ch) {
  if (ch == '\n') ch = '\r';
  const short nScan = KeyForChar(ch);
  if (nScan == -1) {
    KeyDown(kVkProcessKey);
    PostToFocus(WM_CHAR, static_cast<unsigned char>(ch), 1);
    Pump();
    KeyUp(kVkProcessKey);
    return;
  }
  const UINT nVirtKey = static_cast<UINT>(nScan & 0xFF);
  const bool bShift = (nScan & 0x100) != 0;
  const bool bControl = (nScan & 0x200) != 0;
  if (bShift) CSimDesktop::SetKeyDown(VK_SHIFT, true);
  if (bControl) CSimDesktop::SetKeyDown(VK_CONTROL, true);
  KeyDown(nVirtKey);
  KeyUp(nVirtKey);
  if (bControl) CSimDesktop::SetKeyDown(VK_CONTROL, false);
  if (bShift) CSimDesktop::SetKeyDown(VK_SHIFT, false);
}

void CEditorHarness::TypeText(const char* pszText) {
  for (const char* p = pszText; p != nullptr && *p != '\0'; ++p) TypeChar(*p);
}

void CEditorHarness::PressKey(UINT nVirtKey) {
  KeyDown(nVirtKey);
  KeyUp(nVirtKey);
}

void CEditorHarness::KeyDown(UINT nVirtKey) {
  PostToFocus(WM_KEYDOWN, nVirtKey, 1);
  Pump();
}

void CEditorHarness::KeyUp(UINT nVirtKey) {
  PostToFocus(WM_KEYUP, nVirtKey, static_cast<LPARAM>(0xC0000001u));
  Pump();
}

void CEditorHarness::Click(int x, int y) {
  PostMessage(GetEditorHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  Pump();
  PostMessage(GetEditorHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump();
}

void CEditorHarness::ClickAt(int nLine, int nColumn) {
  const POINT pt = PointFromPosition(nLine, nColumn);
  Click(pt.x, pt.y + 1);
}

void CEditorHarness::MouseMove(int x, int y) {
  PostMessage(GetEditorHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  Pump();
}

void CEditorHarness::Paste(const char* pszText) {
  CSimDesktop::SetKeyDown(VK_CONTROL, true);
  KeyDown('V');
  ::SendMessage(GetFocus(), CMM_INSERTTEXT, 0, reinterpret_cast<LPARAM>(pszText));
  KeyUp('V');
  CSimDesktop::SetKeyDown(VK_CONTROL, false);
}

void CEditorHarness::Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // The host's pre-translate step: the controller sees the editor's
    // messages before the editor does.
    if (m_pController && msg.hwnd != nullptr && msg.hwnd == m_pController->GetEditorHandle()) {
      m_pController->RelayEvent(&msg);
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    NoteTipState();
  }
}

void CEditorHarness::PostToFocus(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hWndFocus = GetFocus();
  if (hWndFocus != nullptr) PostMessage(hWndFocus, message, wParam, lParam);
}

// ---- Focus ----------------------------------------------------------------------

void CEditorHarness::FocusOtherWindow() {
  m_other.SetFocus();
  Pump();
}

void CEditorHarness::FocusEditor() {
  if (m_pEditor) m_pEditor->SetFocus();
  Pump();
}

void CEditorHarness::OnFocusLeaving(HWND hWndNewFocus) {
  if (!m_pController || !m_pFrame) return;
  HWND hWndFrame = m_pFrame->GetSafeHwnd();
  if (hWndNewFocus != nullptr && (hWndNewFocus == hWndFrame || IsChild(hWndFrame, hWndNewFocus))) return;
  m_pController->OnKillFocusParent();
  NoteTipState();
}

// ---- Editor state ----------------------------------------------------------------

void CEditorHarness::SetText(const char* pszText) {
  ::SendMessage(GetEditorHwnd(), CMM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
}

CString CEditorHarness::GetText() const {
  const LRESULT nLength = ::SendMessage(GetEditorHwnd(), CMM_GETTEXT, 0, 0);
  std::string text(static_cast<size_t>(nLength) + 1, '\0');
  ::SendMessage(GetEditorHwnd(), CMM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(nLength));
  return CString(text);
}

void CEditorHarness::SetCaret(int nLine, int nColumn) {
  ::SendMessage(GetEditorHwnd(), CMM_SETCARETPOS, static_cast<WPARAM>(nLine), nColumn);
}

const CCodeMaxEditor* CEditorHarness::GetEditorView() const { return CCodeMaxEditor::FromHandle(GetEditorHwnd()); }

int CEditorHarness::GetCaretLine() const {
  const CCodeMaxEditor* pEditor = GetEditorView();
  return pEditor != nullptr ? pEditor->GetDocument().GetCaretLine() : 0;
}

int CEditorHarness::GetCaretColumn() const {
  const CCodeMaxEditor* pEditor = GetEditorView();
  return pEditor != nullptr ? pEditor->GetDocument().GetCaretColumn() : 0;
}

POINT CEditorHarness::PointFromPosition(int nLine, int nColumn) const {
  const CCodeMaxEditor* pEditor = GetEditorView();
  if (pEditor == nullptr) return POINT{0, 0};
  return pEditor->PointFromPosition(nLine, nColumn);
}

void CEditorHarness::SetFontHeight(LONG nHeight) {
  HFONT hOld = m_hFont;
  m_hFont = nullptr;
  if (nHeight != 0) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    std::strcpy(lf.lfFaceName, "Courier New");
    m_hFont = CreateFontIndirect(&lf);
  }
  ::SendMessage(GetEditorHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
  for (auto& pEditor : m_extraEditors) pEditor->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
  if (hOld != nullptr) DeleteObject(hOld);
}

// ---- Controller and tip ----------------------------------------------------------

void CEditorHarness::AttachController(CWnd* pEditor) {
  if (m_pController) m_pController->Init(pEditor, &m_projectManager, &m_images);
}

void CEditorHarness::DestroyController() {
  m_pController.reset();
  NoteTipState();
}

bool CEditorHarness::IsTipOpen() const { return m_pController && m_pController->IsTipOpen(); }

const CZoToolTipStaticFunc* CEditorHarness::GetTip() const {
  return m_pController ? &m_pController->GetTip() : nullptr;
}

RECT CEditorHarness::GetTipRect() const {
  RECT rc = {0, 0, 0, 0};
  if (IsTipOpen()) m_pController->GetTip().GetWindowRect(&rc);
  return rc;
}

CWnd* CEditorHarness::CreateEditor(const RECT& rc) {
  auto pEditor = std::make_unique<CHarnessEditor>([this](HWND hWndNewFocus) { OnFocusLeaving(hWndNewFocus); });
  const UINT nId = kEditorId + 1 + static_cast<UINT>(m_extraEditors.size());
  if (!pEditor->Create(WS_CHILD | WS_VISIBLE, rc, m_pFrame.get(), nId)) return nullptr;
  pEditor->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
  m_extraEditors.push_back(std::move(pEditor));
  return m_extraEditors.back().get();
}

// ---- Events ----------------------------------------------------------------------

void CEditorHarness::OnEvent(const CHarnessEvent& event) {
  if (event.kind == CHarnessEvent::tipCreated) m_bTipWasOpen = true;
  if (event.kind == CHarnessEvent::tipClosed) m_bTipWasOpen = false;
  m_events.push_back(event);
  if (m_pfnHandler) m_pfnHandler(event);
}

void CEditorHarness::NoteTipState() {
  if (!m_bTipWasOpen || IsTipOpen()) return;
  CHarnessEvent event;
  event.kind = CHarnessEvent::tipClosed;
  OnEvent(event);
}
