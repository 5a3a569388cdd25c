#include "editor_fixture.h"

namespace {

struct Box {
    LONG x;
    LONG y;
    LONG width;
    LONG height;
};

// A control's rectangle in its parent's client coordinates.
Box boxOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void expectBox(HWND control, Box expected, const char* what)
{
    const Box box = boxOf(control);
    EXPECT_EQ(box.x, expected.x) << what;
    EXPECT_EQ(box.y, expected.y) << what;
    EXPECT_EQ(box.width, expected.width) << what;
    EXPECT_EQ(box.height, expected.height) << what;
}

// A drop-down list's window is as high as its closed field, whatever its
// creation height; its place and width are what the layout fixes.
void expectListPlace(HWND list, LONG x, LONG y, const char* what, LONG width = 88)
{
    const Box box = boxOf(list);
    EXPECT_EQ(box.x, x) << what;
    EXPECT_EQ(box.y, y) << what;
    EXPECT_EQ(box.width, width) << what;
}

// The pages cover the tab control's display area.
void expectPagesOnTheTab()
{
    RECT area{};
    GetWindowRect(editorPanel.tab, &area);
    SendMessageA(editorPanel.tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(nullptr, GetParent(editorPanel.tab), reinterpret_cast<POINT*>(&area), 2);
    for (HWND page : editorPanel.pages)
        expectBox(page, {area.left, area.top + 2, area.right - area.left - 2, area.bottom - area.top - 3}, "page");
}

int idOf(HWND control)
{
    return static_cast<int>(GetWindowLongPtrA(control, GWLP_ID));
}

std::string classOf(HWND control)
{
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

DWORD styleOf(HWND control)
{
    return static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
}

DWORD extendedStyleOf(HWND control)
{
    return static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
}

bool visible(HWND window)
{
    return (styleOf(window) & WS_VISIBLE) != 0;
}

bool enabled(HWND window)
{
    return IsWindowEnabled(window) != FALSE;
}

std::string listEntry(HWND list, int position)
{
    char text[64] = {};
    SendMessageA(list, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(text));
    return text;
}

constexpr DWORD SELECT_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_PUSHLIKE | BS_AUTOCHECKBOX;
constexpr DWORD KEY_LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;

using EditorPanelTest = EditorTest;

TEST_F(EditorPanelTest, ControlIdsFollowTheCreationOrder)
{
    const PanelControl top[] = {editorPanel.startButton, editorPanel.stopButton, editorPanel.continuousSelectBox,
                                editorPanel.clearAllButton};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(top[k].id, 10000 + k);
        EXPECT_EQ(idOf(top[k].window), 10000 + k);
    }
    EXPECT_EQ(editorPanel.tabId, 10004);
    EXPECT_EQ(idOf(editorPanel.tab), 10004);
    EXPECT_EQ(idOf(editorPanel.groupBox), GROUP_BOX_ID);
    for (HWND page : editorPanel.pages)
        EXPECT_EQ(idOf(page), 0);

    struct RowIds {
        SlotIndex slot;
        int label;
    };
    for (const RowIds& expected : {RowIds{0, 10005}, RowIds{31, 10098}, RowIds{32, 10101}, RowIds{63, 10194},
                                   RowIds{64, 10200}, RowIds{75, 10233}}) {
        const SlotRow& slotRow = row(expected.slot);
        EXPECT_EQ(idOf(slotRow.label), expected.label) << expected.slot;
        EXPECT_EQ(slotRow.selectId, expected.label + 1) << expected.slot;
        EXPECT_EQ(idOf(slotRow.selectButton), expected.label + 1) << expected.slot;
        EXPECT_EQ(slotRow.keyListId, expected.label + 2) << expected.slot;
        EXPECT_EQ(idOf(slotRow.keyList), expected.label + 2) << expected.slot;
        // The control found by its ID on its page is the row's own.
        EXPECT_EQ(GetDlgItem(GetParent(slotRow.keyList), slotRow.keyListId), slotRow.keyList) << expected.slot;
    }
    EXPECT_EQ(editorPanel.pulseCheckBox.id, 10197);
    EXPECT_EQ(idOf(editorPanel.pulseCheckBox.window), 10197);
    EXPECT_EQ(idOf(editorPanel.stepsLabel), 10198);
    EXPECT_EQ(editorPanel.stepsField.id, 10199);
    EXPECT_EQ(idOf(editorPanel.stepsField.window), 10199);
    EXPECT_EQ(nextControlId, 10236);
}

TEST_F(EditorPanelTest, ControlsHaveTheirClassesTextsStylesAndParents)
{
    EXPECT_EQ(classOf(editorPanel.groupBox), "Button");
    EXPECT_EQ(styleOf(editorPanel.groupBox) & (WS_CHILD | WS_VISIBLE | BS_TYPEMASK),
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_GROUPBOX));
    EXPECT_EQ(textOf(editorPanel.groupBox), "");
    EXPECT_EQ(textOf(editorPanel.startButton.window), "Start");
    EXPECT_EQ(textOf(editorPanel.stopButton.window), "Stop");
    EXPECT_EQ(textOf(editorPanel.clearAllButton.window), "Clear All");
    EXPECT_EQ(styleOf(editorPanel.stopButton.window) & (WS_TABSTOP | BS_TYPEMASK),
              static_cast<DWORD>(WS_TABSTOP | BS_PUSHBUTTON));
    EXPECT_EQ(textOf(editorPanel.continuousSelectBox.window), "Continuous Select");
    EXPECT_EQ(styleOf(editorPanel.continuousSelectBox.window) & (WS_TABSTOP | BS_TYPEMASK),
              static_cast<DWORD>(WS_TABSTOP | BS_AUTOCHECKBOX));

    EXPECT_EQ(classOf(editorPanel.tab), "SysTabControl32");
    EXPECT_EQ(styleOf(editorPanel.tab) & (WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP),
              static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP));
    ASSERT_EQ(SendMessageA(editorPanel.tab, TCM_GETITEMCOUNT, 0, 0), 3);
    const char* tabTexts[] = {"Regular", "Modified", "Axis Pulse"};
    for (int index = 0; index < 3; ++index) {
        char text[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(editorPanel.tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, tabTexts[index]);
    }

    for (HWND page : editorPanel.pages) {
        EXPECT_EQ(classOf(page), "Static");
        EXPECT_EQ(GetParent(page), window);
        EXPECT_EQ(extendedStyleOf(page) & WS_EX_CONTROLPARENT, static_cast<DWORD>(WS_EX_CONTROLPARENT));
        EXPECT_EQ(textOf(page), "");
    }
    EXPECT_EQ(GetWindowLongPtrA(editorPanel.pages[0], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(regularPageProc));
    EXPECT_EQ(GetWindowLongPtrA(editorPanel.pages[1], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(modifiedPageProc));
    EXPECT_EQ(GetWindowLongPtrA(editorPanel.pages[2], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(axisPulsePageProc));

    for (SlotIndex slot : {0, 17, 40, 63, 64, 75}) {
        const SlotRow& slotRow = row(slot);
        const HWND page = editorPanel.pages[pageOf(slot)];
        const std::string name = slot < 64 ? ButtonNameTable[slot] : AxisNameTable[slot - 64];
        EXPECT_EQ(GetParent(slotRow.label), page) << slot;
        EXPECT_EQ(GetParent(slotRow.selectButton), page) << slot;
        EXPECT_EQ(GetParent(slotRow.keyList), page) << slot;
        EXPECT_EQ(textOf(slotRow.label), name) << slot;
        EXPECT_EQ(styleOf(slotRow.label) & (WS_CHILD | WS_VISIBLE | SS_TYPEMASK),
                  static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_RIGHT))
            << slot;
        EXPECT_EQ(classOf(slotRow.selectButton), "Button") << slot;
        EXPECT_EQ(textOf(slotRow.selectButton), "Select") << slot;
        // The axis rows start disabled: the table's defaults have no pulses.
        EXPECT_EQ(styleOf(slotRow.selectButton) & ~WS_DISABLED, SELECT_STYLE) << slot;
        EXPECT_EQ(GetWindowLongPtrA(slotRow.selectButton, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(selectButtonProc))
            << slot;
        EXPECT_EQ(classOf(slotRow.keyList), "ComboBox") << slot;
        // The scroll bar belongs to the drop-down part.
        EXPECT_EQ(styleOf(slotRow.keyList) & KEY_LIST_STYLE, KEY_LIST_STYLE & ~WS_VSCROLL) << slot;
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        ASSERT_TRUE(GetComboBoxInfo(slotRow.keyList, &parts));
        EXPECT_EQ(styleOf(parts.hwndList) & WS_VSCROLL, static_cast<DWORD>(WS_VSCROLL)) << slot;
    }
    EXPECT_EQ(row(40).keyCell, &keyTable.buttonKeys[40]);
    EXPECT_EQ(row(64).keyCell, &keyTable.axisKeys[0]);
    EXPECT_EQ(row(75).keyCell, &keyTable.axisKeys[11]);

    EXPECT_EQ(textOf(editorPanel.pulseCheckBox.window), "Use Axis Pulses (Pulses Keys as a PWM Output)");
    EXPECT_EQ(styleOf(editorPanel.pulseCheckBox.window) & (WS_TABSTOP | BS_TYPEMASK),
              static_cast<DWORD>(WS_TABSTOP | BS_AUTOCHECKBOX));
    EXPECT_EQ(textOf(editorPanel.stepsLabel), "Steps / Cycle Length:");
    EXPECT_EQ(styleOf(editorPanel.stepsLabel) & SS_TYPEMASK, static_cast<DWORD>(SS_LEFTNOWORDWRAP));
    const HWND steps = editorPanel.stepsField.window;
    EXPECT_EQ(classOf(steps), "Edit");
    EXPECT_EQ(GetParent(steps), editorPanel.pages[2]);
    EXPECT_EQ(extendedStyleOf(steps) & WS_EX_CLIENTEDGE, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(styleOf(steps) & (WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER),
              static_cast<DWORD>(WS_TABSTOP | ES_AUTOHSCROLL));
    EXPECT_EQ(editorPanel.stepsField.minimum, 1);
    EXPECT_EQ(editorPanel.stepsField.maximum, 120);
    EXPECT_EQ(editorPanel.stepsField.target, &keyTable.cycleSteps);
}

TEST_F(EditorPanelTest, EveryControlButThePagesHasTheWindowsFont)
{
    std::vector<HWND> controls = {editorPanel.groupBox,
                                  editorPanel.startButton.window,
                                  editorPanel.stopButton.window,
                                  editorPanel.continuousSelectBox.window,
                                  editorPanel.clearAllButton.window,
                                  editorPanel.tab,
                                  editorPanel.pulseCheckBox.window,
                                  editorPanel.stepsLabel,
                                  editorPanel.stepsField.window};
    for (const SlotRow& slotRow : editorPanel.rows)
        controls.insert(controls.end(), {slotRow.label, slotRow.selectButton, slotRow.keyList});
    ASSERT_NE(uiFont, nullptr);
    for (HWND control : controls)
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), uiFont);
    for (HWND page : editorPanel.pages)
        EXPECT_EQ(SendMessageA(page, WM_GETFONT, 0, 0), 0);
}

TEST_F(EditorPanelTest, ControlsLieWhereTheLayoutPutsThem)
{
    expectBox(editorPanel.groupBox, {140, 0, 344, 48}, "group box");
    expectBox(editorPanel.startButton.window, {150, 14, 45, 25}, "Start");
    expectBox(editorPanel.stopButton.window, {201, 14, 45, 25}, "Stop");
    expectBox(editorPanel.continuousSelectBox.window, {271, 19, 120, 15}, "Continuous Select");
    expectBox(editorPanel.clearAllButton.window, {411, 14, 61, 25}, "Clear All");
    expectBox(editorPanel.tab, {10, 57, 626, 526}, "tab");

    expectPagesOnTheTab();

    expectBox(row(0).label, {-8, 17, 150, 16}, "slot 0 label");
    expectBox(row(0).selectButton, {148, 12, 45, 25}, "slot 0 Select");
    expectListPlace(row(0).keyList, 204, 12, "slot 0 list");
    expectBox(row(16).label, {301, 17, 150, 16}, "slot 16 label");
    expectBox(row(16).selectButton, {457, 12, 45, 25}, "slot 16 Select");
    expectListPlace(row(16).keyList, 513, 12, "slot 16 list");
    expectBox(row(47).label, {-8, 467, 150, 16}, "slot 47 label");
    expectBox(row(47).selectButton, {148, 462, 45, 25}, "slot 47 Select");
    expectBox(row(63).label, {301, 467, 150, 16}, "slot 63 label");

    expectBox(editorPanel.pulseCheckBox.window, {20, 20, 300, 15}, "pulse box");
    expectBox(editorPanel.stepsLabel, {20, 48, 118, 16}, "steps label");
    expectBox(editorPanel.stepsField.window, {138, 45, 50, 21}, "steps field");
    expectBox(row(64).label, {25, 100, 90, 16}, "slot 64 label");
    expectBox(row(64).selectButton, {121, 95, 45, 25}, "slot 64 Select");
    expectListPlace(row(64).keyList, 177, 95, "slot 64 list");
    expectBox(row(69).label, {25, 250, 90, 16}, "slot 69 label");
    expectBox(row(70).label, {280, 100, 90, 16}, "slot 70 label");
    expectBox(row(75).label, {280, 250, 90, 16}, "slot 75 label");
    expectBox(row(75).selectButton, {376, 245, 45, 25}, "slot 75 Select");
    expectListPlace(row(75).keyList, 432, 245, "slot 75 list");
}

// Moved to a display at 150%: the window takes the suggested rectangle, each
// control its place at 144 DPI and a new font; the document, the lists and
// a running capture stay. Back at 96 DPI everything lies where it lay.
TEST_F(EditorPanelTest, ADpiChangeRescalesTheWindowAndKeepsWhatItShows)
{
    chooseInList(40, 48);
    clickSelect(40);
    const HFONT fontBefore = uiFont;
    RECT suggested{40, 30, 40 + 983, 30 + 959};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested));
    expectBox(editorPanel.tab, {15, 86, 939, 789}, "tab");
    expectPagesOnTheTab();
    expectBox(row(47).selectButton, {222, 693, 68, 38}, "slot 47 Select");
    expectListPlace(row(16).keyList, 770, 18, "slot 16 list", 132);
    EXPECT_EQ(GetObjectType(fontBefore), 0u);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(row(75).keyList, WM_GETFONT, 0, 0)), uiFont);
    EXPECT_EQ(selection(40), 48);
    EXPECT_TRUE(documentState.modified);
    EXPECT_TRUE(captureState.capturing);

    suggested = {40, 30, 40 + 655, 30 + 639};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    expectBox(row(47).selectButton, {148, 462, 45, 25}, "slot 47 Select");
    expectListPlace(row(16).keyList, 513, 12, "slot 16 list");
}

TEST_F(EditorPanelTest, OnlyTheChosenPageIsShownAboveTheTabControl)
{
    auto expectShown = [](int shown) {
        for (int page = 0; page < PAGE_COUNT; ++page)
            EXPECT_EQ(visible(editorPanel.pages[page]), page == shown) << "page " << page << " with " << shown;
        EXPECT_EQ(GetWindow(editorPanel.tab, GW_HWNDNEXT), nullptr) << "tab control not at the bottom";
    };
    expectShown(0);
    EXPECT_EQ(SendMessageA(editorPanel.tab, TCM_GETCURSEL, 0, 0), 0);
    showPage(2);
    expectShown(2);
    showPage(1);
    expectShown(1);
    switchTab(2);
    expectShown(2);
    EXPECT_EQ(GetFocus(), window);
    switchTab(0);
    expectShown(0);
}

TEST_F(EditorPanelTest, EveryKeyListOffersAllCodesInListOrder)
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        ASSERT_EQ(SendMessageA(row(slot).keyList, CB_GETCOUNT, 0, 0), 256) << slot;
    for (SlotIndex slot : {0, 40, 75}) {
        for (int position = 0; position < 256; ++position)
            ASSERT_EQ(listEntry(row(slot).keyList, position), KeyNameTable[KeyListOrder[position]])
                << "slot " << slot << " position " << position;
    }
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(KeyListOrder[KeyListPosition[code]], code);
}

TEST_F(EditorPanelTest, RefreshShowsTheKeyTableWithoutMarkingTheDocument)
{
    keyTable.setSlotKey(0, 65);    // position 1
    keyTable.setSlotKey(40, 32);   // position 48
    keyTable.setSlotKey(63, 254);  // position 255
    keyTable.setSlotKey(70, 1);    // position 123
    keyTable.setSlotKey(10, 300);  // no position: the list shows no selection
    SendMessageA(row(10).keyList, CB_SETCURSEL, 5, 0);
    keyTable.pulseEnabled = 1;
    keyTable.cycleSteps = 42;
    refreshFromModel();
    EXPECT_EQ(selection(0), 1);
    EXPECT_EQ(selection(40), 48);
    EXPECT_EQ(selection(63), 255);
    EXPECT_EQ(selection(70), 123);
    EXPECT_EQ(selection(10), CB_ERR);
    EXPECT_EQ(selection(75), 0);
    EXPECT_EQ(keyTable.slotKey(10), 300);
    EXPECT_TRUE(checked(editorPanel.pulseCheckBox.window));
    EXPECT_EQ(textOf(editorPanel.stepsField.window), "42");
    EXPECT_EQ(editorPanel.stepsField.value, 42);

    keyTable.pulseEnabled = 0;
    keyTable.cycleSteps = 0;
    refreshFromModel();
    EXPECT_FALSE(checked(editorPanel.pulseCheckBox.window));
    EXPECT_EQ(textOf(editorPanel.stepsField.window), "1");
    EXPECT_EQ(keyTable.cycleSteps, 1);

    keyTable.cycleSteps = 500;
    refreshFromModel();
    EXPECT_EQ(textOf(editorPanel.stepsField.window), "120");
    EXPECT_EQ(keyTable.cycleSteps, 120);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(EditorPanelTest, PulseBoxEnablesExactlyTheStepsFieldAndTheAxisRowsControls)
{
    auto expectAxisControls = [](bool on) {
        EXPECT_EQ(enabled(editorPanel.stepsField.window), on);
        for (SlotIndex slot = 64; slot < SLOT_COUNT; ++slot) {
            EXPECT_EQ(enabled(row(slot).selectButton), on) << slot;
            EXPECT_EQ(enabled(row(slot).keyList), on) << slot;
            EXPECT_TRUE(enabled(row(slot).label)) << slot;
        }
        EXPECT_TRUE(enabled(editorPanel.stepsLabel));
        EXPECT_TRUE(enabled(editorPanel.pulseCheckBox.window));
        for (SlotIndex slot = 0; slot < 64; ++slot) {
            EXPECT_TRUE(enabled(row(slot).selectButton)) << slot;
            EXPECT_TRUE(enabled(row(slot).keyList)) << slot;
        }
    };
    // At start-up the table is at its defaults: no pulses.
    expectAxisControls(false);

    SendMessageA(editorPanel.pulseCheckBox.window, BM_SETCHECK, BST_CHECKED, 0);
    applyPulseEnabling();
    expectAxisControls(true);

    // The box decides, not the table.
    keyTable.pulseEnabled = 1;
    SendMessageA(editorPanel.pulseCheckBox.window, BM_SETCHECK, BST_UNCHECKED, 0);
    applyPulseEnabling();
    expectAxisControls(false);
    EXPECT_FALSE(documentState.modified);
}

}  // namespace
