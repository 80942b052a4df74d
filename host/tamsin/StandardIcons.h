// The icons of the standard image identifiers of CImageListEx, drawn by the
// platform side: real icons on Windows, null placeholders where images are
// opaque.
#pragma once

#include "Win32Def.h"

// The icon for an image identifier (CImageListEx::kIdFunctionStd or
// kIdFunctionUser), cx by cy pixels, owned by the caller's image list: the
// list copies it, so it is valid only until the next call. Null where
// images are opaque (an image list then keeps a placeholder) and for an
// unknown identifier.
HICON StandardIcon(int nId, int cx, int cy);
