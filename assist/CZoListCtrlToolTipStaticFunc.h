// CZoListCtrlToolTipStaticFunc: the completion list: fills a list view with
// every function of the standard and the user catalogue, each with an icon
// that tells the two apart, and selects an item by name.
#pragma once

#include "CString.h"
#include "tamsin/CImageListCommon.h"
#include "tamsin/CZoListCtrl.h"

class CZoFuncInfoStd;
class CZoFuncInfoUser;

/// The completion list: fills a list view with every function of the standard
/// and the user catalogue, an icon telling the two apart, and selects an item
/// by name.
class AFX_EXT_CLASS CZoListCtrlToolTipStaticFunc : public CZoListCtrl {
 public:
  /// Image identifiers of the two kinds of function (see CImageListEx).
  enum { kImageFunctionStd = 2200, kImageFunctionUser = 2201 };

  /// Borrows the catalogues and the image list (which may be null); creates
  /// no window.
  CZoListCtrlToolTipStaticFunc(CZoFuncInfoStd* pFuncInfoStd, CZoFuncInfoUser* pFuncInfoUser,
                               CImageListCommon* pImages);
  ~CZoListCtrlToolTipStaticFunc() override;
  CZoListCtrlToolTipStaticFunc(const CZoListCtrlToolTipStaticFunc&) = delete;  ///< one object per window
  CZoListCtrlToolTipStaticFunc& operator=(const CZoListCtrlToolTipStaticFunc&) = delete;

  /// Needs an attached list view. Makes m_pImages the list view's small-image
  /// list (null when there is none), then inserts at position 0 every name of
  /// the standard catalogue in name order and then every name of the user
  /// catalogue, so that an unsorted list view shows the user functions in
  /// descending order, then the standard ones, then its earlier items. Items
  /// carry the image of their kind: the index that the image list gives for
  /// kImageFunctionStd or kImageFunctionUser. Without an image list, with
  /// one that is not a CImageListEx, or for an identifier it does not know,
  /// the items get I_IMAGENONE. A null catalogue adds nothing; the list view
  /// is never emptied first.
  void InsertListData() override;
  /// Needs an attached list view. Selects, focuses and scrolls to the first
  /// item that FindItemByName(strName, bPrefix, -1) finds, or to item 0 when
  /// none matches; returns that index (0 also for an empty list view, where
  /// nothing is selected).
  virtual int SelectItem(CString strName, bool bPrefix);

  CImageListCommon* m_pImages;        ///< not owned; the controller replaces it
  CString m_strText;                  ///< not used by this class
  CZoFuncInfoStd* m_pFuncInfoStd;     ///< not owned
  CZoFuncInfoUser* m_pFuncInfoUser;   ///< not owned

 private:
  /// The image index for an identifier, or I_IMAGENONE.
  int ImageIndexOf(int nId) const;

  DECLARE_MESSAGE_MAP()
};
