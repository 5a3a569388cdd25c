#include "ui/editor/editor_panel.h"

#include <algorithm>
#include <iterator>

#include "model/name_tables.h"

namespace {

EditorPanel panelWithAxisNames()
{
    EditorPanel panel;
    std::copy(std::begin(AxisNameTable), std::end(AxisNameTable), panel.axisNames);
    return panel;
}

}  // namespace

int nextControlId = FIRST_CONTROL_ID;
EditorPanel editorPanel = panelWithAxisNames();

void showPage(int index)
{
    for (int page = 0; page < PAGE_COUNT; ++page)
        ShowWindow(editorPanel.pages[page], page == index ? SW_SHOW : SW_HIDE);
    // Below the pages, the tab control never paints over them.
    SetWindowPos(editorPanel.tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void refreshFromModel()
{
    for (const SlotRow& row : editorPanel.rows) {
        const uint16_t code = row.keyCell->load(std::memory_order_relaxed);
        // A code beyond the lists (only a file can hold one) shows as no
        // selection, never as the key the list showed before.
        const int position = code < KEY_CODE_COUNT ? KeyListPosition[code] : -1;
        SendMessageA(row.keyList, CB_SETCURSEL, position, 0);
    }
    const bool pulse = keyTable.pulseEnabled.load(std::memory_order_relaxed) != 0;
    SendMessageA(editorPanel.pulseCheckBox.window, BM_SETCHECK, pulse ? BST_CHECKED : BST_UNCHECKED, 0);
    editorPanel.stepsField.showTarget();
}

// The box, not pulseEnabled, decides.
void applyPulseEnabling()
{
    enableAxisControls(isChecked(editorPanel.pulseCheckBox.window));
}

void enableAxisControls(bool enabled)
{
    EnableWindow(editorPanel.stepsField.window, enabled);
    for (SlotIndex slot = FIRST_AXIS_SLOT; slot < SLOT_COUNT; ++slot) {
        EnableWindow(editorPanel.rows[slot].selectButton, enabled);
        EnableWindow(editorPanel.rows[slot].keyList, enabled);
    }
}

bool isChecked(HWND button)
{
    return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_CHECKED) != 0;
}
