#include "ui/editor/key_capture.h"

#include "documents/settings.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/slot_groups.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/window_title.h"

CaptureState captureState;

namespace {

bool isKeyDown(int code)
{
    return (GetKeyState(code) & 0x8000) != 0;
}

}  // namespace

// A key already held when the capture starts counts only once it is
// released and pressed again.
void startCapture()
{
    if (captureState.capturing)
        return;
    captureState.capturing = true;
    SetTimer(mainWindow, CAPTURE_TIMER_ID, CAPTURE_PERIOD_MS, nullptr);
    for (int code = 0; code < KEY_CODE_COUNT; ++code)
        captureState.previousDown[code] = isKeyDown(code);
}

void stopCapture()
{
    captureState.capturing = false;
    KillTimer(mainWindow, CAPTURE_TIMER_ID);
}

void advanceSlot()
{
    captureState.captureSlot = nextSlotInGroup(captureState.captureSlot);
}

// One key per tick, the lowest new one; the scan still records every later
// code, so a key that went down together with the winner must be pressed
// again. Scanning upwards also makes a Shift key count as VK_SHIFT, not
// VK_LSHIFT. While another application is active no key counts as down.
void captureTick()
{
    bool found = false;
    for (int code = 0; code < KEY_CODE_COUNT; ++code) {
        const bool down = isKeyDown(code) && captureState.windowActive;
        if (down && !found && code >= FIRST_CAPTURABLE_KEY && !captureState.previousDown[code]) {
            const SlotIndex slot = captureState.captureSlot;
            if (programSettings.continuousSelect)
                advanceSlot();
            else
                stopCapture();
            SendMessageA(mainWindow, WM_APP, slot, code);
            found = true;
        }
        captureState.previousDown[code] = down;
    }
}

// Exactly the capture slot's button is pressed while a capture runs, and it
// takes the focus, so that continuous capture walks from button to button.
void syncSelectButtons()
{
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot) {
        HWND button = editorPanel.rows[slot].selectButton;
        const bool checked = isChecked(button);
        if (captureState.capturing && slot == captureState.captureSlot) {
            if (!checked) {
                SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
                SetFocus(button);
            }
        } else if (checked) {
            SendMessageA(button, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

LRESULT onKeyCaptured(WPARAM wParam, LPARAM lParam)
{
    // A slot beyond the table would write outside it; such a message is not ours.
    if (lParam != 0 && wParam < SLOT_COUNT) {
        keyTable.setSlotKey(static_cast<SlotIndex>(wParam), LOWORD(lParam));
        refreshFromModel();
        markModified();
        updateTitle(mainWindow);
    }
    syncSelectButtons();
    return 0;
}

void onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        captureState.windowActive = false;
        stopCapture();
        syncSelectButtons();
    } else {
        captureState.windowActive = true;
    }
}
