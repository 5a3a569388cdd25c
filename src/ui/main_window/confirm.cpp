#include "ui/main_window/confirm.h"

#include "ui/main_window/prompts.h"

bool confirm(HWND window, const char* question)
{
    return activePrompts().messageBox(window, question, "Continue?", MB_OKCANCEL) == IDOK;
}
