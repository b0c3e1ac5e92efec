// What an item of a panel is: an image button or a text row (a driver row of Panel0, a utility
// row of Panel1), by its number.
#pragma once

// Panel0's items after the Common ones and its three buttons are driver rows; Panel1's items
// after the Common ones are utility rows; everything else is an image item.
inline bool IsDriverRow(int panel, int item, int commonCount)
{
    return panel == 0 && item > commonCount + 2;
}

inline bool IsToolRow(int panel, int item, int commonCount)
{
    return panel == 1 && item > commonCount - 1;
}

inline bool IsImageItem(int panel, int item, int commonCount)
{
    return !IsDriverRow(panel, item, commonCount) && !IsToolRow(panel, item, commonCount);
}
