// CWnd: the handle map, creation, subclassing, destruction and the routing
// of messages to the object.
#include "CWnd.h"

#include <map>

#include "AfxHandleMap.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

const AFX_MSGMAP_ENTRY kCWndMessageEntries[] = {{0, 0, 0, 0, 0, nullptr}};
const AFX_MSGMAP CWnd::messageMap = {nullptr, &kCWndMessageEntries[0]};

namespace {

typedef CHandleMap<CWnd, HWND, &CWnd::m_hWnd> CWndMap;

CWndMap& Map() { return CWndMap::Get(); }

// The procedure each routed window had before AfxWndProc took over. Kept by
// handle, so a window whose object went away still reaches its own procedure.
std::map<HWND, WNDPROC>& SuperProcs() {
  static auto* s_pProcs = new std::map<HWND, WNDPROC>;  // never destroyed, as the handle map
  return *s_pProcs;
}

WNDPROC SuperProc(HWND hWnd) {
  auto it = SuperProcs().find(hWnd);
  return it == SuperProcs().end() ? nullptr : it->second;
}

// Routes the window's messages to AfxWndProc, remembering its procedure.
void RouteToObject(HWND hWnd) {
  LONG_PTR nOld = SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
  WNDPROC pfnOld = reinterpret_cast<WNDPROC>(nOld);
  if (pfnOld != nullptr && pfnOld != &AfxWndProc) SuperProcs()[hWnd] = pfnOld;
}

// The object whose window is being created on this thread, until the
// creation hook attaches it.
thread_local CWnd* t_pWndInit = nullptr;

LPCTSTR DefaultClassName() {
  static const char kName[] = "NimboWnd";
  WNDCLASS wc = {};
  if (!GetClassInfo(nullptr, kName, &wc)) {
    wc.lpfnWndProc = &::DefWindowProc;
    wc.lpszClassName = kName;
    RegisterClass(&wc);
  }
  return kName;
}

}  // namespace

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_CREATEWND && t_pWndInit != nullptr) {
    CWnd* pWnd = t_pWndInit;
    t_pWndInit = nullptr;
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (pWnd->Attach(hWnd)) RouteToObject(hWnd);
  }
  return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr) {
    // The object went away without giving the window back.
    LRESULT lResult = 0;
    if (WNDPROC pfnSuper = SuperProc(hWnd))
      lResult = CallWindowProc(pfnSuper, hWnd, nMsg, wParam, lParam);
    else
      lResult = ::DefWindowProc(hWnd, nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) SuperProcs().erase(hWnd);
    return lResult;
  }
  LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
  if (nMsg == WM_NCDESTROY) {
    // The object may have been deleted by its handler; it is only touched
    // when it is still the window's object.
    if (CWnd::FromHandlePermanent(hWnd) == pWnd) pWnd->OnNcDestroy();
    SuperProcs().erase(hWnd);
  }
  return lResult;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd != nullptr) CWnd::DestroyWindow();
  if (m_hWnd != nullptr) Detach();
}

BOOL CWnd::Attach(HWND hWndNew) { return Map().Attach(this, hWndNew); }

HWND CWnd::Detach() { return Map().Detach(this); }

CWnd* CWnd::FromHandle(HWND hWnd) { return Map().FromHandle(hWnd); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return Map().LookupPermanent(hWnd); }

void CWnd::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  RouteToObject(hWnd);
  return TRUE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd == nullptr) return nullptr;
  WNDPROC pfnSuper = SuperProc(m_hWnd);
  if (pfnSuper != nullptr) {
    SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSuper));
    SuperProcs().erase(m_hWnd);
  }
  return Detach();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
  (void)pContext;
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, nullptr);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  HWND hWndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
  // A child's identifier travels in the menu argument.
  HMENU hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID));
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, hWndParent, hMenu, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd != nullptr) return FALSE;
  CREATESTRUCT cs = {lpParam,    nullptr, nIDorHMenu, hWndParent, nHeight, nWidth, y, x, static_cast<LONG>(dwStyle),
                     lpszWindowName, lpszClassName != nullptr ? lpszClassName : DefaultClassName(), dwExStyle};
  if (!PreCreateWindow(cs)) return FALSE;

  HHOOK hHook = SetWindowsHookEx(WH_CBT, &AfxCbtFilterHook, nullptr, GetCurrentThreadId());
  CWnd* pSavedInit = t_pWndInit;
  t_pWndInit = this;
  HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                               cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  t_pWndInit = pSavedInit == this ? nullptr : pSavedInit;
  UnhookWindowsHookEx(hHook);
  // On failure the object was detached by the window's WM_NCDESTROY (or
  // never attached) and is not touched again: PostNcDestroy may have deleted it.
  return hWnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  (void)cs;
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  HWND hWnd = m_hWnd;
  bool bPermanent = Map().LookupPermanent(hWnd) == this;
  BOOL bResult = ::DestroyWindow(hWnd);
  if (!bPermanent) {
    m_hWnd = nullptr;
  } else if (Map().LookupPermanent(hWnd) == this) {
    // Attached without routing: the object never saw WM_NCDESTROY.
    Detach();
  }
  return bResult;
}

void CWnd::PostNcDestroy() {}

void CWnd::PreSubclassWindow() {}

void CWnd::OnNcDestroy() {
  Detach();
  PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (WNDPROC pfnSuper = SuperProc(m_hWnd)) return CallWindowProc(pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  (void)pMsg;
  return FALSE;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return &CWnd::messageMap; }
