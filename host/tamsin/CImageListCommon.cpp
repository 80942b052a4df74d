// CImageListCommon: creating the list of small icons.
#include "tamsin/CImageListCommon.h"

BOOL CImageListCommon::CreateCommon() { return Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 0, 8); }
