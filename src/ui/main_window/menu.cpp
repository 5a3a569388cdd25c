#include "ui/main_window/menu.h"

#include "ui/main_window/command_ids.h"

namespace {

HMENU buildFileMenu()
{
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, CMD_NEW, "&New\tCtrl-N");
    AppendMenuA(file, MF_STRING, CMD_OPEN, "&Open\tCtrl-O");
    AppendMenuA(file, MF_STRING, CMD_SAVE, "&Save\tCtrl-S");
    AppendMenuA(file, MF_STRING, CMD_SAVE_AS, "&Save As...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, CMD_QUIT, "&Quit\tCtrl-Q");
    return file;
}

HMENU buildConfigMenu()
{
    HMENU runByDefault = CreatePopupMenu();
    AppendMenuA(runByDefault, MF_STRING, CMD_RUN_ENABLED, "&Enabled");
    AppendMenuA(runByDefault, MF_STRING, CMD_RUN_DISABLED, "&Disabled");
    HMENU config = CreatePopupMenu();
    AppendMenuA(config, MF_POPUP, reinterpret_cast<UINT_PTR>(runByDefault), "&Run By Default");
    AppendMenuA(config, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(config, MF_STRING, CMD_START_WITH_WINDOWS, "Start with &Windows");
    return config;
}

HMENU buildHelpMenu()
{
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, CMD_ABOUT, "&About Corvanta Key Press Emulator");
    return help;
}

}  // namespace

HMENU buildMenu()
{
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildFileMenu()), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildConfigMenu()), "&Config");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildHelpMenu()), "&Help");
    return bar;
}
