// The skinned window's hit test: a point is over an item only strictly inside its rectangle,
// so a point on an edge belongs to neither of two items that touch.
#pragma once

#include "skin/panel_table.h"

inline bool IsOverItem(const PanelItem& item, int x, int y)
{
    return item.left < x && x < item.right && item.top < y && y < item.bottom;
}
