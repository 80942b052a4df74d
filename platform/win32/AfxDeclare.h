// The framework's declaration macros on Windows: an extension module's own
// build defines _AFXEXT and exports what it marks (dllexport); everyone who
// includes its headers imports it (dllimport). PASCAL comes from <windows.h>.
#pragma once

#include "WindowsHeaders.h"

#define AFXAPI

#ifdef _AFXEXT
#define AFX_EXT_CLASS __declspec(dllexport)
#define AFX_EXT_API __declspec(dllexport)
#else
#define AFX_EXT_CLASS __declspec(dllimport)
#define AFX_EXT_API __declspec(dllimport)
#endif
