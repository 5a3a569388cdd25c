#pragma once
#include <windows.h>

// The menu bar File, Config, Help with every command enabled and unchecked.
HMENU buildMenu();
