// Win32 common controls of the in-process window system: the list-view
// window class "SysListView32" and image lists, with the real Win32 names.
//
// The list view keeps its items (text, image, item data, state), its columns
// (heading and width), its image lists and a top index; it draws nothing and
// sends no notifications to its parent. Input: a click (WM_LBUTTONDOWN)
// takes the focus and selects the row under the point (rows of
// NIMBO_LISTVIEW_ROW_HEIGHT pixels from the top item); WM_KEYDOWN of the
// arrow keys, Page Up/Down, Home and End moves the selection and the focused
// item, making the new item the only selected one and scrolling to it.
#pragma once

#include "Win32Def.h"
#include "Win32User.h"

#define WC_LISTVIEW "SysListView32"

// Registers the common control classes. The list-view class is also
// registered when the platform library is loaded, so calling this is optional;
// it always succeeds.
void WINAPI InitCommonControls();

// ---- List-view styles ------------------------------------------------------
#define LVS_ICON 0x0000
#define LVS_REPORT 0x0001
#define LVS_SMALLICON 0x0002
#define LVS_LIST 0x0003
#define LVS_TYPEMASK 0x0003
#define LVS_SINGLESEL 0x0004         // selecting an item deselects the others
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_SORTASCENDING 0x0010     // inserted items go to their place by text (case-insensitive)
#define LVS_SORTDESCENDING 0x0020
#define LVS_SHAREIMAGELISTS 0x0040   // without it the list view destroys its image lists with itself
#define LVS_NOCOLUMNHEADER 0x4000

#define LVS_EX_GRIDLINES 0x00000001
#define LVS_EX_FULLROWSELECT 0x00000020

// ---- Items -------------------------------------------------------------------
#define LVIF_TEXT 0x0001
#define LVIF_IMAGE 0x0002
#define LVIF_PARAM 0x0004
#define LVIF_STATE 0x0008

// Image indices with a meaning of their own: ask the parent, and no image.
#define I_IMAGECALLBACK (-1)
#define I_IMAGENONE (-2)

#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVIS_CUT 0x0004
#define LVIS_DROPHILITED 0x0008

struct LVITEM {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};
typedef LVITEM* LPLVITEM;

#define LVCF_FMT 0x0001
#define LVCF_WIDTH 0x0002
#define LVCF_TEXT 0x0004
#define LVCF_SUBITEM 0x0008
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002

struct LVCOLUMN {
  UINT mask;
  int fmt;
  int cx;
  LPSTR pszText;
  int cchTextMax;
  int iSubItem;
};
typedef LVCOLUMN* LPLVCOLUMN;

#define LVFI_PARAM 0x0001
#define LVFI_STRING 0x0002
#define LVFI_PARTIAL 0x0008
#define LVFI_WRAP 0x0020

struct LVFINDINFO {
  UINT flags;
  LPCSTR psz;
  LPARAM lParam;
  POINT pt;
  UINT vkDirection;
};

#define LVNI_ALL 0x0000
#define LVNI_FOCUSED 0x0001
#define LVNI_SELECTED 0x0002

#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1
#define LVSIL_STATE 2

// ---- List-view messages ----------------------------------------------------------
// Results for an item index out of range are FALSE / -1 / 0 as noted.
#define LVM_FIRST 0x1000
#define LVM_GETIMAGELIST (LVM_FIRST + 2)      // wParam LVSIL_*; the list or null
#define LVM_SETIMAGELIST (LVM_FIRST + 3)      // wParam LVSIL_*, lParam HIMAGELIST; the previous list
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define LVM_GETITEM (LVM_FIRST + 5)           // lParam LVITEM* (iItem, mask); TRUE when filled
#define LVM_SETITEM (LVM_FIRST + 6)           // lParam LVITEM*; TRUE when set
#define LVM_INSERTITEM (LVM_FIRST + 7)        // lParam LVITEM*; the new index, or -1
#define LVM_DELETEITEM (LVM_FIRST + 8)        // wParam item; TRUE when deleted
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)      // wParam start (-1: from the first), lParam LVNI_*; index or -1
#define LVM_FINDITEM (LVM_FIRST + 13)         // wParam start (-1: from the first), lParam LVFINDINFO*; index or -1
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)    // wParam item, lParam partial-ok; TRUE when the item exists
#define LVM_GETCOLUMN (LVM_FIRST + 25)
#define LVM_SETCOLUMN (LVM_FIRST + 26)
#define LVM_INSERTCOLUMN (LVM_FIRST + 27)     // wParam position, lParam LVCOLUMN*; the new index, or -1
#define LVM_DELETECOLUMN (LVM_FIRST + 28)
#define LVM_GETCOLUMNWIDTH (LVM_FIRST + 29)
#define LVM_SETCOLUMNWIDTH (LVM_FIRST + 30)
#define LVM_GETTOPINDEX (LVM_FIRST + 39)
#define LVM_GETCOUNTPERPAGE (LVM_FIRST + 40)  // client height / item height, at least 1
#define LVM_SETITEMSTATE (LVM_FIRST + 43)     // wParam item (-1: all), lParam LVITEM* (state, stateMask)
#define LVM_GETITEMSTATE (LVM_FIRST + 44)     // wParam item, lParam mask; the masked state
#define LVM_GETITEMTEXT (LVM_FIRST + 45)      // wParam item, lParam LVITEM* (pszText, cchTextMax); length copied
#define LVM_SETITEMTEXT (LVM_FIRST + 46)      // wParam item, lParam LVITEM* (pszText)
#define LVM_GETSELECTEDCOUNT (LVM_FIRST + 50)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)  // wParam mask (0: all), lParam style; the old style
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETSELECTIONMARK (LVM_FIRST + 66)
#define LVM_SETSELECTIONMARK (LVM_FIRST + 67)

#include "ListViewMetrics.h"  // NIMBO_LISTVIEW_ROW_HEIGHT

// ---- Image lists ---------------------------------------------------------------------
// Images are opaque: a list keeps its image size, its flags and, per image,
// the bitmap or icon handle it was given.
#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

// A new empty image list of images cx by cy; null when cx or cy is not
// positive. cInitial and cGrow are accepted and not needed.
HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
// FALSE for an invalid or already destroyed list.
BOOL WINAPI ImageList_Destroy(HIMAGELIST himl);
// Number of images; 0 for an invalid list.
int WINAPI ImageList_GetImageCount(HIMAGELIST himl);
// Appends an image; its index, or -1 for an invalid list.
int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// Replaces image i, or appends when i is -1; the index, or -1.
int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
#define ImageList_AddIcon(himl, hicon) ImageList_ReplaceIcon(himl, -1, hicon)
// Removes image i, or all images when i is -1.
BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i);
BOOL WINAPI ImageList_SetImageCount(HIMAGELIST himl, UINT uNewCount);
BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
