// The posix side of DllEntry.h (include that header): runs a module's
// DllMain when the dynamic loader loads and unloads it, and loads modules as
// LoadLibrary does.
#pragma once

#include "Win32Def.h"

// One object per module, defined by DLL_ENTRY_POINT in the source file that
// the module links last: its construction is the module's last static
// initialiser and its destruction the module's first static destructor, so
// the entry point sees the module fully constructed on process attach and
// still whole on process detach.
//
// When the entry point returns FALSE for process attach, the module's exit
// list (the destructors of its static objects) runs at once, the failure is
// recorded for LoadLibrary (which then unloads the module and returns null),
// and process detach is never delivered. The dynamic loader itself cannot be
// told to refuse the load: a plain dlopen of such a module still succeeds.
class CDllEntryPoint {
 public:
  CDllEntryPoint(PDLL_ENTRY_POINT pfnEntry, void* pDsoHandle);
  ~CDllEntryPoint();
  CDllEntryPoint(const CDllEntryPoint&) = delete;  // one per module
  CDllEntryPoint& operator=(const CDllEntryPoint&) = delete;

  HINSTANCE GetInstance() const { return m_hInstance; }
  bool IsAttached() const { return m_bAttached; }

 private:
  PDLL_ENTRY_POINT m_pfnEntry;
  void* m_pDsoHandle;  // the module's handle in the C++ runtime's exit list
  HINSTANCE m_hInstance;
  bool m_bAttached;    // process attach succeeded; process detach is due
};

// Each shared object has its own hidden __dso_handle, which names it in the
// C++ runtime's exit list.
extern "C" void* __dso_handle __attribute__((visibility("hidden")));

// Defines the module's entry-point object. Use once per module, in the
// source file linked last, with the module's DllMain. (Where the loader
// calls DllMain itself, the platform defines this macro to declare nothing.)
#define DLL_ENTRY_POINT(pfnEntry) static CDllEntryPoint g_dllEntryPoint(pfnEntry, &__dso_handle)

// Win32 module loading over the dynamic loader.
//
// Loads the module at the path (resolving all its symbols now) and returns
// its handle; null when it cannot be loaded or when the entry point of the
// module, or of a module loaded with it, refused process attach (that
// module is then unloaded again).
HMODULE WINAPI LoadLibrary(LPCTSTR lpLibFileName);
// Drops one reference to the module; the last one unloads it, running its
// entry point with process detach. FALSE for a null handle or a loader error.
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
// The address of an exported symbol of the module, or null.
typedef INT_PTR(WINAPI* FARPROC)();
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
