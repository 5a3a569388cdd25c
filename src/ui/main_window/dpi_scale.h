#pragma once

// Every size and position of the window is laid out in pixels at 96 DPI and
// scaled by one factor, the window's DPI over 96, for other displays.
constexpr int BASE_DPI = 96;

// A rectangle in its parent's client coordinates.
struct Placement {
    int x;
    int y;
    int width;
    int height;
};

// A DPI the system reported, made usable: anything below 1 (unknown) counts
// as 96, anything above 960 (ten times) as 960.
int usableDpi(int dpi);
// value * dpi / fromDpi, rounded half away from zero as MulDiv rounds.
int scaleToDpi(int value, int dpi, int fromDpi = BASE_DPI);
Placement scaleToDpi(Placement at, int dpi);
// The controls' font height is limited to twelve pixels either way at 96
// DPI, to as many more at other DPIs.
int limitFontHeight(int height, int dpi);
