#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "documents/file_api.h"
#include "documents/key_file.h"
#include "main_window_fixture.h"
#include "model/name_tables.h"
#include "ui/editor/editor_panel.h"
#include "ui/main_window/command_ids.h"
#include "ui/main_window/file_commands.h"
#include "ui/main_window/title_text.h"
#include "ui/main_window/window_title.h"
#include "ui/shell/hand_over.h"

namespace {

constexpr const char* SENTINEL_TITLE = "title not rebuilt";

// Two key code files that differ in the first button's key.
class FileCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        current = keyFileWithFirstButton("current.qvxkeys", 'C');
        other = keyFileWithFirstButton("other.qvxkeys", 'O');
        fresh = path("fresh.qvxkeys");
    }

    void enterState(const std::string& filePath, bool modified)
    {
        documentState.filePath = filePath;
        documentState.modified = modified;
        updateTitle(window);
    }

    // The steps field holds the focus and a text still being typed.
    void typeIntoStepsField(const std::string& text)
    {
        keyTable.pulseEnabled = 1;
        refreshFromModel();
        applyPulseEnabling();
        ShowWindow(window, SW_SHOW);
        SetFocus(editorPanel.stepsField.window);
        ASSERT_EQ(GetFocus(), editorPanel.stepsField.window);
        SetWindowTextA(editorPanel.stepsField.window, text.c_str());
    }

    std::string expectedTitle() const { return composeTitle(documentState.filePath, documentState.modified, 0); }

    std::vector<std::string> questions() const
    {
        std::vector<std::string> texts;
        for (const auto& box : prompts.shown)
            texts.push_back(box.text);
        return texts;
    }

    static Bytes imageOf(const KeyTable& table)
    {
        const KeyFileImage image = keyFileImage(table);
        return Bytes(image.begin(), image.end());
    }

    std::string current;
    std::string other;
    std::string fresh;
};

// The real calls, the last steps of a save logged by name; the flush fails
// on demand.
class RecordingFileApi final : public SystemFileApi {
public:
    std::vector<std::string> calls;
    bool flushFails = false;

    BOOL FlushFileBuffers(HANDLE file) override
    {
        return logged("FlushFileBuffers", !flushFails && SystemFileApi::FlushFileBuffers(file));
    }
    BOOL CloseHandle(HANDLE object) override { return logged("CloseHandle", SystemFileApi::CloseHandle(object)); }
    BOOL DeleteFileA(const char* path) override { return logged("DeleteFileA", SystemFileApi::DeleteFileA(path)); }
    BOOL MoveFileExA(const char* from, const char* to, DWORD flags) override
    {
        return logged("MoveFileExA " + std::to_string(flags), SystemFileApi::MoveFileExA(from, to, flags));
    }

private:
    BOOL logged(const std::string& call, BOOL result)
    {
        calls.push_back(call);
        return result;
    }
};

}  // namespace

// Every command from every state of the document: which questions it asks,
// which dialogs it shows and where the document ends up. A modified
// document is asked about, named or not.
TEST_F(FileCommandsTest, StateTable)
{
    enum Name { UNNAMED, CURRENT, OTHER, FRESH };
    const char* const Q_NEW = "Start new file without saving?";
    const char* const Q_OPEN = "Open file without saving?";
    const char* const Q_CLOSE = "Close without saving?";
    const struct {
        const char* what;
        WORD command;
        Name name;
        bool modified;
        std::vector<int> answers;
        std::vector<Name> chosen;  // the dialog's answers; none cancels
        bool closes;
        Name nameAfter;
        bool modifiedAfter;
        const char* asked;  // nullptr: no question
        size_t dialogs;
    } rows[] = {
        {"New, unnamed clean", CMD_NEW, UNNAMED, false, {}, {}, false, UNNAMED, false, nullptr, 0},
        {"New, unnamed modified, Cancel", ACC_NEW, UNNAMED, true, {IDCANCEL}, {}, false, UNNAMED, true, Q_NEW, 0},
        {"New, named clean", CMD_NEW, CURRENT, false, {}, {}, false, UNNAMED, false, nullptr, 0},
        {"New, named modified, OK", ACC_NEW, CURRENT, true, {IDOK}, {}, false, UNNAMED, false, Q_NEW, 0},
        {"New, named modified, Cancel", CMD_NEW, CURRENT, true, {IDCANCEL}, {}, false, CURRENT, true, Q_NEW, 0},
        {"Open, unnamed clean", CMD_OPEN, UNNAMED, false, {}, {OTHER}, false, OTHER, false, nullptr, 1},
        {"Open, unnamed modified, OK", ACC_OPEN, UNNAMED, true, {IDOK}, {OTHER}, false, OTHER, false, Q_OPEN, 1},
        {"Open, named clean", CMD_OPEN, CURRENT, false, {}, {OTHER}, false, OTHER, false, nullptr, 1},
        {"Open, named modified, OK", ACC_OPEN, CURRENT, true, {IDOK}, {OTHER}, false, OTHER, false, Q_OPEN, 1},
        {"Open, named modified, Cancel", CMD_OPEN, CURRENT, true, {IDCANCEL}, {OTHER}, false, CURRENT, true, Q_OPEN, 0},
        {"Open cancelled, named clean", CMD_OPEN, CURRENT, false, {}, {}, false, CURRENT, false, nullptr, 1},
        {"Open cancelled, unnamed modified", CMD_OPEN, UNNAMED, true, {IDOK}, {}, false, UNNAMED, true, Q_OPEN, 1},
        {"Save, unnamed clean", CMD_SAVE, UNNAMED, false, {}, {FRESH}, false, FRESH, false, nullptr, 1},
        {"Save, unnamed modified", ACC_SAVE, UNNAMED, true, {}, {FRESH}, false, FRESH, false, nullptr, 1},
        {"Save cancelled, unnamed modified", CMD_SAVE, UNNAMED, true, {}, {}, false, UNNAMED, true, nullptr, 1},
        {"Save, named clean", CMD_SAVE, CURRENT, false, {}, {}, false, CURRENT, false, nullptr, 0},
        {"Save, named modified", ACC_SAVE, CURRENT, true, {}, {}, false, CURRENT, false, nullptr, 0},
        {"Save As, unnamed modified", CMD_SAVE_AS, UNNAMED, true, {}, {FRESH}, false, FRESH, false, nullptr, 1},
        {"Save As, named modified", CMD_SAVE_AS, CURRENT, true, {}, {FRESH}, false, FRESH, false, nullptr, 1},
        {"Save As cancelled, named clean", CMD_SAVE_AS, CURRENT, false, {}, {}, false, CURRENT, false, nullptr, 1},
        {"Save As cancelled, named modified", CMD_SAVE_AS, CURRENT, true, {}, {}, false, CURRENT, true, nullptr, 1},
        {"Quit, unnamed modified, Cancel", CMD_QUIT, UNNAMED, true, {IDCANCEL}, {}, false, UNNAMED, true, Q_CLOSE, 0},
        {"Quit, named clean", ACC_QUIT, CURRENT, false, {}, {}, true, CURRENT, false, nullptr, 0},
        {"Quit, named modified, OK", CMD_QUIT, CURRENT, true, {IDOK}, {}, true, CURRENT, true, Q_CLOSE, 0},
        {"Quit, named modified, Cancel", ACC_QUIT, CURRENT, true, {IDCANCEL}, {}, false, CURRENT, true, Q_CLOSE, 0},
    };
    const std::string paths[] = {"", current, other, fresh};

    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (!IsWindow(window))
            recreateWindow();
        std::remove(fresh.c_str());
        std::remove(settingsFilePath().c_str());
        prompts = ScriptedPrompts{};
        prompts.answers.assign(row.answers.begin(), row.answers.end());
        for (Name name : row.chosen) {
            prompts.openAnswers.push_back(paths[name]);
            prompts.saveAnswers.push_back(paths[name]);
        }
        enterState(paths[row.name], row.modified);

        sendCommand(row.command);

        EXPECT_EQ(!IsWindow(window), row.closes);
        EXPECT_EQ(documentState.filePath, paths[row.nameAfter]);
        EXPECT_EQ(documentState.modified, row.modifiedAfter);
        EXPECT_EQ(questions(), row.asked ? std::vector<std::string>{row.asked} : std::vector<std::string>{});
        for (const auto& box : prompts.shown) {
            EXPECT_EQ(box.owner, window);
            EXPECT_EQ(box.caption, "Continue?");
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OKCANCEL));
        }
        EXPECT_EQ(prompts.openDialogs.size() + prompts.saveDialogs.size(), row.dialogs);
        if (!row.closes) {
            EXPECT_EQ(title(), expectedTitle());
        }
    }
}

TEST_F(FileCommandsTest, BothDialogsUseTheKeyFileRecord)
{
    enterState(current, false);
    sendCommand(CMD_OPEN);
    sendCommand(CMD_SAVE_AS);
    ASSERT_EQ(prompts.openDialogs.size(), 1u);
    ASSERT_EQ(prompts.saveDialogs.size(), 1u);

    for (const auto& dialog : {prompts.openDialogs[0], prompts.saveDialogs[0]}) {
        const OPENFILENAMEA& record = dialog.record;
        EXPECT_EQ(record.lStructSize, sizeof(OPENFILENAMEA));
        EXPECT_EQ(record.hwndOwner, window);
        EXPECT_EQ(record.lpstrFilter, KeyFileFilter);
        EXPECT_EQ(dialog.filter, "Corvanta Key Code Files (*.qvxkeys)|*.qvxkeys|All Files (*.*)|*.*|");
        EXPECT_EQ(record.nFilterIndex, 0u);
        EXPECT_EQ(dialog.initialFile, "");
        EXPECT_EQ(record.nMaxFile, 260u);
        EXPECT_STREQ(record.lpstrDefExt, "qvxkeys");
        EXPECT_EQ(record.Flags, 0x8100Cu);  // OFN_NOCHANGEDIR with the others

        // Every field not named above is zero: no title, no initial
        // directory, no hook, no custom filter.
        OPENFILENAMEA rest = record;
        rest.lStructSize = 0;
        rest.hwndOwner = nullptr;
        rest.lpstrFilter = nullptr;
        rest.lpstrFile = nullptr;
        rest.nMaxFile = 0;
        rest.lpstrDefExt = nullptr;
        rest.Flags = 0;
        const OPENFILENAMEA zero{};
        EXPECT_EQ(std::memcmp(&rest, &zero, sizeof rest), 0);
    }
}

TEST_F(FileCommandsTest, FilterEndsWithAnExtraNul)
{
    const char expected[] = "Corvanta Key Code Files (*.qvxkeys)\0*.qvxkeys\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(std::memcmp(KeyFileFilter, expected, sizeof expected), 0);
}

// New clears only the button slots; what it keeps goes into the next file.
// The configuration still names the previous file, so the next start
// reopens it.
TEST_F(FileCommandsTest, NewKeepsAxisKeysPulseAndSteps)
{
    writeBytes(settingsFilePath(), settingsBytes(false, false, current));
    recreateWindow();
    ASSERT_EQ(documentState.filePath, current);
    keyTable.setSlotKey(5, 'B');
    keyTable.setSlotKey(70, 'X');
    keyTable.pulseEnabled = 1;
    keyTable.cycleSteps = 42;
    refreshFromModel();

    sendCommand(CMD_NEW);
    for (SlotIndex slot = 0; slot < BUTTON_SLOT_COUNT; ++slot)
        EXPECT_EQ(keyTable.slotKey(slot), 0) << slot;
    EXPECT_EQ(keyTable.slotKey(70), 'X');
    EXPECT_EQ(keyTable.pulseEnabled.load(), 1);
    EXPECT_EQ(keyTable.cycleSteps.load(), 42);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, false, current));

    prompts.saveAnswers = {fresh};
    sendCommand(CMD_SAVE);
    EXPECT_EQ(readBytes(fresh), imageOf(keyTable));

    writeBytes(settingsFilePath(), settingsBytes(false, false, current));
    sendCommand(CMD_NEW);
    recreateWindow();
    EXPECT_EQ(documentState.filePath, current);
}

// A code beyond the key lists shows as no selection, never as the key the
// list showed before, and is saved as it was read.
TEST_F(FileCommandsTest, OpenReadsTheFileAndShowsIt)
{
    KeyTable wide;
    wide.setSlotKey(0, 'O');
    wide.setSlotKey(1, 300);
    ASSERT_TRUE(writeKeyFile(other, wide));
    keyTable.setSlotKey(1, 'B');
    refreshFromModel();

    prompts.openAnswers = {other};
    sendCommand(ACC_OPEN);
    EXPECT_EQ(keyTable.slotKey(0), 'O');
    EXPECT_EQ(SendMessageA(editorPanel.rows[0].keyList, CB_GETCURSEL, 0, 0), KeyListPosition['O']);
    EXPECT_EQ(SendMessageA(editorPanel.rows[1].keyList, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [other.qvxkeys] - Not Connected");

    prompts.saveAnswers = {fresh};
    sendCommand(CMD_SAVE_AS);
    EXPECT_EQ(readBytes(fresh), imageOf(wide));
}

// What a short file does not hold is empty, and the user is told once the
// window shows it; the name is taken as after any Open.
TEST_F(FileCommandsTest, OpeningAShortFileEmptiesWhatItDoesNotHoldAndSaysSo)
{
    const std::string shortFile = path("short.qvxkeys");
    Bytes bytes = readBytes(other);
    bytes.resize(100);
    writeBytes(shortFile, bytes);
    keyTable.setSlotKey(70, 'Q');
    prompts.openAnswers = {shortFile};
    sendCommand(CMD_OPEN);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, shortFile + " holds only 100 of 157 bytes; the keys it does not hold are empty.");
    EXPECT_EQ(prompts.shown[0].caption, "Open");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(keyTable.slotKey(70), 0);
    EXPECT_EQ(documentState.filePath, shortFile);
    EXPECT_FALSE(documentState.modified);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [short.qvxkeys] - Not Connected");
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadIsReportedByItsPath)
{
    enterState(current, false);
    keyTable.setSlotKey(5, 'Q');
    const std::string missing = path("missing.qvxkeys");
    prompts.openAnswers = {missing};
    sendCommand(CMD_OPEN);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].owner, window);
    EXPECT_EQ(prompts.shown[0].text, missing);
    EXPECT_EQ(prompts.shown[0].caption, "File not found!");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(documentState.filePath, current);
    EXPECT_EQ(keyTable.slotKey(5), 'Q');
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [current.qvxkeys] - Not Connected");
    EXPECT_FALSE(fileExists(settingsFilePath()));
}

// The accelerator reaches the window while the steps field still holds
// what the user typed; taking the focus away commits it before the write.
TEST_F(FileCommandsTest, SaveWritesAStepsValueStillBeingTyped)
{
    enterState(current, false);
    typeIntoStepsField("42");

    sendCommand(ACC_SAVE);
    EXPECT_EQ(keyTable.cycleSteps.load(), 42);
    EXPECT_EQ(readBytes(current), imageOf(keyTable));
    EXPECT_FALSE(documentState.modified);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [current.qvxkeys] - Not Connected");
}

// New, Open and a close request commit a value still being typed before
// they decide, so it counts as a change and is asked about.
TEST_F(FileCommandsTest, AStepsValueStillBeingTypedIsAskedAboutFirst)
{
    int steps = 50;
    for (WORD command : {WORD{ACC_NEW}, WORD{ACC_OPEN}, WORD{ACC_QUIT}}) {
        SCOPED_TRACE(command);
        prompts = ScriptedPrompts{};
        enterState("", false);
        typeIntoStepsField(std::to_string(++steps));
        sendCommand(command);
        EXPECT_EQ(keyTable.cycleSteps.load(), steps);
        EXPECT_EQ(prompts.shown.size(), 1u);
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(FileCommandsTest, TheConfigurationNamesEachOpenedOrSavedFile)
{
    writeBytes(settingsFilePath(), settingsBytes(true, true, current));
    recreateWindow();

    prompts.openAnswers = {other};
    sendCommand(CMD_OPEN);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, true, other));

    prompts.saveAnswers = {fresh};
    sendCommand(CMD_SAVE_AS);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, true, fresh));

    writeBytes(settingsFilePath(), settingsBytes(false, false, ""));
    sendCommand(CMD_SAVE);
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(true, true, fresh));
}

TEST_F(FileCommandsTest, SaveAsOntoAnExistingFileAsksAndWritesOnOk)
{
    enterState(current, true);
    keyTable.setSlotKey(0, 'N');
    prompts.saveAnswers = {other};
    prompts.answers = {IDOK};
    sendCommand(CMD_SAVE_AS);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].owner, window);
    EXPECT_EQ(prompts.shown[0].text, "This file exists.  Overwrite?");
    EXPECT_EQ(prompts.shown[0].caption, "Save As");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(readBytes(other), imageOf(keyTable));
    EXPECT_EQ(documentState.filePath, other);
    EXPECT_FALSE(documentState.modified);
}

TEST_F(FileCommandsTest, SaveAsOntoTheCurrentFileAsksToo)
{
    enterState(current, true);
    prompts.saveAnswers = {current};
    prompts.answers = {IDOK};
    sendCommand(CMD_SAVE_AS);
    EXPECT_EQ(questions(), std::vector<std::string>{"This file exists.  Overwrite?"});
    EXPECT_FALSE(documentState.modified);
}

// Declining the overwrite is a cancelled save: the document keeps its name
// and its mark, and neither file is written.
TEST_F(FileCommandsTest, DecliningTheOverwriteChangesNothing)
{
    const Bytes otherBefore = readBytes(other);
    for (const std::string& name : {current, std::string()}) {
        SCOPED_TRACE(name);
        std::remove(settingsFilePath().c_str());
        enterState(name, true);
        prompts.saveAnswers = {other};
        prompts.answers = {IDCANCEL};
        sendCommand(CMD_SAVE_AS);

        EXPECT_EQ(documentState.filePath, name);
        EXPECT_TRUE(documentState.modified);
        EXPECT_EQ(title(), expectedTitle());
        EXPECT_EQ(readBytes(other), otherBefore);
        EXPECT_FALSE(fileExists(settingsFilePath()));
    }
}

// A failed write is reported with the file's name under the command the
// user chose; the document keeps its old name and stays modified, and the
// configuration is not rewritten.
TEST_F(FileCommandsTest, AFailedSaveAsIsReportedAndChangesNothing)
{
    const std::string unwritable = path("no such folder\\keys.qvxkeys");
    for (WORD command : {WORD{CMD_SAVE_AS}, WORD{CMD_SAVE}}) {
        for (const std::string& name : {current, std::string()}) {
            if (command == CMD_SAVE && !name.empty())
                continue;
            SCOPED_TRACE(testing::Message() << command << " " << name);
            prompts = ScriptedPrompts{};
            enterState(name, true);
            prompts.saveAnswers = {unwritable};
            sendCommand(command);

            ASSERT_EQ(prompts.shown.size(), 1u);
            EXPECT_EQ(prompts.shown[0].owner, window);
            EXPECT_EQ(prompts.shown[0].text, "Could not save " + unwritable + ".");
            EXPECT_EQ(prompts.shown[0].caption, command == CMD_SAVE ? "Save" : "Save As");
            EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
            EXPECT_EQ(documentState.filePath, name);
            EXPECT_TRUE(documentState.modified);
            EXPECT_EQ(title(), expectedTitle());
            EXPECT_FALSE(fileExists(unwritable));
            EXPECT_FALSE(fileExists(settingsFilePath()));
        }
    }
}

TEST_F(FileCommandsTest, AFailedSaveIsReportedAndLeavesTheDocumentModified)
{
    const std::string unwritable = path("gone\\keys.qvxkeys");
    enterState(unwritable, true);
    sendCommand(ACC_SAVE);

    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Could not save " + unwritable + ".");
    EXPECT_EQ(prompts.shown[0].caption, "Save");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(documentState.filePath, unwritable);
    EXPECT_TRUE(documentState.modified);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [*keys.qvxkeys] - Not Connected");
    EXPECT_FALSE(fileExists(settingsFilePath()));
}

TEST_F(FileCommandsTest, ACancelledSaveOfAnUnnamedDocumentWritesNothing)
{
    enterState("", true);
    sendCommand(CMD_SAVE);
    EXPECT_EQ(prompts.saveDialogs.size(), 1u);
    EXPECT_TRUE(documentState.modified);
    EXPECT_FALSE(fileExists(settingsFilePath()));
    EXPECT_TRUE(prompts.shown.empty());
}

// The mark renews the title only when it changes.
TEST_F(FileCommandsTest, MarksRenewTheTitleOnlyWhenTheyChange)
{
    enterState(current, false);
    markModified();
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [*current.qvxkeys] - Not Connected");
    SetWindowTextA(window, SENTINEL_TITLE);
    markModified();
    EXPECT_EQ(title(), SENTINEL_TITLE);

    markClean();
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [current.qvxkeys] - Not Connected");
    SetWindowTextA(window, SENTINEL_TITLE);
    markClean();
    EXPECT_EQ(title(), SENTINEL_TITLE);
}

// Answering Cancel to New leaves even the title alone; Open rebuilds it.
TEST_F(FileCommandsTest, DeclinedNewLeavesTheTitleWhileDeclinedOpenRebuildsIt)
{
    enterState(current, true);
    SetWindowTextA(window, SENTINEL_TITLE);
    sendCommand(CMD_NEW);
    EXPECT_EQ(title(), SENTINEL_TITLE);
    sendCommand(CMD_OPEN);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [*current.qvxkeys] - Not Connected");
}

// A drop as Explorer hands it over: the record, then each ANSI name with its
// NUL, then one more NUL.
static HDROP dropOf(const std::vector<std::string>& files)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& file : files)
        size += file.size() + 1;
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* name = reinterpret_cast<char*>(drop + 1);
    for (const std::string& file : files)
        name = std::strcpy(name, file.c_str()) + file.size() + 1;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The first of the files dropped onto the window is opened as Open opens
// the file chosen in its dialog, after the same question.
TEST_F(FileCommandsTest, TheFirstDroppedFileIsOpenedAsOpenWould)
{
    enterState(current, true);
    prompts.answers = {IDCANCEL, IDOK};
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({other, fresh})), 0);
    EXPECT_EQ(documentState.filePath, current);
    EXPECT_EQ(keyTable.slotKey(0), 0);

    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({other, fresh})), 0);
    EXPECT_EQ(questions(), (std::vector<std::string>{"Open file without saving?", "Open file without saving?"}));
    EXPECT_EQ(documentState.filePath, other);
    EXPECT_EQ(keyTable.slotKey(0), 'O');
    EXPECT_EQ(SendMessageA(editorPanel.rows[0].keyList, CB_GETCURSEL, 0, 0), KeyListPosition['O']);
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [other.qvxkeys] - Not Connected");
    EXPECT_EQ(readBytes(settingsFilePath()), settingsBytes(false, false, other));
}

// Any process can send WM_COPYDATA: only a well-formed hand-over is taken,
// and its file is then opened as a dropped one, once the message loop gets
// to it.
TEST_F(FileCommandsTest, AHandedOverFileIsOpenedAndAnythingElseIgnored)
{
    const std::string terminated = other + '\0';
    const struct {
        const char* what;
        ULONG_PTR tag;
        std::string bytes;
        bool taken;
    } cases[] = {
        {"another tag", HAND_OVER_TAG + 1, terminated, false},
        {"a size beyond the path", HAND_OVER_TAG, terminated + "x", false},
        {"no terminating NUL", HAND_OVER_TAG, other, false},
        {"longer than a path", HAND_OVER_TAG, std::string(300, 'x') + '\0', false},
        {"the hand-over", HAND_OVER_TAG, terminated, true},
    };
    for (const auto& c : cases) {
        enterState(current, false);
        COPYDATASTRUCT data{c.tag, static_cast<DWORD>(c.bytes.size()), const_cast<char*>(c.bytes.data())};
        EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), c.taken ? TRUE : FALSE)
            << c.what;
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        EXPECT_EQ(documentState.filePath, c.taken ? other : current) << c.what;
    }
    EXPECT_EQ(title(), "Corvanta Key Press Emulator [other.qvxkeys] - Not Connected");
}

// A file held open by another program without sharing cannot be opened to
// ask about it: the write is tried at once, and here it fails like any
// other write.
TEST_F(FileCommandsTest, SaveAsOntoAFileThatCannotBeReadAsksNoQuestion)
{
    const Bytes otherBefore = readBytes(other);
    HANDLE held = CreateFileA(other.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    enterState(current, true);
    prompts.saveAnswers = {other};
    sendCommand(CMD_SAVE_AS);
    CloseHandle(held);

    EXPECT_EQ(questions(), std::vector<std::string>{"Could not save " + other + "."});
    EXPECT_EQ(documentState.filePath, current);
    EXPECT_TRUE(documentState.modified);
    EXPECT_EQ(readBytes(other), otherBefore);
}

using DurableSave = TempFolderTest;

// A save that cannot make sure of its data fails before the old file goes;
// one that can replaces it, and the move itself is written through.
TEST_F(DurableSave, TheDataReachesTheDiskBeforeTheOldFileIsReplaced)
{
    RecordingFileApi api;
    useFileApi(&api);
    const std::string file = path("keys.qvxkeys");
    const Bytes old(KEY_FILE_SIZE, 0xEE);
    writeBytes(file, old);
    KeyTable table;

    api.flushFails = true;
    EXPECT_FALSE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"keys.qvxkeys"});
    EXPECT_EQ(api.calls, (std::vector<std::string>{"FlushFileBuffers", "CloseHandle", "DeleteFileA"}));

    api.calls.clear();
    api.flushFails = false;
    EXPECT_TRUE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file).size(), static_cast<size_t>(KEY_FILE_SIZE));
    const std::string move = "MoveFileExA " + std::to_string(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    EXPECT_EQ(api.calls, (std::vector<std::string>{"FlushFileBuffers", "CloseHandle", move}));
    useFileApi(nullptr);
}
