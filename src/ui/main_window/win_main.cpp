#include <windows.h>

#include "ui/main_window/command_line.h"
#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/program.h"

// The first argument names a key code file to open ("Open with", or a file
// dropped onto the program in Explorer). The previous instance is ignored; a
// second start opens a second, independent window.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    const std::string documentPath = firstArgument(commandLine ? commandLine : "");
    return runProgram(instance, showCommand, mainWindowProc, MAIN_WINDOW_CLASS_NAME, documentPath.c_str());
}
