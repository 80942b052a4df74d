// Win32 base types and constants, as the Windows headers define them for a
// 32-bit program, on a platform that has no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Win32Names.h"

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef int INT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef WORD ATOM;
typedef void* PVOID;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef char CHAR;
typedef char TCHAR;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef char* LPTSTR;
typedef void* LPVOID;
typedef void* HANDLE;

// Handles are distinct opaque pointer types, as with STRICT on Windows.
#define NIMBO_DECLARE_HANDLE(name) struct name##__ { int unused; }; typedef struct name##__* name
NIMBO_DECLARE_HANDLE(HWND);
NIMBO_DECLARE_HANDLE(HINSTANCE);
NIMBO_DECLARE_HANDLE(HFONT);
NIMBO_DECLARE_HANDLE(HDC);
NIMBO_DECLARE_HANDLE(HIMAGELIST);
NIMBO_DECLARE_HANDLE(HMENU);
NIMBO_DECLARE_HANDLE(HCURSOR);
typedef HINSTANCE HMODULE;
// Further handles of the user and graphics services (declared here, as in the
// Windows headers, so that either service's header can name them).
NIMBO_DECLARE_HANDLE(HBITMAP);
NIMBO_DECLARE_HANDLE(HBRUSH);
NIMBO_DECLARE_HANDLE(HPEN);
NIMBO_DECLARE_HANDLE(HICON);
NIMBO_DECLARE_HANDLE(HHOOK);
typedef void* HGDIOBJ;

struct POINT {
  LONG x;
  LONG y;
};
typedef POINT* LPPOINT;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;

struct SIZE {
  LONG cx;
  LONG cy;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

// Entry-point reasons of a dynamic-link library.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define WINAPI
#define CALLBACK
#define APIENTRY
