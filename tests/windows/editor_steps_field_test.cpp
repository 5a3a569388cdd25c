#include "editor_fixture.h"

namespace {

using EditorStepsFieldTest = EditorTest;

struct Typed {
    const char* text;
    int32_t committed;
};

TEST_F(EditorStepsFieldTest, CommitTakesTheTypedNumberClampedAndShowsItPlainly)
{
    BoundedIntField& field = editorPanel.stepsField;
    const Typed cases[] = {
        {"", 1},       {"abc", 1}, {"   ", 1}, {"0", 1},    {"-5", 1},           {"121", 120}, {"99999", 120},
        {"12abc", 12}, {"+7", 7},  {"2.9", 2}, {" 007", 7}, {"1234567890", 120}, {"120", 120}, {"1", 1},
    };
    for (const Typed& typed : cases) {
        keyTable.cycleSteps = 55;
        SetWindowTextA(field.window, typed.text);
        field.commit();
        EXPECT_EQ(textOf(field.window), std::to_string(typed.committed)) << '"' << typed.text << '"';
        EXPECT_EQ(field.value, typed.committed) << '"' << typed.text << '"';
        EXPECT_EQ(keyTable.cycleSteps, typed.committed) << '"' << typed.text << '"';
    }
    EXPECT_FALSE(documentState.modified);
}

TEST_F(EditorStepsFieldTest, TypingWithoutCommittingLeavesTheSetting)
{
    SetWindowTextA(editorPanel.stepsField.window, "50");
    EXPECT_EQ(keyTable.cycleSteps, 6);
    EXPECT_EQ(editorPanel.stepsField.value, 6);
}

// The target receives the whole committed value, also where it does not fit
// in 16 bits, so field and setting always agree.
TEST_F(EditorStepsFieldTest, TheTargetHoldsTheWholeValueOfAWideRange)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 21, window, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    std::atomic<int32_t> target{0};
    BoundedIntField field;
    field.bind(7, edit, -100000, 100000, 0, target);
    SetWindowTextA(edit, "70000");
    field.commit();
    EXPECT_EQ(target, 70000);
    SetWindowTextA(edit, "-3");
    field.commit();
    EXPECT_EQ(target, -3);
    EXPECT_EQ(field.value, -3);

    target = 250000;
    field.showTarget();
    EXPECT_EQ(textOf(edit), "100000");
    EXPECT_EQ(target, 100000);
}

}  // namespace
