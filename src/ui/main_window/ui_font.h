#pragma once
#include <windows.h>

// The system's message font for a window at that DPI, or the default GUI
// font scaled to it when the system does not report its metrics.
LOGFONTA systemMessageFont(int dpi);
// Creates the font of all controls from font, its height limited to -12..12
// at 96 DPI and as much more at other DPIs.
HFONT createUiFont(LOGFONTA font, int dpi);
