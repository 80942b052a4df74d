// Win32 common controls (the "SysListView32" list view and image lists),
// from the common-controls library itself.
#pragma once

#include "ListViewMetrics.h"  // NIMBO_LISTVIEW_ROW_HEIGHT
#include "WindowsHeaders.h"
