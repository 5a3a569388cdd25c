#include "ui/main_window/startup_sequence.h"

#include "ui/main_window/main_window_state.h"
#include "ui/main_window/menu.h"
#include "ui/main_window/ui_font.h"
#include "ui/main_window/window_title.h"

namespace {

void attachMenu(HWND window) {
    mainMenu = buildMenu();
    SetMenu(window, mainMenu);
}

void resetWindowState(HWND window) {
    mainWindow = window;
    connectResult = 0;
}

// The panel's controls take this font, so it must exist before they do.
void createFont() {
    uiFont = createUiFont(systemMessageFont());
}

void showConnectionState(HWND window) {
    updateTitle(window);
}

}  // namespace

void runStartupSequence(HWND window) {
    attachMenu(window);
    resetWindowState(window);
    createFont();
    showConnectionState(window);
}
