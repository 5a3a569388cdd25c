#pragma once
// Macros, not constants: the resource compiler reads this file too.

#define ACCEL_MAIN 200
#define ICON_MAIN 300
