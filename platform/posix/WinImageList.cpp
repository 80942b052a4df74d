// Image lists: opaque images kept as the handles they were given.
#include <map>
#include <vector>

#include "Win32CommCtrl.h"
#include "internal/WinHandles.h"

namespace {

struct CSimImageList {
  int cx = 0;
  int cy = 0;
  UINT nFlags = 0;
  std::vector<void*> images;  // the bitmap or icon handle of each image
};

std::map<HIMAGELIST, CSimImageList>& Lists() {
  static auto* s_pLists = new std::map<HIMAGELIST, CSimImageList>;  // outlives static destructors
  return *s_pLists;
}

CSimImageList* Find(HIMAGELIST himl) {
  auto it = Lists().find(himl);
  return it == Lists().end() ? nullptr : &it->second;
}

}  // namespace

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
  (void)cInitial;
  (void)cGrow;
  if (cx <= 0 || cy <= 0) return nullptr;
  HIMAGELIST himl = SimNewHandle<HIMAGELIST>();
  CSimImageList& list = Lists()[himl];
  list.cx = cx;
  list.cy = cy;
  list.nFlags = flags;
  return himl;
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) { return Lists().erase(himl) != 0 ? TRUE : FALSE; }

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
  CSimImageList* pList = Find(himl);
  return pList != nullptr ? static_cast<int>(pList->images.size()) : 0;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
  (void)hbmMask;
  CSimImageList* pList = Find(himl);
  if (pList == nullptr) return -1;
  pList->images.push_back(hbmImage);
  return static_cast<int>(pList->images.size()) - 1;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
  CSimImageList* pList = Find(himl);
  if (pList == nullptr) return -1;
  if (i == -1) {
    pList->images.push_back(hicon);
    return static_cast<int>(pList->images.size()) - 1;
  }
  if (i < 0 || static_cast<size_t>(i) >= pList->images.size()) return -1;
  pList->images[static_cast<size_t>(i)] = hicon;
  return i;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
  CSimImageList* pList = Find(himl);
  if (pList == nullptr) return FALSE;
  if (i == -1) {
    pList->images.clear();
    return TRUE;
  }
  if (i < 0 || static_cast<size_t>(i) >= pList->images.size()) return FALSE;
  pList->images.erase(pList->images.begin() + i);
  return TRUE;
}

BOOL WINAPI ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount) {
  CSimImageList* pList = Find(himl);
  if (pList == nullptr) return FALSE;
  pList->images.resize(uNewCount, nullptr);
  return TRUE;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  CSimImageList* pList = Find(himl);
  if (pList == nullptr || cx == nullptr || cy == nullptr) return FALSE;
  *cx = pList->cx;
  *cy = pList->cy;
  return TRUE;
}
