#include "ui/main_window/program.h"

#include <commctrl.h>

#include "ui/main_window/main_window_class.h"
#include "ui/main_window/resource_ids.h"
#include "ui/shell/tray_icon.h"

// Accelerators come first, for every window of the thread, so the shortcuts
// work while a control has the focus; the dialog manager second, for Tab
// navigation between the controls.
void handleMessage(HWND window, HACCEL accelerators, MSG& message)
{
    if (TranslateAcceleratorA(window, accelerators, &message))
        return;
    if (IsDialogMessageA(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

namespace {

int runMessageLoop(HWND window, HACCEL accelerators)
{
    MSG message{};
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0)
        handleMessage(window, accelerators, message);
    return result == 0 ? static_cast<int>(message.wParam) : EXIT_MESSAGE_ERROR;
}

}  // namespace

int runProgram(HINSTANCE instance, int showCommand, WNDPROC procedure, const char* className, const char* documentPath,
               bool minimized)
{
    if (!registerMainWindowClass(instance, procedure, className))
        return EXIT_NO_WINDOW_CLASS;
    InitCommonControls();
    HWND window = createMainWindow(instance, className, documentPath);
    if (!window)
        return EXIT_NO_MAIN_WINDOW;
    if (minimized)
        hideToTray(window);
    else
        ShowWindow(window, showCommand);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(ACCEL_MAIN));
    return runMessageLoop(window, accelerators);
}
