// CZoPromptorCtrl: attaching, message relay, the name lookup before the caret
// and the function tip's life: creation, following the caret and closing.
#include "assist/CZoPromptorCtrl.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "CDC.h"
#include "assist/CFuncTipScanner.h"
#include "assist/EditorLine.h"
#include "assist/NameBeforeCaret.h"
#include "codemax/CodeMaxMessages.h"
#include "module/SharedCatalogs.h"

namespace {

const int kTipOffset = 17;      // pixels below the caret's top when the tip opens
const char kOpenParen = '(';    // the character whose WM_CHAR opens a tip
const LRESULT kKindCode = 1;    // editor answers to "text kind at the caret" that allow a tip
const LRESULT kKindNoText = 255;

// Clears a flag when the scope ends, also when an exception passes.
class CFlagReset {
 public:
  explicit CFlagReset(bool& bFlag) : m_bFlag(bFlag) { m_bFlag = true; }
  ~CFlagReset() { m_bFlag = false; }
  CFlagReset(const CFlagReset&) = delete;
  CFlagReset& operator=(const CFlagReset&) = delete;

 private:
  bool& m_bFlag;
};

}  // namespace

CZoPromptorCtrl::CZoPromptorCtrl()
    : m_pEditor(nullptr),
      m_pCurrentMsg(nullptr),
      m_pProjectManager(nullptr),
      m_funcList(&g_FuncInfoStd, &g_FuncInfoUser, nullptr),
      m_nTipLine(0),
      m_nTipColumn(0),
      m_bCreatingTip(false) {}

CZoPromptorCtrl::~CZoPromptorCtrl() {
  // The wrapper must not hold the editor's handle when it is destroyed.
  CZoPromptorCtrl::Detach();
}

void CZoPromptorCtrl::Init(CWnd* pEditor, CProjectManagerObject* pProjectManager, CImageListCommon* pImages) {
  m_pEditor = pEditor;
  m_pProjectManager = pProjectManager;
  m_funcList.m_pImages = pImages;
  // Borrowed: written straight into the handle field, never attached.
  m_codeMax.m_hWnd = pEditor != nullptr ? pEditor->GetSafeHwnd() : nullptr;
  g_FuncInfoStd.Init(pProjectManager);
  g_FuncInfoUser.Init(pProjectManager);
}

void CZoPromptorCtrl::RelayEvent(MSG* pMsg) {
  m_pCurrentMsg = pMsg;
  if (pMsg == nullptr) return;  // hosts never pass one; nothing to relay
  m_funcTip.RelayEvent(pMsg);
  if (pMsg->message == WM_KEYUP) {
    UpdateFuncTip();
  } else if (pMsg->message == WM_CHAR && pMsg->wParam == static_cast<WPARAM>(kOpenParen)) {
    CreateFuncTip();
  }
}

void CZoPromptorCtrl::InitFunctionList(HWND hWndList) {
  // A list view that another object already holds is filled through its
  // handle all the same, and that object keeps it.
  const bool bAttached = m_funcList.Attach(hWndList) != FALSE;
  if (!bAttached) m_funcList.m_hWnd = ::IsWindow(hWndList) ? hWndList : nullptr;
  m_funcList.InsertListData();
  if (bAttached) {
    m_funcList.Detach();
  } else {
    m_funcList.m_hWnd = nullptr;
  }
}

void CZoPromptorCtrl::OnKillFocusParent() {
  if (!m_bCreatingTip) DestroyFuncTip();
}

CString CZoPromptorCtrl::GetCurrentFunctionName(CString* pstrPrototype) {
  int32_t selection[5] = {0, 0, 0, 0, 0};
  m_codeMax.SendMessage(CMM_GETSEL, 1, reinterpret_cast<LPARAM>(selection));
  const int nLine = selection[2];
  const int nColumn = selection[3];
  const CString strLine = ReadEditorLine(m_codeMax, nLine);
  m_nTipLine = nLine;
  m_nTipColumn = nColumn < INT_MAX ? nColumn + 1 : INT_MAX;
  const CString strName = NameBeforeCaret(strLine, nColumn);
  if (strName.IsEmpty()) return CString();
  const CString* pPrototype = FindSharedPrototype(strName);
  if (pPrototype == nullptr) return CString();
  if (pstrPrototype != nullptr) *pstrPrototype = *pPrototype;
  return strName;
}

void CZoPromptorCtrl::Detach() {
  m_pEditor = nullptr;
  m_pProjectManager = nullptr;
  m_funcList.m_pImages = nullptr;
  m_codeMax.m_hWnd = nullptr;
}

void CZoPromptorCtrl::CreateFuncTip() {
  if (::IsWindow(m_funcTip.m_hWnd)) return;
  // Refused before the lookup, so a "(" in a string or comment leaves the anchor alone.
  const LRESULT nKind = m_codeMax.SendMessage(CMM_GETTEXTKIND, 0, 0);
  if (nKind != kKindNoText && nKind != kKindCode) return;
  CString strPrototype;
  const CString strName = GetCurrentFunctionName(&strPrototype);
  if (strName.IsEmpty()) return;

  POINT pt = {0, 0};
  ::GetCaretPos(&pt);
  pt.y += kTipOffset;
  if (m_pEditor != nullptr) m_pEditor->ClientToScreen(&pt);

  // Opening the tip and handing the focus back send focus notifications; the
  // host's OnKillFocusParent must leave the new tip alone meanwhile.
  CFlagReset creating(m_bCreatingTip);
  m_funcTip.CreateTip(" " + strPrototype, pt, m_pEditor, 0);
  if (m_pEditor != nullptr) m_pEditor->SetFocus();
}

void CZoPromptorCtrl::UpdateFuncTip() {
  if (!::IsWindow(m_funcTip.m_hWnd)) return;

  POINT ptCaret = {0, 0};
  ::GetCaretPos(&ptCaret);
  int32_t position[2] = {0, 0};  // line, column
  m_codeMax.SendMessage(CMM_POSFROMPOINT, MAKEWPARAM(ptCaret.x, ptCaret.y), reinterpret_cast<LPARAM>(position));
  const int nLine = position[0];
  const int nColumn = position[1];
  if (nLine < m_nTipLine || (nLine == m_nTipLine && nColumn < m_nTipColumn)) {
    DestroyFuncTip();
    return;
  }

  // Lines before line 0 are empty and add nothing to the scan, so an anchor
  // an editor put there costs no iterations.
  CFuncTipScanner scanner;
  for (int n = std::max(m_nTipLine, 0); n <= nLine; ++n) {
    CString strText = ReadEditorLine(m_codeMax, n);
    if (n == nLine) strText = strText.Left(nColumn);
    if (n == m_nTipLine) {
      // The first "(" of the anchor line, wherever the anchor column lies.
      const int nParen = strText.Find(kOpenParen);
      if (nParen >= 0) strText = strText.Mid(nParen + 1);
    }
    if (!scanner.ScanLine(strText)) {
      DestroyFuncTip();
      return;
    }
    if (n == INT_MAX) break;
  }

  // One line of the editor's font below the caret: its height in points
  // converted to pixels. A font without a usable height keeps the opening
  // offset.
  int nOffset = kTipOffset;
  HFONT hFont = reinterpret_cast<HFONT>(m_codeMax.SendMessage(WM_GETFONT, 0, 0));
  if (hFont != nullptr) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    ::GetObject(hFont, sizeof(lf), &lf);
    CClientDC dc(&m_codeMax);
    const int nHeight = lf.lfHeight < 0 ? lf.lfHeight : -lf.lfHeight;  // a cell height counts like a character height
    if (nHeight != 0) nOffset = -::MulDiv(nHeight, dc.GetDeviceCaps(LOGPIXELSY), 72);
  }

  ::ClientToScreen(m_codeMax.m_hWnd, &ptCaret);
  RECT rcTip = {0, 0, 0, 0};
  m_funcTip.GetWindowRect(&rcTip);
  const int nTipHeight = rcTip.bottom - rcTip.top;
  int nTop = ptCaret.y + nOffset;
  const int nBottom = nTop + nTipHeight;
  RECT rcWork = {0, 0, 0, 0};
  if (::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0) && nBottom > rcWork.bottom) {
    nTop = ptCaret.y - nTipHeight;  // above the caret, its bottom at the caret's top
  }
  m_funcTip.SetCurrentParam(scanner.GetArgumentIndex());
  m_funcTip.MoveWindow(rcTip.left, nTop, rcTip.right - rcTip.left, nTipHeight, TRUE);
}

void CZoPromptorCtrl::DestroyFuncTip() { m_funcTip.DestroyWindow(); }
