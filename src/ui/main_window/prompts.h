#pragma once
#include <windows.h>
#include <commdlg.h>

// The message boxes and file dialogs the program shows, behind one seam so
// that in-process tests can answer them. The default is the real calls.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual int messageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
    virtual int messageBoxIndirect(const MSGBOXPARAMSA& params) = 0;
    // Non-zero when the user chose a file; its path is then in lpstrFile.
    virtual BOOL getOpenFileName(OPENFILENAMEA& record) = 0;
    virtual BOOL getSaveFileName(OPENFILENAMEA& record) = 0;
};

Prompts& activePrompts();
// nullptr restores the real calls. The caller keeps the object alive while
// it is in use.
void usePrompts(Prompts* prompts);
