// The list-view window procedure (internal to the platform layer; windows
// reach it through the "SysListView32" class).
#pragma once

#include "WinUser.h"

LRESULT CALLBACK SimListViewProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
