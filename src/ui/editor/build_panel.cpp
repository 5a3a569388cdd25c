#include "ui/editor/editor_panel.h"

#include <commctrl.h>

#include <vector>

#include "model/name_tables.h"
#include "ui/editor/page_procedures.h"
#include "ui/main_window/dpi_scale.h"
#include "ui/main_window/main_window_state.h"

namespace {

constexpr DWORD PUSH_BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD CHECK_BOX_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
// A check box drawn as a push button, so it stays pressed while capturing;
// BS_NOTIFY makes it report losing the focus, which ends the capture.
constexpr DWORD SELECT_BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_PUSHLIKE | BS_AUTOCHECKBOX;
constexpr DWORD KEY_LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD LABEL_STYLE = WS_CHILD | WS_VISIBLE | SS_RIGHT;

constexpr int BUTTON_ROWS_PER_COLUMN = 16;
constexpr int AXIS_ROWS_PER_COLUMN = 6;
constexpr int ROW_SPACING = 30;
constexpr int BUTTON_ROWS_TOP = 17;
constexpr int AXIS_ROWS_TOP = 100;
constexpr int BUTTON_LABEL_WIDTH = 150;
constexpr int AXIS_LABEL_WIDTH = 90;
constexpr int32_t STEPS_MINIMUM = 1;
constexpr int32_t STEPS_MAXIMUM = 120;

// Every place below is in pixels at 96 DPI; the controls are made at uiDpi.

// Where one column of slot rows lies, in its page's coordinates.
struct RowColumn {
    int page;
    SlotIndex firstSlot;
    int rowCount;
    int top;
    int labelX;
    int labelWidth;
    int selectX;
    int keyListX;
};

constexpr RowColumn ROW_COLUMNS[] = {
    {0, 0, BUTTON_ROWS_PER_COLUMN, BUTTON_ROWS_TOP, -8, BUTTON_LABEL_WIDTH, 148, 204},
    {0, 16, BUTTON_ROWS_PER_COLUMN, BUTTON_ROWS_TOP, 301, BUTTON_LABEL_WIDTH, 457, 513},
    {1, 32, BUTTON_ROWS_PER_COLUMN, BUTTON_ROWS_TOP, -8, BUTTON_LABEL_WIDTH, 148, 204},
    {1, 48, BUTTON_ROWS_PER_COLUMN, BUTTON_ROWS_TOP, 301, BUTTON_LABEL_WIDTH, 457, 513},
};
constexpr RowColumn AXIS_COLUMNS[] = {
    {2, 64, AXIS_ROWS_PER_COLUMN, AXIS_ROWS_TOP, 25, AXIS_LABEL_WIDTH, 121, 177},
    {2, 70, AXIS_ROWS_PER_COLUMN, AXIS_ROWS_TOP, 280, AXIS_LABEL_WIDTH, 376, 432},
};

constexpr WNDPROC PAGE_PROCEDURES[PAGE_COUNT] = {regularPageProc, modifiedPageProc, axisPulsePageProc};
constexpr const char* TAB_TEXTS[PAGE_COUNT] = {"Regular", "Modified", "Axis Pulse"};

// A control and its place at 96 DPI, kept to place it anew when the DPI
// changes.
struct PlacedControl {
    HWND window;
    Placement at;
};

HINSTANCE instance = nullptr;
std::vector<PlacedControl> placedControls;

HWND createWindow(HWND parent, DWORD exStyle, const char* className, const char* text, DWORD style, Placement at,
                  int id)
{
    return CreateWindowExA(exStyle, className, text, style, at.x, at.y, at.width, at.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// Every control but the pages is drawn in the one font of the window.
HWND createControl(HWND parent, const char* className, const char* text, DWORD style, Placement at, int id,
                   DWORD exStyle = 0)
{
    HWND control = createWindow(parent, exStyle, className, text, style, scaleToDpi(at, uiDpi), id);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), TRUE);
    placedControls.push_back({control, at});
    return control;
}

PanelControl createNumberedControl(HWND parent, const char* className, const char* text, DWORD style, Placement at,
                                   DWORD exStyle = 0)
{
    const int id = nextControlId++;
    return {id, createControl(parent, className, text, style, at, id, exStyle)};
}

void buildTopRow(HWND window)
{
    EditorPanel& panel = editorPanel;
    panel.groupBox =
        createControl(window, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, {140, 0, 344, 48}, GROUP_BOX_ID);
    panel.startButton = createNumberedControl(window, "BUTTON", "Start", PUSH_BUTTON_STYLE, {150, 14, 45, 25});
    panel.stopButton = createNumberedControl(window, "BUTTON", "Stop", PUSH_BUTTON_STYLE, {201, 14, 45, 25});
    panel.continuousSelectBox =
        createNumberedControl(window, "BUTTON", "Continuous Select", CHECK_BOX_STYLE, {271, 19, 120, 15});
    panel.clearAllButton = createNumberedControl(window, "BUTTON", "Clear All", PUSH_BUTTON_STYLE, {411, 14, 61, 25});
}

void buildTab(HWND window)
{
    const PanelControl tab = createNumberedControl(
        window, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, {10, 57, 626, 526});
    editorPanel.tabId = tab.id;
    editorPanel.tab = tab.window;
    for (int index = 0; index < PAGE_COUNT; ++index) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(TAB_TEXTS[index]);
        SendMessageA(tab.window, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
    }
}

// The pages lie on the tab's display area, in pixels of whatever DPI the
// tab control was placed at.
Placement pagePlacement(HWND window)
{
    RECT area{};
    GetWindowRect(editorPanel.tab, &area);
    SendMessageA(editorPanel.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    POINT corner{area.left, area.top};
    ScreenToClient(window, &corner);
    return {corner.x, corner.y + 2, area.right - area.left - 2, area.bottom - area.top - 3};
}

// The pages are siblings lying on the tab's display area, not its children,
// so that their controls notify the pages' own procedures.
void buildPages(HWND window)
{
    const Placement at = pagePlacement(window);
    for (int index = 0; index < PAGE_COUNT; ++index) {
        // WS_EX_CONTROLPARENT lets Tab move through the visible page's controls.
        HWND page = createWindow(window, WS_EX_CONTROLPARENT, "STATIC", "", WS_CHILD | WS_VISIBLE, at, 0);
        // Nothing of the static control is kept: a page is a plain window.
        SetWindowLongPtrA(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PAGE_PROCEDURES[index]));
        editorPanel.pages[index] = page;
    }
}

// The 76 lists' 19,456 entries are the start-up's main cost. Measured under
// Wine: with redrawing off the fill takes about a third less time; reserving
// the storage first (CB_INITSTORAGE) gained nothing.
void fillKeyList(HWND list)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int position = 0; position < KEY_CODE_COUNT; ++position)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(KeyNameTable[KeyListOrder[position]]));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void buildRow(SlotIndex slot, const char* name, HWND page, const RowColumn& column, int y)
{
    SlotRow& row = editorPanel.rows[slot];
    row.label =
        createNumberedControl(page, "STATIC", name, LABEL_STYLE, {column.labelX, y, column.labelWidth, 16}).window;

    const PanelControl select =
        createNumberedControl(page, "BUTTON", "Select", SELECT_BUTTON_STYLE, {column.selectX, y - 5, 45, 25});
    // Every "Select" button has the same class procedure, so one copy serves all.
    previousSelectButtonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(select.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(selectButtonProc)));
    row.selectId = select.id;
    row.selectButton = select.window;

    const PanelControl list =
        createNumberedControl(page, "ComboBox", "Trackbar", KEY_LIST_STYLE, {column.keyListX, y - 5, 88, 50});
    fillKeyList(list.window);
    row.keyListId = list.id;
    row.keyList = list.window;
}

void buildRows(const RowColumn& column, const char* const* names)
{
    for (int k = 0; k < column.rowCount; ++k)
        buildRow(column.firstSlot + k, names[k], editorPanel.pages[column.page], column, column.top + ROW_SPACING * k);
}

void buildPulseSettings()
{
    HWND page = editorPanel.pages[2];
    editorPanel.pulseCheckBox = createNumberedControl(page, "BUTTON", "Use Axis Pulses (Pulses Keys as a PWM Output)",
                                                      CHECK_BOX_STYLE, {20, 20, 300, 15});
    editorPanel.stepsLabel =
        createNumberedControl(page, "STATIC", "Steps / Cycle Length:", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                              {20, 48, 118, 16})
            .window;
    const PanelControl steps = createNumberedControl(
        page, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, {138, 45, 50, 21}, WS_EX_CLIENTEDGE);
    editorPanel.stepsField.bind(steps.id, steps.window, STEPS_MINIMUM, STEPS_MAXIMUM, 0, keyTable.cycleSteps);
}

void bindRowsToKeyTable()
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        editorPanel.rows[slot].keyCell = &keyTable.keyCell(slot);
}

}  // namespace

void buildPanel(HWND window)
{
    instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    placedControls.clear();
    buildTopRow(window);
    buildTab(window);
    buildPages(window);
    showPage(static_cast<int>(SendMessageA(editorPanel.tab, TCM_GETCURSEL, 0, 0)));
    computeKeyListPosition();
    for (const RowColumn& column : ROW_COLUMNS)
        buildRows(column, ButtonNameTable + column.firstSlot);
    buildPulseSettings();
    for (const RowColumn& column : AXIS_COLUMNS)
        buildRows(column, editorPanel.axisNames + (column.firstSlot - FIRST_AXIS_SLOT));
    bindRowsToKeyTable();
}

// In creation order, as buildPanel placed them; the tab control is placed
// before the pages are laid on it.
void rescalePanel()
{
    constexpr UINT PLACE_ONLY = SWP_NOZORDER | SWP_NOACTIVATE;
    for (const PlacedControl& control : placedControls) {
        const Placement at = scaleToDpi(control.at, uiDpi);
        SetWindowPos(control.window, nullptr, at.x, at.y, at.width, at.height, PLACE_ONLY);
        SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), TRUE);
    }
    const Placement page = pagePlacement(GetParent(editorPanel.tab));
    for (HWND window : editorPanel.pages)
        SetWindowPos(window, nullptr, page.x, page.y, page.width, page.height, PLACE_ONLY);
}
