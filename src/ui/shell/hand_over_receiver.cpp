#include "ui/shell/hand_over_receiver.h"

#include <deque>
#include <string>

#include "ui/main_window/file_commands.h"
#include "ui/shell/hand_over.h"
#include "ui/shell/tray_icon.h"

namespace {

std::deque<std::string> handedOverFiles;

}  // namespace

LRESULT onCopyData(HWND window, const COPYDATASTRUCT& data)
{
    std::string path;
    if (!readHandOver(data.dwData, data.lpData, data.cbData, path))
        return FALSE;
    bringToFront(window);
    if (!path.empty()) {
        handedOverFiles.push_back(path);
        PostMessageA(window, WM_APP_OPEN_HANDED_OVER, 0, 0);
    }
    return TRUE;
}

void onOpenHandedOver(HWND window)
{
    if (handedOverFiles.empty())
        return;
    const std::string path = handedOverFiles.front();
    handedOverFiles.pop_front();
    openFileFromShell(window, path);
}
