// The framework's declaration macros on this platform: no calling
// conventions, and exported names get default visibility.
#pragma once

#define AFXAPI
#define PASCAL
#define AFX_EXT_CLASS __attribute__((visibility("default")))
#define AFX_EXT_API __attribute__((visibility("default")))
