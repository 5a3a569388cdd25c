#include "ui/main_window/startup_sequence.h"

#include "documents/document_state.h"
#include "documents/settings.h"
#include "documents/startup.h"
#include "model/key_table.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/full_path.h"
#include "ui/main_window/legacy_last_file.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/menu.h"
#include "ui/main_window/output_control.h"
#include "ui/main_window/window_scale.h"
#include "ui/shell/autostart.h"

namespace {

void attachMenu(HWND window)
{
    mainMenu = buildMenu();
    SetMenu(window, mainMenu);
}

void resetWindowState(HWND window)
{
    outputDeviceLink().connected = false;
    captureState.windowActive = false;
    mainWindow = window;
    connectResult = 0;
    nextControlId = FIRST_CONTROL_ID;
}

std::string executablePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// The configuration, then the document: a file named on the command line,
// opened as Open opens it by its full path, or else the last key code file;
// a last file that cannot be read leaves no document, without a word, and
// stays remembered.
void loadStartDocument(HWND window, const char* documentPath)
{
    documentState.filePath.clear();
    documentState.modified = false;
    loadStartupSettings(programSettings, keyTable, executablePath());
    convertLegacyLastFile(programSettings);
    if (documentPath == nullptr || *documentPath == '\0') {
        documentState.filePath = reopenLastFile(programSettings, keyTable);
        return;
    }
    // The document keeps its full path, whatever folder is current later.
    const std::string fullPath = fullPathOf(documentPath);
    if (fullPath.empty())
        reportFileNotFound(window, documentPath);
    else
        openDocumentFile(window, fullPath);
}

void showModel()
{
    refreshFromModel();
    applyPulseEnabling();
}

void showSettings()
{
    SendMessageA(editorPanel.continuousSelectBox.window, BM_SETCHECK,
                 programSettings.continuousSelect ? BST_CHECKED : BST_UNCHECKED, 0);
    checkRunByDefaultItems(programSettings.runByDefault);
    checkStartWithWindowsItem();
}

}  // namespace

void runStartupSequence(HWND window, const char* documentPath)
{
    attachMenu(window);
    resetWindowState(window);
    // The panel's controls take the window's scale and font, so both must
    // exist before they do.
    scaleNewWindow(window);
    buildPanel(window);
    loadStartDocument(window, documentPath);
    showModel();
    showSettings();
    connectAtStartup(window);
    DragAcceptFiles(window, TRUE);
}
