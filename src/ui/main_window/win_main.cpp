#include <windows.h>

#include "ui/main_window/main_window_class.h"
#include "ui/main_window/main_window_proc.h"
#include "ui/main_window/program.h"
#include "ui/shell/command_line.h"
#include "ui/shell/single_instance.h"

// The first argument names a key code file to open ("Open with", or a file
// dropped onto the program in Explorer), unless it is "--minimized", which
// the entry in the Run key passes. While the program runs already, a
// second start only hands that file to it: two instances would both read
// the handle and send every key twice.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    const StartOptions options = parseCommandLine(commandLine ? commandLine : "");
    if (!claimSingleInstance())
        return handOverToRunningInstance(options.documentPath);
    return runProgram(instance, showCommand, mainWindowProc, MAIN_WINDOW_CLASS_NAME, options.documentPath.c_str(),
                      options.minimized);
}
