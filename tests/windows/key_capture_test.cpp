#include "editor_fixture.h"

namespace {

// Real keyboard and mouse input reaches the main window, which is made the
// foreground window first; the capture timer runs as in the program.
class KeyCaptureTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        ASSERT_TRUE(bringToFront()) << "the main window could not become the foreground window";
    }

    void turnContinuousSelectOn()
    {
        click(editorPanel.continuousSelectBox.window);
        ASSERT_TRUE(programSettings.continuousSelect);
    }

    void turnPulsesOn()
    {
        showPage(2);
        click(editorPanel.pulseCheckBox.window);
        ASSERT_TRUE(IsWindowEnabled(row(64).selectButton));
    }

    // The capture runs on slot and only its button is pressed and focused.
    void expectCapturingOn(SlotIndex slot)
    {
        EXPECT_TRUE(captureState.capturing);
        EXPECT_EQ(captureState.captureSlot, slot);
        for (SlotIndex other = 0; other < SLOT_COUNT; ++other)
            EXPECT_EQ(checked(row(other).selectButton), other == slot) << other;
        EXPECT_EQ(GetFocus(), row(slot).selectButton);
    }

    void expectIdle()
    {
        EXPECT_FALSE(captureState.capturing);
        for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
            EXPECT_FALSE(checked(row(slot).selectButton)) << slot;
    }

    // Mouse buttons pressed or released over an empty spot of the first
    // page, where a click does not move the focus.
    void sendMouseButtons(bool up)
    {
        POINT spot{610, 300};
        ClientToScreen(editorPanel.pages[0], &spot);
        const LONG screenWidth = GetSystemMetrics(SM_CXSCREEN) - 1;
        const LONG screenHeight = GetSystemMetrics(SM_CYSCREEN) - 1;
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dx = spot.x * 65535 / screenWidth;
        move.mi.dy = spot.y * 65535 / screenHeight;
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        std::vector<INPUT> inputs{move};
        const DWORD downs[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
        const DWORD ups[] = {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP};
        for (DWORD flag : up ? ups : downs) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flag;
            inputs.push_back(input);
        }
        for (DWORD extra : {XBUTTON1, XBUTTON2}) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = up ? MOUSEEVENTF_XUP : MOUSEEVENTF_XDOWN;
            input.mi.mouseData = extra;
            inputs.push_back(input);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        pumpTicks();
    }
};

TEST_F(KeyCaptureTest, ContinuousSelectMovesOnWithinEachGroupAndWraps)
{
    turnContinuousSelectOn();
    clickSelect(31);
    typeKey('A');
    EXPECT_EQ(keyTable.buttonKeys[31], 'A');
    EXPECT_EQ(selection(31), 1);
    expectCapturingOn(0);
    EXPECT_TRUE(documentState.modified);

    clickSelect(63);
    typeKey('B');
    EXPECT_EQ(keyTable.buttonKeys[63], 'B');
    expectCapturingOn(32);

    turnPulsesOn();
    clickSelect(75);
    typeKey('C');
    EXPECT_EQ(keyTable.axisKeys[11], 'C');
    expectCapturingOn(64);
    typeKey('D');
    EXPECT_EQ(keyTable.axisKeys[0], 'D');
    expectCapturingOn(65);
    EXPECT_EQ(keyTable.buttonKeys[0], 0);
    EXPECT_EQ(keyTable.buttonKeys[32], 0);
}

TEST_F(KeyCaptureTest, WithoutContinuousSelectOneKeyAssignsTheSlotAndEndsTheCapture)
{
    keyTable.setSlotKey(8, 'E');
    clickSelect(9);
    typeKey('E');
    EXPECT_EQ(keyTable.buttonKeys[9], 'E');
    EXPECT_EQ(keyTable.buttonKeys[8], 'E');
    expectIdle();
    EXPECT_FALSE(captureTimerTicks());
    typeKey('F');
    EXPECT_EQ(keyTable.buttonKeys[9], 'E');
}

TEST_F(KeyCaptureTest, MouseButtonsAreNeverCaptured)
{
    clickSelect(0);
    sendMouseButtons(false);
    EXPECT_TRUE(GetKeyState(VK_LBUTTON) & 0x8000) << "the mouse input did not arrive";
    EXPECT_EQ(keyTable.buttonKeys[0], 0);
    expectCapturingOn(0);
    sendMouseButtons(true);
    typeKey('K');
    EXPECT_EQ(keyTable.buttonKeys[0], 'K');
}

TEST_F(KeyCaptureTest, TabSpaceAndEnterAreCapturedAndTheFocusStays)
{
    const struct {
        WORD key;
        uint16_t code;
    } keys[] = {{VK_TAB, 9}, {VK_SPACE, 32}, {VK_RETURN, 13}};
    for (const auto& pressed : keys) {
        clickSelect(2);
        typeKey(pressed.key);
        EXPECT_EQ(keyTable.buttonKeys[2], pressed.code);
        EXPECT_EQ(GetFocus(), row(2).selectButton) << pressed.code;
        // Space released on the button would have pressed it again.
        expectIdle();
    }
}

TEST_F(KeyCaptureTest, LeftShiftAndLeftControlGiveTheirGenericCodes)
{
    clickSelect(4);
    typeKey(VK_LSHIFT);
    EXPECT_EQ(keyTable.buttonKeys[4], VK_SHIFT);
    clickSelect(4);
    typeKey(VK_LCONTROL);
    EXPECT_EQ(keyTable.buttonKeys[4], VK_CONTROL);
}

TEST_F(KeyCaptureTest, AKeyHeldWhenTheCaptureStartsCountsOnlyOncePressedAgain)
{
    turnContinuousSelectOn();
    pressKeys({'A'});
    clickSelect(0);
    pumpTicks();
    EXPECT_EQ(keyTable.buttonKeys[0], 0);
    typeKey('B');
    EXPECT_EQ(keyTable.buttonKeys[0], 'B');
    expectCapturingOn(1);
    releaseKeys({'A'});
    EXPECT_EQ(keyTable.buttonKeys[1], 0);
    typeKey('A');
    EXPECT_EQ(keyTable.buttonKeys[1], 'A');
}

TEST_F(KeyCaptureTest, OfTwoKeysInOneTickTheLowerCodeWinsAndTheOtherMustBePressedAgain)
{
    turnContinuousSelectOn();
    clickSelect(10);
    pressKeys({'Z', 'C'});
    EXPECT_EQ(keyTable.buttonKeys[10], 'C');
    pumpTicks();
    EXPECT_EQ(keyTable.buttonKeys[11], 0);
    releaseKeys({'Z', 'C'});
    EXPECT_EQ(keyTable.buttonKeys[11], 0);
    typeKey('Z');
    EXPECT_EQ(keyTable.buttonKeys[11], 'Z');
}

TEST_F(KeyCaptureTest, DeactivatingTheWindowEndsTheCaptureAndHidesTheKeyboard)
{
    clickSelect(6);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 700, 700, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    pumpFor(50);
    EXPECT_FALSE(captureState.windowActive);
    expectIdle();
    EXPECT_FALSE(captureTimerTicks());
    typeKey('Q');
    EXPECT_EQ(keyTable.buttonKeys[6], 0);
    DestroyWindow(other);
}

// Without the active window no key counts as down, so one held across the
// switch is new when the window comes back.
TEST_F(KeyCaptureTest, NoKeyCountsAsDownWhileTheWindowIsInactive)
{
    clickSelect(6);
    captureState.windowActive = false;
    pressKeys({'Q'});
    EXPECT_EQ(keyTable.buttonKeys[6], 0);
    captureState.windowActive = true;
    pumpTicks();
    EXPECT_EQ(keyTable.buttonKeys[6], 'Q');
    releaseKeys({'Q'});
}

TEST_F(KeyCaptureTest, TheCapturedKeyMessageAssignsRefreshesAndSynchronises)
{
    documentState.filePath = "C:\\keys\\flight.qvxkeys";
    keyTable.cycleSteps = 0;
    SendMessageA(window, WM_APP, 9, 0x10041);  // only the low 16 bits count
    EXPECT_EQ(keyTable.buttonKeys[9], 0x41);
    EXPECT_EQ(selection(9), 1);
    EXPECT_EQ(keyTable.cycleSteps, 1);
    EXPECT_TRUE(documentState.modified);
    EXPECT_NE(title().find("[*flight.qvxkeys]"), std::string::npos) << title();

    // Zero only synchronises the buttons with the capture state.
    documentState.modified = false;
    captureState.capturing = true;
    captureState.captureSlot = 12;
    SendMessageA(window, WM_APP, 0, 0);
    EXPECT_EQ(keyTable.buttonKeys[0], 0);
    EXPECT_FALSE(documentState.modified);
    expectCapturingOn(12);
    captureState.capturing = false;
    SendMessageA(window, WM_APP, 0, 0);
    expectIdle();
}

// A slot number beyond the table, which no sender of ours produces, would
// write past the axis keys into the pulse settings.
TEST_F(KeyCaptureTest, ACapturedKeyMessageForNoSlotChangesNothing)
{
    keyTable.pulseEnabled = 0;
    keyTable.cycleSteps = 6;
    for (WPARAM slot : {WPARAM{SLOT_COUNT}, WPARAM{80}, static_cast<WPARAM>(-1)})
        SendMessageA(window, WM_APP, slot, 0x4141);
    EXPECT_EQ(keyTable.pulseEnabled, 0);
    EXPECT_EQ(keyTable.cycleSteps, 6);
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot)
        EXPECT_EQ(keyTable.slotKey(slot), 0) << slot;
    EXPECT_FALSE(documentState.modified);
}

}  // namespace
