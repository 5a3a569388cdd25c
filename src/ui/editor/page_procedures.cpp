#include "ui/editor/page_procedures.h"

#include "model/name_tables.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/editor/slot_groups.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/main_window_state.h"

WNDPROC previousSelectButtonProc = nullptr;

namespace {

// The first slot of the group whose row has a control with this ID, or -1.
SlotIndex slotWithId(const SlotGroup& group, int SlotRow::*idField, int id)
{
    for (SlotIndex slot = group.first; slot <= group.last; ++slot)
        if (editorPanel.rows[slot].*idField == id)
            return slot;
    return -1;
}

bool isSelectButtonOf(const SlotGroup& group, HWND window)
{
    for (SlotIndex slot = group.first; slot <= group.last; ++slot)
        if (editorPanel.rows[slot].selectButton == window)
            return true;
    return false;
}

void syncSelectButtonsOfMainWindow()
{
    SendMessageA(mainWindow, WM_APP, 0, 0);
}

void onKeyListChanged(SlotIndex slot)
{
    const SlotRow& row = editorPanel.rows[slot];
    const LRESULT position = SendMessageA(row.keyList, CB_GETCURSEL, 0, 0);
    // No selection means nothing was chosen: the slot and the document stay as they are.
    if (position < 0 || position >= KEY_CODE_COUNT)
        return;
    row.keyCell->store(KeyListOrder[position], std::memory_order_relaxed);
    markModified();
}

void onSelectClicked(SlotIndex slot)
{
    if (isChecked(editorPanel.rows[slot].selectButton)) {
        startCapture();
        captureState.captureSlot = slot;
    } else {
        stopCapture();
    }
    syncSelectButtonsOfMainWindow();
}

// Moving from one "Select" button to another of the page keeps the capture:
// that is how continuous capture walks the page.
void onSelectLostFocus(const SlotGroup& group)
{
    if (isSelectButtonOf(group, GetFocus()))
        return;
    stopCapture();
    syncSelectButtonsOfMainWindow();
}

void onSlotCommand(const SlotGroup& group, int id, int code)
{
    switch (code) {
    case CBN_SELCHANGE: {
        const SlotIndex slot = slotWithId(group, &SlotRow::keyListId, id);
        if (slot >= 0)
            onKeyListChanged(slot);
        break;
    }
    case BN_CLICKED: {
        const SlotIndex slot = slotWithId(group, &SlotRow::selectId, id);
        if (slot >= 0)
            onSelectClicked(slot);
        break;
    }
    case BN_KILLFOCUS:
        // Also CBN_DROPDOWN of the key lists, which carry no "Select" ID.
        if (slotWithId(group, &SlotRow::selectId, id) >= 0)
            onSelectLostFocus(group);
        break;
    default:
        break;
    }
}

void onPulseBoxClicked()
{
    const bool enabled = isChecked(editorPanel.pulseCheckBox.window);
    keyTable.pulseEnabled.store(enabled ? 1 : 0, std::memory_order_relaxed);
    enableAxisControls(enabled);
    markModified();
}

// Leaving the field counts as an edit even when the value stayed.
void onStepsFieldLeft()
{
    editorPanel.stepsField.commit();
    markModified();
}

void onRegularPageCommand(int id, int code)
{
    onSlotCommand(REGULAR_GROUP, id, code);
}

void onModifiedPageCommand(int id, int code)
{
    onSlotCommand(MODIFIED_GROUP, id, code);
}

void onAxisPulsePageCommand(int id, int code)
{
    if (code == BN_CLICKED && id == editorPanel.pulseCheckBox.id) {
        onPulseBoxClicked();
        return;
    }
    if (code == EN_KILLFOCUS) {
        if (id == editorPanel.stepsField.id)
            onStepsFieldLeft();
        return;
    }
    onSlotCommand(AXIS_GROUP, id, code);
}

LRESULT pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void (*onCommand)(int id, int code))
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK regularPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pageProc(window, message, wParam, lParam, onRegularPageCommand);
}

LRESULT CALLBACK modifiedPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pageProc(window, message, wParam, lParam, onModifiedPageCommand);
}

LRESULT CALLBACK axisPulsePageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return pageProc(window, message, wParam, lParam, onAxisPulsePageCommand);
}

// While a capture runs, keys never reach the button, so Space cannot toggle
// it and Tab, Enter or the arrows cannot move the focus: key capture sees
// them all. The key state it reads still follows, as the message loop has
// retrieved them. Otherwise the button is a push button like any other:
// Space presses it and Tab moves on.
LRESULT CALLBACK selectButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (captureState.capturing) {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            return 0;
        default:
            break;
        }
    }
    return CallWindowProcA(previousSelectButtonProc, window, message, wParam, lParam);
}
