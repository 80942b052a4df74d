// CImageList: ownership of one image list, and the image-list handle map.
#include "CImageList.h"

#include "AfxHandleMap.h"

namespace {
typedef CHandleMap<CImageList, HIMAGELIST, &CImageList::m_hImageList> CImageListMap;
CImageListMap& Map() { return CImageListMap::Get(); }
}  // namespace

CImageList::~CImageList() {
  DeleteImageList();
  if (m_hImageList != nullptr) Detach();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  if (m_hImageList != nullptr) return FALSE;
  return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList) { return Map().Attach(this, hImageList); }

HIMAGELIST CImageList::Detach() { return Map().Detach(this); }

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  return ImageList_Destroy(Detach());
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList) { return Map().FromHandle(hImageList); }

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList) { return Map().LookupPermanent(hImageList); }

void CImageList::DeleteTempMap() { Map().DeleteTemp(); }

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }

int CImageList::Add(HBITMAP hbmImage, HBITMAP hbmMask) { return ImageList_Add(m_hImageList, hbmImage, hbmMask); }

int CImageList::Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }

BOOL CImageList::Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
