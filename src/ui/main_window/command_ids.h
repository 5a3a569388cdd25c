#pragma once
// Macros, not constants: the resource compiler reads this file too.

// Menu commands.
#define CMD_NEW 100
#define CMD_OPEN 101
#define CMD_SAVE 102
#define CMD_SAVE_AS 103
#define CMD_QUIT 104
#define CMD_RUN_ENABLED 110
#define CMD_RUN_DISABLED 111
#define CMD_START_WITH_WINDOWS 112
#define CMD_ABOUT 120

// Accelerators; each does what the menu command beside it does.
#define ACC_NEW 201
#define ACC_OPEN 202
#define ACC_SAVE 203
#define ACC_QUIT 204
