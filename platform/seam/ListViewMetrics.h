// List-view metrics that both sides of the platform layer promise.
#pragma once

// Height in pixels of one row of a list view in the small-icon and report
// views, as the posix side lays them out (top index, page size, clicks). A
// real list view sizes its rows from its font and image list; read
// LVM_GETITEMRECT instead when the exact height matters.
#define NIMBO_LISTVIEW_ROW_HEIGHT 16
