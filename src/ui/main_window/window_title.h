#pragma once
#include <windows.h>

// Sets the title from the document's name and mark and from connectResult.
void updateTitle(HWND window);
