// The thread's message queue, key translation and the keyboard state.
#include <cctype>

#include "Win32User.h"
#include "internal/WinWindowTable.h"

namespace {

CSimWindowTable& Table() { return CSimWindowTable::Get(); }

// Punctuation keys of a US keyboard: the key, its character, its shifted character.
struct CSimOemKey {
  int nVirtKey;
  char chPlain;
  char chShifted;
};
const CSimOemKey kOemKeys[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
};
const char kShiftedDigits[] = ")!@#$%^&*(";

bool KeyDown(int nVirtKey) { return nVirtKey >= 0 && nVirtKey < 256 && Table().m_keyDown[nVirtKey]; }

// The character a key types, or -1.
int CharForKey(int nVirtKey, bool bShift, bool bControl) {
  if (nVirtKey >= 'A' && nVirtKey <= 'Z') {
    if (bControl) return nVirtKey - 'A' + 1;
    return bShift ? nVirtKey : std::tolower(nVirtKey);
  }
  if (bControl) {
    if (nVirtKey == VK_RETURN) return '\n';
    if (nVirtKey == VK_BACK) return 0x7F;
    return -1;
  }
  if (nVirtKey >= '0' && nVirtKey <= '9') return bShift ? kShiftedDigits[nVirtKey - '0'] : nVirtKey;
  switch (nVirtKey) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return '\b';
    case VK_TAB:
      return '\t';
    case VK_ESCAPE:
      return 0x1B;
    default:
      break;
  }
  for (const CSimOemKey& key : kOemKeys)
    if (key.nVirtKey == nVirtKey) return bShift ? key.chShifted : key.chPlain;
  return -1;
}

bool Matches(const MSG& msg, HWND hWnd, UINT nMin, UINT nMax) {
  if (hWnd != nullptr && msg.hwnd != hWnd) return false;
  if (nMin == 0 && nMax == 0) return true;
  return msg.message >= nMin && msg.message <= nMax;
}

void NoteKey(const MSG& msg) {
  if (msg.wParam >= 256) return;
  CSimWindowTable& t = Table();
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    if (!t.m_keyDown[msg.wParam]) t.m_keyToggled[msg.wParam] = !t.m_keyToggled[msg.wParam];
    t.m_keyDown[msg.wParam] = true;
  } else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
    t.m_keyDown[msg.wParam] = false;
  }
}

// A WM_PAINT for the first visible window marked for painting, if any.
bool FindPaint(MSG* pMsg, HWND hWnd, UINT nMin, UINT nMax) {
  CSimWindowTable& t = Table();
  for (auto& entry : t.m_windows) {
    CSimWindow& wnd = *entry.second;
    if (!wnd.bNeedsPaint || wnd.bDestroying || !IsWindowVisible(wnd.hWnd)) continue;
    MSG msg = {wnd.hWnd, WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
    if (!Matches(msg, hWnd, nMin, nMax)) continue;
    *pMsg = msg;
    return true;
  }
  return false;
}

}  // namespace

BOOL WINAPI PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd != nullptr && !IsWindow(hWnd)) return FALSE;
  Table().m_queue.push_back(MSG{hWnd, Msg, wParam, lParam, GetTickCount(), {0, 0}});
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  Table().m_bQuit = true;
  Table().m_nQuitCode = nExitCode;
}

BOOL WINAPI PeekMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (lpMsg == nullptr) return FALSE;
  CSimWindowTable& t = Table();
  for (auto it = t.m_queue.begin(); it != t.m_queue.end(); ++it) {
    if (!Matches(*it, hWnd, wMsgFilterMin, wMsgFilterMax)) continue;
    *lpMsg = *it;
    if ((wRemoveMsg & PM_REMOVE) != 0) {
      t.m_queue.erase(it);
      NoteKey(*lpMsg);
    }
    return TRUE;
  }
  if (t.m_bQuit && Matches(MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}}, nullptr, wMsgFilterMin, wMsgFilterMax)) {
    *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(t.m_nQuitCode), 0, GetTickCount(), {0, 0}};
    if ((wRemoveMsg & PM_REMOVE) != 0) t.m_bQuit = false;
    return TRUE;
  }
  return FindPaint(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax) ? TRUE : FALSE;
}

BOOL WINAPI GetMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (lpMsg == nullptr) return -1;
  if (!PeekMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) return -1;
  return lpMsg->message == WM_QUIT ? 0 : 1;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (lpMsg == nullptr || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)) return FALSE;
  int nChar = CharForKey(static_cast<int>(lpMsg->wParam), KeyDown(VK_SHIFT), KeyDown(VK_CONTROL));
  if (nChar < 0) return FALSE;
  UINT nCharMsg = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  // The character comes next, before anything queued after the key press.
  Table().m_queue.push_front(
      MSG{lpMsg->hwnd, nCharMsg, static_cast<WPARAM>(nChar), lpMsg->lParam, lpMsg->time, lpMsg->pt});
  return TRUE;
}

LRESULT WINAPI DispatchMessage(const MSG* lpMsg) {
  if (lpMsg == nullptr || lpMsg->hwnd == nullptr) return 0;
  return SendMessage(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

short WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey >= 256) return 0;
  CSimWindowTable& t = Table();
  int nState = (t.m_keyDown[nVirtKey] ? 0x8000 : 0) | (t.m_keyToggled[nVirtKey] ? 1 : 0);
  return static_cast<short>(nState);
}

short WINAPI GetAsyncKeyState(int vKey) { return static_cast<short>(KeyDown(vKey) ? 0x8000 : 0); }

short WINAPI VkKeyScan(CHAR ch) {
  int c = static_cast<unsigned char>(ch);
  static const int kSpecial[] = {VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE};
  for (int nVirtKey : kSpecial)
    if (CharForKey(nVirtKey, false, false) == c) return static_cast<short>(nVirtKey);
  for (int nVirtKey = 0; nVirtKey < 256; ++nVirtKey) {
    if (CharForKey(nVirtKey, false, false) == c) return static_cast<short>(nVirtKey);
    if (CharForKey(nVirtKey, true, false) == c) return static_cast<short>(nVirtKey | 0x100);
  }
  for (int nVirtKey = 'A'; nVirtKey <= 'Z'; ++nVirtKey)
    if (CharForKey(nVirtKey, false, true) == c) return static_cast<short>(nVirtKey | 0x200);
  return -1;
}
