#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// The filter of both file dialogs: key code files first, then all files.
extern const char KeyFileFilter[];

// Sets the document's modified mark; renews the title only when it was clear.
void markModified();
// Clears the mark; renews the title only when it was set.
void markClean();

// The open dialog, then openDocumentFile; true when a file was chosen and read.
bool openKeyFile(HWND owner);
// Reads the key code file at path into the table as the document, makes it
// the last file in the configuration and shows it; a file shorter than a
// key code file is then reported. A file that cannot be read is reported by
// its path and changes nothing. True when it was read.
bool openDocumentFile(HWND owner, const std::string& path);
// "File not found!" with the path as its text.
void reportFileNotFound(HWND owner, const std::string& path);
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
// A file the shell hands in (dropped onto the window, or named by a second
// start of the program) is opened as Open opens the file chosen in its
// dialog, after the question about unsaved changes.
void openFileFromShell(HWND window, const std::string& path);
// WM_DROPFILES: the first file dropped onto the window.
void onFilesDropped(HWND window, HDROP drop);
