#include "documents/file_commands.h"

#include "documents/document_state.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/window_title.h"

void markModified() {
    if (documentState.modified) return;
    documentState.modified = true;
    updateTitle(mainWindow);
}

void markClean() {
    if (!documentState.modified) return;
    documentState.modified = false;
    updateTitle(mainWindow);
}
