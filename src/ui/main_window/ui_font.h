#pragma once
#include <windows.h>

// The system's message font, or the default GUI font when the system does
// not report its metrics.
LOGFONTA systemMessageFont();
// Creates the font of all controls from font, its height limited to -12..12.
HFONT createUiFont(LOGFONTA font);
