// CImageListCommon: the host's image list of small (16 by 16) icons, the
// kind its list views show beside their items.
#pragma once

#include "CImageList.h"

class CImageListCommon : public CImageList {
 public:
  enum { kIconSize = 16 };  // pixels, both ways

  CImageListCommon() = default;
  ~CImageListCommon() override = default;

  // Creates the empty list of small icons. FALSE when the object already
  // holds a list or creation failed.
  BOOL CreateCommon();
};
