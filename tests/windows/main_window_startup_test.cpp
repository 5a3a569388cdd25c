#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dbt.h>

#include "documents/key_file.h"
#include "main_window_fixture.h"
#include "ui/editor/editor_panel.h"
#include "ui/editor/key_capture.h"
#include "ui/main_window/command_ids.h"

namespace {

class MainWindowStartupTest : public MainWindowTest {
protected:
    bool continuousSelectChecked() const
    {
        return SendMessageA(editorPanel.continuousSelectBox.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // The main window is never shown here, so a page's own style tells.
    static bool pageShown(int index) { return (GetWindowLongA(editorPanel.pages[index], GWL_STYLE) & WS_VISIBLE) != 0; }

    void expectRunByDefaultChecked(bool enabled) const
    {
        EXPECT_EQ(menuChecked(CMD_RUN_ENABLED), enabled);
        EXPECT_EQ(menuChecked(CMD_RUN_DISABLED), !enabled);
    }
};

}  // namespace

TEST_F(MainWindowStartupTest, WithoutConfigurationNothingIsOpenOrChecked)
{
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
    EXPECT_TRUE(documentState.filePath.empty());
    EXPECT_FALSE(documentState.modified);
    expectRunByDefaultChecked(false);
    EXPECT_FALSE(continuousSelectChecked());
    EXPECT_FALSE(worker.running());
    EXPECT_FALSE(IsWindowEnabled(editorPanel.startButton.window));
    EXPECT_FALSE(IsWindowEnabled(editorPanel.stopButton.window));
    EXPECT_FALSE(fileExists(settingsFilePath()));
}

TEST_F(MainWindowStartupTest, ReopensTheLastFileWithTheStoredChoices)
{
    const std::string file = keyFileWithFirstButton("racing.qvxkeys", 'A');
    writeBytes(settingsFilePath(), settingsBytes(true, false, file));
    recreateWindow();

    EXPECT_EQ(documentState.filePath, file);
    EXPECT_FALSE(documentState.modified);
    EXPECT_EQ(keyTable.slotKey(0), 'A');
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [racing.qvxkeys] - Not Connected");
    EXPECT_TRUE(continuousSelectChecked());
    expectRunByDefaultChecked(false);
}

// A last file that cannot be read (its drive not plugged in) leaves no
// document, but the user's settings stand: Run By Default starts output, and
// the next write of the configuration still names the file.
TEST_F(MainWindowStartupTest, ALastFileThatCannotBeReadKeepsTheSettings)
{
    const Bytes stored = settingsBytes(true, true, path("unplugged.qvxkeys"));
    writeBytes(settingsFilePath(), stored);
    plugHandleIn();
    recreateWindow();

    EXPECT_TRUE(documentState.filePath.empty());
    EXPECT_FALSE(documentState.modified);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
    expectRunByDefaultChecked(true);
    EXPECT_TRUE(worker.running());
    EXPECT_TRUE(continuousSelectChecked());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(readBytes(settingsFilePath()), stored);

    SendMessageA(editorPanel.continuousSelectBox.window, BM_SETCHECK, BST_UNCHECKED, 0);
    sendCommand(static_cast<WORD>(editorPanel.continuousSelectBox.id));
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, true, path("unplugged.qvxkeys")));
}

// Settings of an earlier version hold the path in the system's legacy code
// page; the file, named in UTF-8 as every path is now, still reopens.
TEST_F(MainWindowStartupTest, ALastFileStoredInTheLegacyCodePageReopens)
{
    const std::string file = keyFileWithFirstButton("caf\xC3\xA9.qvxkeys", 'A');
    DWORD codePage = 0;
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<char*>(&codePage), sizeof codePage);
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_UTF8, 0, file.c_str(), -1, wide, MAX_PATH);
    char legacy[MAX_PATH] = {};
    WideCharToMultiByte(codePage, 0, wide, -1, legacy, MAX_PATH, nullptr, nullptr);
    ASSERT_NE(file, legacy);
    writeBytes(settingsFilePath(), settingsBytes(false, false, legacy));
    recreateWindow();

    EXPECT_EQ(documentState.filePath, file);
    EXPECT_EQ(keyTable.slotKey(0), 'A');
}

// A file named on the command line is opened as Open opens it, in place of
// the last file; one that cannot be read is reported, and the start goes on
// without a document.
TEST_F(MainWindowStartupTest, AFileNamedOnTheCommandLineIsOpenedInsteadOfTheLastOne)
{
    const std::string last = keyFileWithFirstButton("last.qvxkeys", 'L');
    const std::string named = keyFileWithFirstButton("named.qvxkeys", 'N');
    writeBytes(settingsFilePath(), settingsBytes(true, false, last));
    recreateWindow(named.c_str());
    EXPECT_EQ(documentState.filePath, named);
    EXPECT_EQ(keyTable.slotKey(0), 'N');
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [named.qvxkeys] - Not Connected");
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, false, named));
    EXPECT_TRUE(continuousSelectChecked());

    const std::string missing = path("missing.qvxkeys");
    recreateWindow(missing.c_str());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, missing);
    EXPECT_EQ(prompts.shown[0].caption, "File not found!");
    EXPECT_TRUE(documentState.filePath.empty());
    EXPECT_EQ(keyTable.slotKey(0), 0);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Not Connected");
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, false, named));
}

// CreateWindowExA returns before the window is ever shown.
TEST_F(MainWindowStartupTest, RunByDefaultWithTheHandleRunsBeforeTheWindowIsShown)
{
    const std::string file = keyFileWithFirstButton("racing.qvxkeys", 'A');
    writeBytes(settingsFilePath(), settingsBytes(false, true, file));
    plugHandleIn();
    recreateWindow();

    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(worker.running());
    EXPECT_FALSE(IsWindowEnabled(editorPanel.startButton.window));
    EXPECT_TRUE(IsWindowEnabled(editorPanel.stopButton.window));
    expectRunByDefaultChecked(true);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [racing.qvxkeys] - Connected");
}

TEST_F(MainWindowStartupTest, RunByDefaultWithoutTheHandleWaits)
{
    const std::string file = keyFileWithFirstButton("racing.qvxkeys", 'A');
    writeBytes(settingsFilePath(), settingsBytes(false, true, file));
    recreateWindow();

    EXPECT_FALSE(worker.running());
    expectRunByDefaultChecked(true);
    EXPECT_FALSE(IsWindowEnabled(editorPanel.startButton.window));
}

TEST_F(MainWindowStartupTest, HandleWithoutRunByDefaultOffersStart)
{
    plugHandleIn();
    recreateWindow();
    EXPECT_FALSE(worker.running());
    EXPECT_TRUE(IsWindowEnabled(editorPanel.startButton.window));
    EXPECT_FALSE(IsWindowEnabled(editorPanel.stopButton.window));
    EXPECT_EQ(title(), "Corvanta Key Press Emulator - Connected");
}

// A second window starts from scratch: control IDs from 10000 again, the
// window inactive, the link rediscovered.
TEST_F(MainWindowStartupTest, CreationResetsTheProcessState)
{
    captureState.windowActive = true;
    link.connected = true;
    nextControlId = 12345;
    recreateWindow();
    EXPECT_EQ(editorPanel.startButton.id, 10000);
    EXPECT_EQ(editorPanel.stopButton.id, 10001);
    EXPECT_EQ(editorPanel.continuousSelectBox.id, 10002);
    EXPECT_EQ(editorPanel.clearAllButton.id, 10003);
    EXPECT_FALSE(captureState.windowActive);
    EXPECT_FALSE(link.connected);
    EXPECT_EQ(mainWindow, window);
}

TEST_F(MainWindowStartupTest, ActivationIsRecordedAndAnsweredWithZero)
{
    EXPECT_EQ(SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0), 0);
    EXPECT_TRUE(captureState.windowActive);
    EXPECT_EQ(SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0), 0);
    EXPECT_FALSE(captureState.windowActive);
    EXPECT_EQ(SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0), 0);
    EXPECT_TRUE(captureState.windowActive);
}

TEST_F(MainWindowStartupTest, TabSelectionShowsItsPage)
{
    SendMessageA(editorPanel.tab, TCM_SETCURSEL, 2, 0);
    NMHDR header{editorPanel.tab, static_cast<UINT_PTR>(editorPanel.tabId), static_cast<UINT>(TCN_SELCHANGE)};
    EXPECT_EQ(SendMessageA(window, WM_NOTIFY, editorPanel.tabId, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_FALSE(pageShown(0));
    EXPECT_FALSE(pageShown(1));
    EXPECT_TRUE(pageShown(2));

    // Another notification, or one from another control, switches nothing.
    SendMessageA(editorPanel.tab, TCM_SETCURSEL, 1, 0);
    NMHDR other{editorPanel.tab, static_cast<UINT_PTR>(editorPanel.tabId), static_cast<UINT>(TCN_SELCHANGING)};
    EXPECT_EQ(SendMessageA(window, WM_NOTIFY, editorPanel.tabId, reinterpret_cast<LPARAM>(&other)), 0);
    NMHDR foreign{editorPanel.tab, 10001, static_cast<UINT>(TCN_SELCHANGE)};
    EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 10001, reinterpret_cast<LPARAM>(&foreign)), 0);
    EXPECT_FALSE(pageShown(1));
    EXPECT_TRUE(pageShown(2));
}

TEST_F(MainWindowStartupTest, CapturedKeyMessageAssignsAndMarksTheDocument)
{
    documentState.filePath = path("racing.qvxkeys");
    EXPECT_EQ(SendMessageA(window, WM_APP, 70, 'K'), 0);
    EXPECT_EQ(keyTable.slotKey(70), 'K');
    EXPECT_TRUE(documentState.modified);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [*racing.qvxkeys] - Not Connected");
}

// Only the capture timer is the window's; other timers pass unnoticed.
TEST_F(MainWindowStartupTest, TimersAreAnsweredWithZero)
{
    EXPECT_EQ(SendMessageA(window, WM_TIMER, CAPTURE_TIMER_ID, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_TIMER, 401, 0), 0);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(MainWindowStartupTest, ContinuousSelectIsStoredAtOnce)
{
    SendMessageA(editorPanel.continuousSelectBox.window, BM_SETCHECK, BST_CHECKED, 0);
    sendCommand(static_cast<WORD>(editorPanel.continuousSelectBox.id));
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, false, ""));

    recreateWindow();
    EXPECT_TRUE(continuousSelectChecked());
}

TEST_F(MainWindowStartupTest, ClearAllAsksFirst)
{
    keyTable.setSlotKey(3, 'Z');
    sendCommand(static_cast<WORD>(editorPanel.clearAllButton.id));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Clear all selected keys?");
    EXPECT_EQ(keyTable.slotKey(3), 'Z');
}
