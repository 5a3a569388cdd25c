#include "ui/main_window/file_commands.h"

#include <cstdio>
#include <optional>
#include <string>

#include "documents/document_state.h"
#include "documents/key_file.h"
#include "documents/settings.h"
#include "model/key_table.h"
#include "ui/editor/editor_panel.h"
#include "ui/main_window/confirm.h"
#include "ui/main_window/main_window_state.h"
#include "ui/main_window/prompts.h"
#include "ui/main_window/window_title.h"

const char KeyFileFilter[] = "Corvanta Key Code Files (*.qvxkeys)\0*.qvxkeys\0All Files (*.*)\0*.*\0";

namespace {

// Neither dialog moves the program's current folder.
constexpr DWORD KEY_FILE_DIALOG_FLAGS = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

// Both dialogs start from an empty name; neither proposes the current file.
struct KeyFileDialog {
    char path[MAX_PATH_LENGTH + 1] = {};
    OPENFILENAMEA record{};

    explicit KeyFileDialog(HWND owner)
    {
        record.lStructSize = sizeof record;
        record.hwndOwner = owner;
        record.lpstrFilter = KeyFileFilter;
        record.lpstrFile = path;
        record.nMaxFile = sizeof path;
        record.lpstrDefExt = "qvxkeys";
        record.Flags = KEY_FILE_DIALOG_FLAGS;
    }
    KeyFileDialog(const KeyFileDialog&) = delete;
    KeyFileDialog& operator=(const KeyFileDialog&) = delete;
};

// A file that exists but cannot be read is written over without a question.
bool mayWriteTo(HWND owner, const std::string& path)
{
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    if (!existing)
        return true;
    const bool overwrite =
        activePrompts().messageBox(owner, "This file exists.  Overwrite?", "Save As", MB_OKCANCEL) == IDOK;
    std::fclose(existing);
    return overwrite;
}

void reportSaveFailure(HWND owner, const std::string& path, const char* caption)
{
    const std::string text = "Could not save " + path + ".";
    activePrompts().messageBox(owner, text.c_str(), caption, MB_OK);
}

// A completed save makes the configuration name the file as the one to
// reopen; the title is renewed either way.
void finishSave(HWND window, bool saved)
{
    if (saved) {
        rememberLastFile(programSettings, documentState.filePath);
        saveSettings(programSettings);
        markClean();
    }
    updateTitle(window);
}

// An unnamed document is saved as a new file. True when the document is
// written under its name.
bool writeDocument(HWND window)
{
    if (documentState.filePath.empty())
        return saveKeyFileAs(window, "Save");
    if (writeKeyFile(documentState.filePath, keyTable))
        return true;
    reportSaveFailure(window, documentState.filePath, "Save");
    return false;
}

// Open with the file that `choose` reads (from the dialog, or dropped onto
// the window), after the question about unsaved changes.
template <typename Choose>
void openDocument(HWND window, Choose choose)
{
    if (!mayDropChanges(window, "Open file without saving?") || !choose())
        updateTitle(window);
}

// Told after the window shows what the file held.
void reportShortFile(HWND owner, const std::string& path, size_t length)
{
    const std::string text = path + " holds only " + std::to_string(length) + " of " + std::to_string(KEY_FILE_SIZE) +
                             " bytes; the keys it does not hold are empty.";
    activePrompts().messageBox(owner, text.c_str(), "Open", MB_OK);
}

// The first file of a drop, empty when none came; the drop is done with.
std::string firstDroppedFile(HDROP drop)
{
    std::string path(DragQueryFileA(drop, 0, nullptr, 0), '\0');
    DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
    DragFinish(drop);
    return path;
}

// The steps field commits a value still being typed when it loses the focus,
// and a running key capture ends, before anything is written or dropped.
void takeFocusFromControls()
{
    SetFocus(nullptr);
}

}  // namespace

void markModified()
{
    if (documentState.modified)
        return;
    documentState.modified = true;
    updateTitle(mainWindow);
}

void markClean()
{
    if (!documentState.modified)
        return;
    documentState.modified = false;
    updateTitle(mainWindow);
}

bool openKeyFile(HWND owner)
{
    KeyFileDialog dialog(owner);
    return activePrompts().getOpenFileName(dialog.record) && openDocumentFile(owner, dialog.path);
}

void reportFileNotFound(HWND owner, const std::string& path)
{
    activePrompts().messageBox(owner, path.c_str(), "File not found!", MB_OK);
}

// A file that cannot be opened leaves the table and the document's name as
// they were. A path longer than a document's name can be is never read.
bool openDocumentFile(HWND owner, const std::string& path)
{
    const std::optional<size_t> length = path.size() > MAX_PATH_LENGTH ? std::nullopt : readKeyFile(path, keyTable);
    if (!length) {
        reportFileNotFound(owner, path);
        return false;
    }
    documentState.filePath = path;
    rememberLastFile(programSettings, path);
    saveSettings(programSettings);
    markClean();
    refreshFromModel();
    applyPulseEnabling();
    updateTitle(owner);
    if (*length < KEY_FILE_SIZE)
        reportShortFile(owner, path, *length);
    return true;
}

// True only when the table was written under the chosen name, which the
// document then takes. A declined overwrite or a failed write leaves the
// name and the modified mark as they were.
bool saveKeyFileAs(HWND owner, const char* command)
{
    KeyFileDialog dialog(owner);
    if (!activePrompts().getSaveFileName(dialog.record))
        return false;
    const std::string chosenPath = dialog.path;
    if (!mayWriteTo(owner, chosenPath))
        return false;
    if (!writeKeyFile(chosenPath, keyTable)) {
        reportSaveFailure(owner, chosenPath, command);
        return false;
    }
    documentState.filePath = chosenPath;
    return true;
}

// Named or not, a modified document is dropped only after the user agreed.
// A value still being typed in the steps field is committed first, so it
// counts as a change.
bool mayDropChanges(HWND window, const char* question)
{
    takeFocusFromControls();
    return !documentState.modified || confirm(window, question);
}

// Only the button slots are cleared; the axis keys and the pulse settings
// carry over into the new document. The configuration still names the
// previous file.
void onNewCommand(HWND window)
{
    if (!mayDropChanges(window, "Start new file without saving?"))
        return;
    keyTable.clearButtonKeys();
    documentState.modified = false;
    documentState.filePath.clear();
    refreshFromModel();
    updateTitle(window);
}

void onOpenCommand(HWND window)
{
    openDocument(window, [window] { return openKeyFile(window); });
}

void openFileFromShell(HWND window, const std::string& path)
{
    openDocument(window, [&] { return openDocumentFile(window, path); });
}

void onFilesDropped(HWND window, HDROP drop)
{
    const std::string path = firstDroppedFile(drop);
    if (!path.empty())
        openFileFromShell(window, path);
}

void onSaveCommand(HWND window)
{
    takeFocusFromControls();
    finishSave(window, writeDocument(window));
}

void onSaveAsCommand(HWND window)
{
    takeFocusFromControls();
    finishSave(window, saveKeyFileAs(window, "Save As"));
}
