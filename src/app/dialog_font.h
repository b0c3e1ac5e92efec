// The main dialog's font size for the screen's resolution.
#pragma once

// The base value b of the dialog font for LOGPIXELSX x and LOGPIXELSY y.
int DialogFontBase(int dpiX, int dpiY);
// "MS Sans Serif" point size: b * 8 / LOGPIXELSX, truncated (8 at 96, 7 at 120, 12 at 72).
int DialogFontPointSize(int dpiX, int dpiY);
