#include <windows.h>

#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/program.h"
#include "ui/shell/command_line.h"
#include "ui/shell/single_instance.h"

// The first argument names a key code file to open ("Open with", or a file
// dropped onto the program in Explorer). While the program runs already, a
// second start only hands that file to it: two instances would both read
// the handle and send every key twice.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    const std::string documentPath = firstArgument(commandLine ? commandLine : "");
    if (!claimSingleInstance())
        return handOverToRunningInstance(documentPath);
    return runProgram(instance, showCommand, mainWindowProc, MAIN_WINDOW_CLASS_NAME, documentPath.c_str());
}
