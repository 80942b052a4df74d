// The completion list: filling and selecting.
#include "assist/CZoListCtrlToolTipStaticFunc.h"

#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"
#include "tamsin/CImageListEx.h"

BEGIN_MESSAGE_MAP(CZoListCtrlToolTipStaticFunc, CZoListCtrl)
END_MESSAGE_MAP()

CZoListCtrlToolTipStaticFunc::CZoListCtrlToolTipStaticFunc(CZoFuncInfoStd* pFuncInfoStd,
                                                           CZoFuncInfoUser* pFuncInfoUser,
                                                           CImageListCommon* pImages)
    : CZoListCtrl(false, 0),
      m_pImages(pImages),
      m_pFuncInfoStd(pFuncInfoStd),
      m_pFuncInfoUser(pFuncInfoUser) {}

CZoListCtrlToolTipStaticFunc::~CZoListCtrlToolTipStaticFunc() = default;

int CZoListCtrlToolTipStaticFunc::ImageIndexOf(int nId) const {
  // Only an image list that knows identifiers can map them; asking anything
  // else (or nothing) would be a call through the wrong or a null object.
  CImageListEx* pImages = dynamic_cast<CImageListEx*>(m_pImages);
  if (pImages == nullptr) return I_IMAGENONE;
  int nIndex = pImages->GetImageIndex(nId);
  return nIndex < 0 ? I_IMAGENONE : nIndex;
}

void CZoListCtrlToolTipStaticFunc::InsertListData() {
  HIMAGELIST hImages = m_pImages != nullptr ? m_pImages->GetSafeHandle() : nullptr;
  SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hImages));

  int nImage = ImageIndexOf(kImageFunctionStd);
  if (m_pFuncInfoStd != nullptr)
    for (const auto& entry : *m_pFuncInfoStd) InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, entry.first, 0, 0, nImage, 0);

  nImage = ImageIndexOf(kImageFunctionUser);
  if (m_pFuncInfoUser != nullptr)
    for (const auto& entry : *m_pFuncInfoUser) InsertItem(LVIF_TEXT | LVIF_IMAGE, 0, entry.first, 0, 0, nImage, 0);
}

int CZoListCtrlToolTipStaticFunc::SelectItem(CString strName, bool bPrefix) {
  int nIndex = FindItemByName(strName, bPrefix, -1);
  if (nIndex == -1) nIndex = 0;
  SelectItemByIndex(nIndex, true, true, true);
  return nIndex;
}
