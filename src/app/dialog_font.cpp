// The main dialog's font size for the screen's resolution.
#include "app/dialog_font.h"

int DialogFontBase(int dpiX, int dpiY)
{
    // Only square resolutions get a tuned base; 96 needs y to be exactly 96 as well.
    if (dpiY != dpiX) return 96;
    switch (dpiX) {
    case 96:
    case 120:
        return 106;
    case 144:
    case 192:
        return 120;
    case 72:
        return 116;
    default:
        return 96;
    }
}

int DialogFontPointSize(int dpiX, int dpiY)
{
    // A failed information context reports 0; no font size can come from that.
    if (dpiX <= 0) return 8;
    return DialogFontBase(dpiX, dpiY) * 8 / dpiX;
}
