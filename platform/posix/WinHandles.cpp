// Handle values of the in-process window system.
#include "internal/WinHandles.h"

uintptr_t SimNewHandleValue() {
  // Start high and step by 4 so that handles look like the real ones (small
  // integers such as HWND_TOPMOST are reserved values) and stay aligned.
  static uintptr_t s_nNext = 0x10000;
  s_nNext += 4;
  return s_nNext;
}
