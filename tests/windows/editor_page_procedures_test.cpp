#include "editor_fixture.h"

namespace {

using EditorPageProceduresTest = EditorTest;

TEST_F(EditorPageProceduresTest, AChoiceInAKeyListWritesItsSlotAndMarksTheDocument)
{
    documentState.filePath = "C:\\keys\\flight.qvxkeys";
    chooseInList(40, 48);
    EXPECT_EQ(keyTable.buttonKeys[40], 32);
    EXPECT_TRUE(documentState.modified);
    EXPECT_NE(title().find("[*flight.qvxkeys]"), std::string::npos) << title();

    chooseInList(70, 123);
    EXPECT_EQ(keyTable.axisKeys[6], 1);

    keyTable.setSlotKey(5, 65);
    chooseInList(5, 0);
    EXPECT_EQ(keyTable.buttonKeys[5], 0);
    chooseInList(75, 255);
    EXPECT_EQ(keyTable.axisKeys[11], 254);
}

TEST_F(EditorPageProceduresTest, AListWithoutSelectionLeavesItsSlotAndTheDocument)
{
    keyTable.setSlotKey(12, 65);
    chooseInList(12, -1);
    EXPECT_EQ(keyTable.buttonKeys[12], 65);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(EditorPageProceduresTest, APageIgnoresTheControlsOfOtherPages)
{
    SendMessageA(row(40).keyList, CB_SETCURSEL, 1, 0);
    SendMessageA(editorPanel.pages[0], WM_COMMAND, MAKEWPARAM(row(40).keyListId, CBN_SELCHANGE), 0);
    SendMessageA(editorPanel.pages[2], WM_COMMAND, MAKEWPARAM(row(40).keyListId, CBN_SELCHANGE), 0);
    EXPECT_EQ(keyTable.buttonKeys[40], 0);
    SendMessageA(row(64).selectButton, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(editorPanel.pages[1], WM_COMMAND, MAKEWPARAM(row(64).selectId, BN_CLICKED), 0);
    EXPECT_FALSE(captureState.capturing);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(EditorPageProceduresTest, ClickingThePressedSelectButtonAgainEndsTheCapture)
{
    clickSelect(5);
    EXPECT_TRUE(captureState.capturing);
    EXPECT_EQ(captureState.captureSlot, 5);
    EXPECT_TRUE(checked(row(5).selectButton));
    EXPECT_EQ(GetFocus(), row(5).selectButton);
    EXPECT_TRUE(captureTimerTicks());

    clickSelect(5);
    EXPECT_FALSE(captureState.capturing);
    EXPECT_FALSE(checked(row(5).selectButton));
    EXPECT_FALSE(captureTimerTicks());
    EXPECT_EQ(keyTable.buttonKeys[5], 0);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(EditorPageProceduresTest, ClickingAnotherSelectButtonOfThePageMovesTheCapture)
{
    clickSelect(3);
    clickSelect(20);
    EXPECT_TRUE(captureState.capturing);
    EXPECT_EQ(captureState.captureSlot, 20);
    EXPECT_FALSE(checked(row(3).selectButton));
    EXPECT_TRUE(checked(row(20).selectButton));
    EXPECT_EQ(GetFocus(), row(20).selectButton);
    EXPECT_TRUE(captureTimerTicks());
}

TEST_F(EditorPageProceduresTest, FocusLeavingTheSelectButtonsEndsTheCapture)
{
    clickSelect(3);
    SetFocus(row(3).keyList);  // what a click on the list does first
    EXPECT_FALSE(captureState.capturing);
    EXPECT_FALSE(checked(row(3).selectButton));
    EXPECT_FALSE(captureTimerTicks());

    clickSelect(3);
    click(editorPanel.continuousSelectBox.window);
    EXPECT_FALSE(captureState.capturing);
    EXPECT_FALSE(checked(row(3).selectButton));

    clickSelect(40);
    switchTab(2);
    EXPECT_FALSE(captureState.capturing);
    EXPECT_FALSE(checked(row(40).selectButton));
    EXPECT_FALSE(captureTimerTicks());
}

TEST_F(EditorPageProceduresTest, ThePulseBoxSwitchesPulsesAndTheAxisRows)
{
    showPage(2);
    click(editorPanel.pulseCheckBox.window);
    EXPECT_EQ(keyTable.pulseEnabled, 1);
    EXPECT_TRUE(IsWindowEnabled(editorPanel.stepsField.window));
    EXPECT_TRUE(IsWindowEnabled(row(64).selectButton));
    EXPECT_TRUE(IsWindowEnabled(row(75).keyList));
    EXPECT_TRUE(documentState.modified);

    documentState.modified = false;
    click(editorPanel.pulseCheckBox.window);
    EXPECT_EQ(keyTable.pulseEnabled, 0);
    EXPECT_FALSE(IsWindowEnabled(editorPanel.stepsField.window));
    EXPECT_FALSE(IsWindowEnabled(row(64).selectButton));
    EXPECT_FALSE(IsWindowEnabled(row(75).keyList));
    EXPECT_TRUE(IsWindowEnabled(row(75).label));
    EXPECT_TRUE(documentState.modified);
}

TEST_F(EditorPageProceduresTest, LeavingTheStepsFieldCommitsItAndMarksTheDocument)
{
    showPage(2);
    click(editorPanel.pulseCheckBox.window);
    HWND steps = editorPanel.stepsField.window;
    SetFocus(steps);
    SetWindowTextA(steps, "0");
    navigateWith(steps, VK_TAB);
    EXPECT_NE(GetFocus(), steps);
    EXPECT_EQ(textOf(steps), "1");
    EXPECT_EQ(keyTable.cycleSteps, 1);

    // Leaving it unchanged still counts as an edit.
    SetFocus(steps);
    documentState.modified = false;
    SetFocus(editorPanel.pulseCheckBox.window);
    EXPECT_EQ(keyTable.cycleSteps, 1);
    EXPECT_TRUE(documentState.modified);
}

// Space released on a focused button clicks it.
void pressSpaceOn(HWND button)
{
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(button, WM_CHAR, ' ', 0x00390001);
    SendMessageA(button, WM_KEYUP, VK_SPACE, 0xC0390001);
}

// A capture keeps every key from dialog navigation and from the button;
// otherwise a "Select" button is a push button that Space presses and Tab
// leaves, also right after a capture ended on it.
TEST_F(EditorPageProceduresTest, SelectButtonsKeepKeysOnlyWhileACaptureRuns)
{
    showPage(0);
    HWND select = row(7).selectButton;
    SetFocus(select);
    navigateWith(select, VK_TAB);
    EXPECT_NE(GetFocus(), select);

    SetFocus(select);
    pressSpaceOn(select);
    EXPECT_TRUE(captureState.capturing);
    EXPECT_EQ(captureState.captureSlot, 7);
    EXPECT_EQ(SendMessageA(select, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    for (WPARAM key : {VK_TAB, VK_RETURN, VK_ESCAPE, VK_DOWN, VK_RIGHT}) {
        navigateWith(select, key);
        EXPECT_EQ(GetFocus(), select) << key;
    }
    pressSpaceOn(select);
    EXPECT_TRUE(checked(select));
    EXPECT_TRUE(captureState.capturing);

    clickSelect(7);
    ASSERT_FALSE(captureState.capturing);
    navigateWith(select, VK_TAB);
    EXPECT_NE(GetFocus(), select);
}

}  // namespace
