#pragma once
#include <windows.h>

// The filter of both file dialogs: key code files first, then all files.
extern const char KeyFileFilter[];

// Sets the document's modified mark; renews the title only when it was clear.
void markModified();
// Clears the mark; renews the title only when it was set.
void markClean();

// The open dialog, then the read; true when a file was chosen and read.
bool openKeyFile(HWND owner);
// The save dialog, the overwrite question and the write; see the .cpp for
// what the result means. A failed write is reported under the caption
// `command`, the command the user chose.
bool saveKeyFileAs(HWND owner, const char* command);

// Commits the steps field, then, when the document is modified, asks
// `question`; true when its changes may be dropped.
bool mayDropChanges(HWND window, const char* question);

// The commands of the File menu and their accelerators.
void onNewCommand(HWND window);
void onOpenCommand(HWND window);
void onSaveCommand(HWND window);
void onSaveAsCommand(HWND window);
