// Win32 common controls (the "SysListView32" list view and image lists),
// from the common-controls library itself.
#pragma once

#include "WindowsHeaders.h"

// Height in pixels of one row of a list view in the small-icon and report
// views, as the stand-in list view lays them out. A real list view sizes
// its rows from its font and image list; read LVM_GETITEMRECT instead when
// the exact height matters.
#define NIMBO_LISTVIEW_ROW_HEIGHT 16
