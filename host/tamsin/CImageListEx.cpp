// CImageListEx: images by identifier.
#include "tamsin/CImageListEx.h"

BOOL CImageListEx::CreateEx() {
  if (!CreateCommon()) return FALSE;
  // Images are opaque on this platform: a null icon stands for each resource.
  AddImage(kIdFunctionStd, nullptr);
  AddImage(kIdFunctionUser, nullptr);
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
