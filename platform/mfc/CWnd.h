// CWnd: the framework's window object over a window handle, with the
// permanent handle map, creation and subclassing that route the window's
// messages to the object's virtual WindowProc, and minimal message maps.
#pragma once

#include "CString.h"
#include "CWinApp.h"
#include "Win32Gdi.h"
#include "Win32User.h"

class CDC;
class CFont;
struct CCreateContext;

// ---- Message maps -------------------------------------------------------------
// A message map names its base class's map, so maps chain; entries are kept
// for form only: messages reach objects through WindowProc.
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  UINT_PTR nSig;
  void (*pfn)();
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* pBaseMap;  // null for the root (CWnd's)
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                          \
 private:                                              \
  static const AFX_MSGMAP_ENTRY _messageEntries[];     \
                                                       \
 protected:                                            \
  static const AFX_MSGMAP messageMap;                  \
                                                       \
 public:                                               \
  const AFX_MSGMAP* GetMessageMap() const override;    \
                                                       \
 protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; }    \
  const AFX_MSGMAP theClass::messageMap = {&baseClass::messageMap, &theClass::_messageEntries[0]}; \
  const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {
#define END_MESSAGE_MAP() \
  {0, 0, 0, 0, 0, nullptr}};

// The window procedure of every window whose messages go to a CWnd object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

class CWnd : public CCmdTarget {
  DECLARE_DYNAMIC(CWnd)

 public:
  CWnd();
  // Destroys the window when m_hWnd is not null (attached or not), as the
  // framework does; detaching first keeps the window alive.
  ~CWnd() override;
  CWnd(const CWnd&) = delete;  // one object per window: handle map entries would dangle
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;  // the window, or null

  operator HWND() const { return m_hWnd; }  // NOLINT: as in MFC
  HWND GetSafeHwnd() const { return m_hWnd; }

  // ---- Handle map ----
  // Makes this object the window's permanent object. FALSE when hWndNew is
  // null, this object already has a window, or another object is attached.
  BOOL Attach(HWND hWndNew);
  // Removes this object from the map and returns the handle; m_hWnd = null.
  HWND Detach();
  // The attached object, else a temporary object wrapping the handle (kept
  // until DeleteTempMap; it never destroys the window); null for null.
  static CWnd* FromHandle(HWND hWnd);
  // The attached object, or null.
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();

  // Attaches and routes the window's messages to WindowProc; DefWindowProc
  // then passes them to the window's previous procedure. FALSE when Attach
  // fails or hWnd is not a window.
  BOOL SubclassWindow(HWND hWnd);
  // Restores the previous procedure and detaches; the handle, or null.
  HWND UnsubclassWindow();

  // ---- Creation and destruction ----
  // Creates the window with its messages routed to this object from
  // WM_NCCREATE on (the class's procedure gets them through DefWindowProc).
  // A null class name means a plain class that only does default processing.
  // TRUE on success; FALSE (m_hWnd null) when this object already has a
  // window or the window system refused.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                        int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                        LPVOID lpParam = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  // Lets a derived class adjust the creation arguments; FALSE cancels.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Destroys the window. An attached object is detached by its WM_NCDESTROY
  // (and PostNcDestroy runs); an object holding a handle without being
  // attached is simply cleared. FALSE when m_hWnd is null or not a window.
  virtual BOOL DestroyWindow();
  // Called after the window's last message; does nothing here. A class whose
  // objects live on the heap may delete this.
  virtual void PostNcDestroy();
  // Called by SubclassWindow before the window is subclassed.
  virtual void PreSubclassWindow();

  // ---- Messages ----
  // Every message of a created or subclassed window comes here first. The
  // default passes it to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The previous procedure of a subclassed or created window, else ::DefWindowProc.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Hook for a host's message loop; FALSE (not handled) here.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual const AFX_MSGMAP* GetMessageMap() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // ---- Focus, activation, capture ----
  // The previous focus window (temporary or permanent object), or null.
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  CWnd* SetCapture();

  // ---- Position and visibility ----
  void GetWindowRect(LPRECT lpRect) const;
  void GetClientRect(LPRECT lpRect) const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void MoveWindow(const RECT* lpRect, BOOL bRepaint = TRUE);
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  void ClientToScreen(LPPOINT lpPoint) const;
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const;
  void ScreenToClient(LPRECT lpRect) const;
  void Invalidate(BOOL bErase = TRUE);
  void InvalidateRect(const RECT* lpRect, BOOL bErase = TRUE);
  void UpdateWindow();

  // ---- Relations, text, style ----
  // The parent (or owner of a popup) as an object, or null.
  CWnd* GetParent() const;
  CWnd* GetDlgItem(int nID) const;
  int GetDlgCtrlID() const;
  void SetWindowText(LPCTSTR lpszString);
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // Removes then adds style bits; TRUE when the style changed.
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

  // ---- Font and drawing ----
  // WM_SETFONT / WM_GETFONT; GetFont returns a temporary CFont, or null.
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFont() const;
  // A device context for the client area (a temporary CDC), or null;
  // give it back with ReleaseDC.
  CDC* GetDC();
  int ReleaseDC(CDC* pDC);

  // ---- Caret ----
  void CreateSolidCaret(int nWidth, int nHeight);
  void ShowCaret();
  void HideCaret();
  static void SetCaretPos(POINT point);
  static POINT GetCaretPos();

 protected:
  // Runs after the window's WM_NCDESTROY has been processed: restores a
  // subclassed procedure, detaches and calls PostNcDestroy.
  void OnNcDestroy();

  static const AFX_MSGMAP messageMap;

 private:
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK AfxCbtFilterHook(int, WPARAM, LPARAM);
};
