#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "ui/main_window/confirm.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/title_text.h"
#include "ui/main_window/window_title.h"

TEST_F(MainWindowTest, TitleFollowsDocumentAndConnection)
{
    const struct {
        const char* filePath;
        bool modified;
        int connectResult;
        const char* expected;
    } rows[] = {
        {"", false, 0, "Corvanta Key Press Emulator - Not Connected"},
        {"", true, 0, "Corvanta Key Press Emulator - Not Connected"},
        {"", false, 1, "Corvanta Key Press Emulator - Connected"},
        {"", true, 1, "Corvanta Key Press Emulator - Connected"},
        {"C:\\keys\\racing.qvxkeys", true, 1, "Corvanta Key Press Emulator [*racing.qvxkeys] - Connected"},
        {"C:\\keys\\racing.qvxkeys", false, 0, "Corvanta Key Press Emulator [racing.qvxkeys] - Not Connected"},
        {"C:/keys\\racing.qvxkeys", false, 1, "Corvanta Key Press Emulator [racing.qvxkeys] - Connected"},
    };
    for (const auto& row : rows) {
        documentState.filePath = row.filePath;
        documentState.modified = row.modified;
        connectResult = row.connectResult;
        updateTitle(window);
        EXPECT_EQ(title(), row.expected);
    }
    connectResult = 0;
}

TEST_F(MainWindowTest, AboutShowsTheProgramsTextAndIcon)
{
    sendCommand(120);
    ASSERT_EQ(prompts.shownIndirect.size(), 1u);
    const auto& about = prompts.shownIndirect[0];
    EXPECT_EQ(about.params.cbSize, sizeof(MSGBOXPARAMSA));
    EXPECT_EQ(about.params.hwndOwner, window);
    EXPECT_EQ(about.params.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(about.text, aboutText(buildDateText()));
    EXPECT_EQ(about.caption, "About Corvanta Key Press Emulator");
    EXPECT_EQ(about.params.dwStyle, static_cast<DWORD>(MB_USERICON));
    EXPECT_EQ(about.params.lpszIcon, MAKEINTRESOURCEA(300));
    EXPECT_EQ(about.params.dwContextHelpId, 0u);
    EXPECT_EQ(about.params.lpfnMsgBoxCallback, nullptr);
    EXPECT_EQ(about.params.dwLanguageId, 0u);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowTest, AboutTextForAFixedBuildDate)
{
    EXPECT_EQ(aboutText(buildDateText("Oct  8 2020")),
              "Corvanta Key Press Emulator\nVersion 1.0.3\nOctober 8, 2020\nCorvanta Dynamics, Inc.");
}

TEST_F(MainWindowTest, ConfirmProceedsOnlyOnOk)
{
    prompts.answers = {IDOK, IDCANCEL, 0, IDYES, IDNO, IDABORT};
    EXPECT_TRUE(confirm(window, "Clear all selected keys?"));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(confirm(window, "Clear all selected keys?")) << i;

    ASSERT_EQ(prompts.shown.size(), 6u);
    EXPECT_EQ(prompts.shown[0].owner, window);
    EXPECT_EQ(prompts.shown[0].text, "Clear all selected keys?");
    EXPECT_EQ(prompts.shown[0].caption, "Continue?");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OKCANCEL));
}

// Enter and Esc reach the window as IDOK and IDCANCEL from the dialog
// manager; they and every other identifier outside the command table must
// neither start output, ask, save nor close.
TEST_F(MainWindowTest, CommandsOutsideTheTableDoNothing)
{
    plugHandleIn();
    recreateWindow();
    documentState.filePath = path("keys.qvxkeys");
    documentState.modified = true;
    updateTitle(window);
    const std::string before = title();

    for (WORD id : {IDOK, IDCANCEL, 0, 105, 112, 121, 200, 205, 9999, 10004, 10236})
        sendCommand(id);

    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(worker.running());
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(prompts.shownIndirect.empty());
    EXPECT_TRUE(prompts.openDialogs.empty());
    EXPECT_TRUE(prompts.saveDialogs.empty());
    EXPECT_FALSE(fileExists(settingsFilePath()));
    EXPECT_FALSE(fileExists(path("keys.qvxkeys")));
    EXPECT_EQ(title(), before);
}

TEST_F(MainWindowTest, QuitFromTheMenuAsksAboutAnUnnamedModifiedDocument)
{
    documentState.modified = true;
    prompts.answers = {IDOK};
    sendCommand(104);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Close without saving?");
}

TEST_F(MainWindowTest, QuitFromTheAcceleratorClosesLikeTheMenu)
{
    sendCommand(204);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowTest, ClosingANamedModifiedDocumentStaysOpenOnCancel)
{
    documentState.filePath = "C:\\keys\\racing.qvxkeys";
    documentState.modified = true;
    prompts.answers = {IDCANCEL};
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Close without saving?");
    EXPECT_EQ(prompts.shown[0].caption, "Continue?");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OKCANCEL));
}

TEST_F(MainWindowTest, QuitAsksWhatTheCloseButtonAsksAndClosesOnOk)
{
    documentState.filePath = "C:\\keys\\racing.qvxkeys";
    documentState.modified = true;
    prompts.answers = {IDCANCEL, IDOK};
    sendCommand(204);
    EXPECT_TRUE(IsWindow(window));
    sendCommand(104);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text, "Close without saving?");
}

TEST_F(MainWindowTest, ClosingASavedNamedDocumentAsksNothing)
{
    documentState.filePath = "C:\\keys\\racing.qvxkeys";
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainWindowTest, DestructionPostsQuitWithExitCodeZero)
{
    DestroyWindow(window);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
}
