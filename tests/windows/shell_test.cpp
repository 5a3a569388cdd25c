#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "main_window_fixture.h"
#include "ui/main_window/command_ids.h"
#include "ui/main_window/window_title.h"
#include "ui/shell/autostart.h"
#include "ui/shell/tray_icon.h"

namespace {

constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Keeps what each call to the notification area asked for.
class RecordedNotifyIcon : public NotifyIconApi {
public:
    std::vector<std::pair<DWORD, std::string>> calls;  // message, tooltip
    std::vector<NOTIFYICONDATAA> records;

    BOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) override
    {
        calls.emplace_back(message, message == NIM_DELETE ? "" : data->szTip);
        records.push_back(*data);
        return TRUE;
    }
};

class ShellTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        useNotifyIcon(&icon);
        MainWindowTest::SetUp();
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        useNotifyIcon(nullptr);
    }

    // The value in the user's Run key, "" when there is none.
    static std::string runValue()
    {
        char data[1024] = {};
        DWORD size = sizeof data;
        RegGetValueA(HKEY_CURRENT_USER, RUN_KEY, AUTOSTART_VALUE_NAME, RRF_RT_REG_SZ, nullptr, data, &size);
        return data;
    }

    // "" deletes the value.
    static void setRunValue(const std::string& command)
    {
        if (command.empty())
            RegDeleteKeyValueA(HKEY_CURRENT_USER, RUN_KEY, AUTOSTART_VALUE_NAME);
        else
            RegSetKeyValueA(HKEY_CURRENT_USER, RUN_KEY, AUTOSTART_VALUE_NAME, REG_SZ, command.c_str(),
                            static_cast<DWORD>(command.size() + 1));
    }

    RecordedNotifyIcon icon;
};

}  // namespace

TEST_F(ShellTest, MinimizedTheWindowIsAnIconInTheNotificationArea)
{
    using Calls = std::vector<std::pair<DWORD, std::string>>;
    ShowWindow(window, SW_SHOW);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(window));
    const std::string unnamed = title();
    EXPECT_EQ(icon.calls, (Calls{{NIM_ADD, unnamed}}));
    const NOTIFYICONDATAA& added = icon.records[0];
    EXPECT_EQ(std::tuple(added.hWnd, added.uFlags, added.uCallbackMessage, added.hIcon != nullptr),
              std::tuple(window, static_cast<UINT>(NIF_ICON | NIF_MESSAGE | NIF_TIP), WM_APP_TRAY_ICON, true));

    // The tooltip follows the title; a restarted Explorer gets the icon again.
    documentState.filePath = path("keys.qvxkeys");
    updateTitle(window);
    SendMessageA(window, taskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(icon.calls, (Calls{{NIM_ADD, unnamed}, {NIM_MODIFY, title()}, {NIM_ADD, title()}}));

    // A click brings the window back, without the icon.
    SendMessageA(window, WM_APP_TRAY_ICON, TRAY_ICON_ID, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(icon.calls.back().first, static_cast<DWORD>(NIM_DELETE));

    // No icon outlives the window.
    ShowWindow(window, SW_MINIMIZE);
    DestroyWindow(window);
    EXPECT_EQ(icon.calls.size(), 6u);
    EXPECT_EQ(icon.calls.back().first, static_cast<DWORD>(NIM_DELETE));
}

// The registry alone holds "Start with Windows"; the item shows it each time
// a menu opens.
TEST_F(ShellTest, StartWithWindowsIsTheRunValueNamingThisProgram)
{
    const std::string before = runValue();
    const struct {
        std::string value;
        bool checked;
    } cases[] = {
        {"", false},
        {autostartCommand(), true},
        {"\"C:\\moved\\CorvantaKeyPressEmulator.exe\" --minimized", false},
    };
    for (const auto& c : cases) {
        setRunValue(c.value);
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(mainMenu, 1)), 1);
        EXPECT_EQ(menuChecked(CMD_START_WITH_WINDOWS), c.checked) << c.value;
    }

    // Checked over another path's value, it names this program.
    sendCommand(CMD_START_WITH_WINDOWS);
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    EXPECT_EQ(runValue(), "\"" + std::string(program) + "\" --minimized");
    EXPECT_TRUE(menuChecked(CMD_START_WITH_WINDOWS));
    sendCommand(CMD_START_WITH_WINDOWS);
    EXPECT_EQ(runValue(), "");
    EXPECT_FALSE(menuChecked(CMD_START_WITH_WINDOWS));
    EXPECT_TRUE(prompts.shown.empty());
    setRunValue(before);
}
