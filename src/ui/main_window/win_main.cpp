#include <windows.h>

#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/program.h"

// The command line and the previous instance are ignored; a second start
// opens a second, independent window.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return runProgram(instance, showCommand, mainWindowProc, MAIN_WINDOW_CLASS_NAME);
}
