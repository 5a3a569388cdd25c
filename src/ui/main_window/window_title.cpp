#include "ui/main_window/window_title.h"

#include "documents/document_state.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/title_text.h"

void updateTitle(HWND window)
{
    const auto title = composeTitle(documentState.filePath, documentState.modified, connectResult);
    SetWindowTextA(window, title.c_str());
}
