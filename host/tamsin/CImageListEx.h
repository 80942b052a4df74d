// CImageListEx: an image list of small icons whose images are asked for by
// identifier (the identifier of the icon resource) rather than by index.
#pragma once

#include <map>

#include "tamsin/CImageListCommon.h"

class CImageListEx : public CImageListCommon {
 public:
  // Image identifiers of the icons that CreateEx loads, in this order.
  enum {
    kIdFunctionStd = 2200,   // a built-in function of the script language
    kIdFunctionUser = 2201,  // a function defined in the project's scripts
  };

  CImageListEx() = default;
  ~CImageListEx() override = default;

  // Creates the list with the standard icons: kIdFunctionStd becomes image
  // 0 and kIdFunctionUser image 1. FALSE when the object already holds a
  // list or creation failed (no identifier is then known).
  BOOL CreateEx();
  // Appends an icon under an identifier; its index, or -1 when the list is
  // not created or the identifier is taken.
  int AddImage(int nId, HICON hIcon);
  // The index of the image with that identifier, or -1 when the list holds
  // no such image.
  int GetImageIndex(int nId);

 private:
  std::map<int, int> m_mapIndexOfId;  // identifier -> image index
};
