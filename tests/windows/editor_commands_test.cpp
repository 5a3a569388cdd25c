#include "editor_fixture.h"

namespace {

using EditorCommandsTest = EditorTest;

TEST_F(EditorCommandsTest, ContinuousSelectIsKeptInTheSettingsFile)
{
    click(editorPanel.continuousSelectBox.window);
    EXPECT_TRUE(programSettings.continuousSelect);
    Bytes stored = readBytes(settingsFilePath());
    ASSERT_GE(stored.size(), 4u);
    EXPECT_EQ(stored[0] & 1, 1);

    click(editorPanel.continuousSelectBox.window);
    EXPECT_FALSE(programSettings.continuousSelect);
    stored = readBytes(settingsFilePath());
    ASSERT_GE(stored.size(), 4u);
    EXPECT_EQ(stored[0] & 1, 0);
}

class ClearAllTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        documentState.filePath = "C:\\keys\\flight.qvxkeys";
        keyTable.setSlotKey(3, 'A');
        keyTable.setSlotKey(70, 'B');
        keyTable.pulseEnabled = 1;
        keyTable.cycleSteps = 20;
        refreshFromModel();
        applyPulseEnabling();
    }
};

TEST_F(ClearAllTest, CancelChangesNothing)
{
    prompts.answers = {IDCANCEL};
    click(editorPanel.clearAllButton.window);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].owner, window);
    EXPECT_EQ(prompts.shown[0].text, "Clear all selected keys?");
    EXPECT_EQ(prompts.shown[0].caption, "Continue?");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(keyTable.buttonKeys[3], 'A');
    EXPECT_EQ(keyTable.axisKeys[6], 'B');
    EXPECT_EQ(keyTable.pulseEnabled, 1);
    EXPECT_EQ(keyTable.cycleSteps, 20);
    EXPECT_EQ(selection(3), 1);
    EXPECT_TRUE(IsWindowEnabled(row(70).keyList));
    EXPECT_FALSE(documentState.modified);
}

TEST_F(ClearAllTest, OkEmptiesEveryListAndDisablesTheAxisRows)
{
    prompts.answers = {IDOK};
    click(editorPanel.clearAllButton.window);
    for (SlotIndex slot = 0; slot < SLOT_COUNT; ++slot) {
        EXPECT_EQ(keyTable.slotKey(slot), 0) << slot;
        EXPECT_EQ(selection(slot), 0) << slot;
    }
    EXPECT_EQ(keyTable.pulseEnabled, 0);
    EXPECT_EQ(keyTable.cycleSteps, 6);
    EXPECT_EQ(textOf(editorPanel.stepsField.window), "6");
    EXPECT_FALSE(checked(editorPanel.pulseCheckBox.window));
    EXPECT_FALSE(IsWindowEnabled(editorPanel.stepsField.window));
    EXPECT_FALSE(IsWindowEnabled(row(64).selectButton));
    EXPECT_FALSE(IsWindowEnabled(row(70).keyList));
    EXPECT_TRUE(documentState.modified);
    EXPECT_NE(title().find("[*flight.qvxkeys]"), std::string::npos) << title();
}

}  // namespace
