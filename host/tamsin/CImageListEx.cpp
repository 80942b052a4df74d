// CImageListEx: images by identifier.
#include "tamsin/CImageListEx.h"

#include "tamsin/StandardIcons.h"

BOOL CImageListEx::CreateEx() {
  if (!CreateCommon()) return FALSE;
  // The platform side draws the icons (null placeholders where images are opaque).
  AddImage(kIdFunctionStd, StandardIcon(kIdFunctionStd, kIconSize, kIconSize));
  AddImage(kIdFunctionUser, StandardIcon(kIdFunctionUser, kIconSize, kIconSize));
  return TRUE;
}

int CImageListEx::AddImage(int nId, HICON hIcon) {
  if (GetSafeHandle() == nullptr || m_mapIndexOfId.count(nId) != 0) return -1;
  int nIndex = Add(hIcon);
  if (nIndex >= 0) m_mapIndexOfId[nId] = nIndex;
  return nIndex;
}

int CImageListEx::GetImageIndex(int nId) {
  std::map<int, int>::const_iterator it = m_mapIndexOfId.find(nId);
  if (it == m_mapIndexOfId.end() || it->second >= GetImageCount()) return -1;
  return it->second;
}
