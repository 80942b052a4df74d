// CImageList: the framework's owner of one image list.
#pragma once

#include "CObject.h"
#include "Win32CommCtrl.h"

class CImageList : public CObject {
 public:
  CImageList() = default;
  // Destroys the image list it holds.
  ~CImageList() override;
  CImageList(const CImageList&) = delete;  // two owners would destroy one list twice
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT: as in MFC
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  // FALSE when this object already holds a list or creation failed.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // FALSE when hImageList is null, this object holds one, or another object
  // is attached to it.
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  // Destroys the held list; FALSE when there is none.
  BOOL DeleteImageList();

  // The attached object, else a temporary one (kept until DeleteTempMap;
  // it never destroys the list); null for null.
  static CImageList* FromHandle(HIMAGELIST hImageList);
  static CImageList* FromHandlePermanent(HIMAGELIST hImageList);
  static void DeleteTempMap();

  int GetImageCount() const;
  // Append an image; its index, or -1.
  int Add(HBITMAP hbmImage, HBITMAP hbmMask);
  int Add(HICON hIcon);
  BOOL Remove(int nImage);
  BOOL SetImageCount(UINT uNewCount);
};
