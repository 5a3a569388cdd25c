#include "documents/settings.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/main_window/confirm.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/window_title.h"

void onContinuousSelectClicked()
{
    programSettings.continuousSelect = isChecked(editorPanel.continuousSelectBox.window);
    saveSettings(programSettings);
}

void onClearAll()
{
    if (!confirm(mainWindow, "Clear all selected keys?"))
        return;
    keyTable.resetToDefaults();
    markModified();
    updateTitle(mainWindow);
    refreshFromModel();
    applyPulseEnabling();
}
