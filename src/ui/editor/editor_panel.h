#pragma once
#include <windows.h>

#include "model/key_table.h"
#include "ui/editor/bounded_int_field.h"

constexpr int FIRST_CONTROL_ID = 10000;
constexpr int GROUP_BOX_ID = -2;
constexpr int PAGE_COUNT = 3;  // "Regular", "Modified", "Axis Pulse"
// Every key list offers the codes 0..255; key capture watches the same codes.
constexpr int KEY_CODE_COUNT = 256;

// The ID the builder gives the next control it creates; the main window sets
// it to FIRST_CONTROL_ID before building the panel.
extern int nextControlId;

struct PanelControl {
    int id = 0;
    HWND window = nullptr;
};

// One slot's row: its name, its "Select" button and its key list.
struct SlotRow {
    KeyCell* keyCell = nullptr;  // the slot's cell of the KeyTable
    int selectId = 0;
    HWND selectButton = nullptr;
    HWND label = nullptr;
    int keyListId = 0;
    HWND keyList = nullptr;
};

// The whole client area below the menu: the top buttons, the tab control
// and its three pages with the 76 slot rows and the pulse settings.
struct EditorPanel {
    HWND groupBox = nullptr;
    PanelControl startButton;
    PanelControl stopButton;
    PanelControl continuousSelectBox;
    PanelControl clearAllButton;
    PanelControl pulseCheckBox;
    HWND stepsLabel = nullptr;
    BoundedIntField stepsField;
    int tabId = 0;
    HWND pages[PAGE_COUNT] = {};
    HWND tab = nullptr;
    SlotRow rows[SLOT_COUNT];
    const char* axisNames[AXIS_SLOT_COUNT] = {};
};

extern EditorPanel editorPanel;

// Creates every control of the panel as children of the main window and its
// pages, fills the key lists and binds the rows and the steps field to the
// process's KeyTable. Selects nothing: the caller refreshes after loading.
void buildPanel(HWND mainWindow);
// Places every control anew for uiDpi and gives it uiFont, as buildPanel
// would have made it at that DPI; used when the window's DPI changes.
void rescalePanel();
// Shows the KeyTable in every control, a code without a list entry as no
// selection; never marks the document modified.
void refreshFromModel();
// Enables the steps field and the axis rows as the pulse check box shows.
void applyPulseEnabling();
// Enables or disables the steps field and the axis rows' "Select" buttons
// and key lists; their labels stay as they are.
void enableAxisControls(bool enabled);
// Whether a check box, or a "Select" button, is checked (BM_GETSTATE).
bool isChecked(HWND button);
void showPage(int index);
