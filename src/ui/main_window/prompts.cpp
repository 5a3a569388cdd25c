#include "ui/main_window/prompts.h"

namespace {

class SystemPrompts : public Prompts {
public:
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override
    {
        return MessageBoxA(owner, text, caption, type);
    }
    int messageBoxIndirect(const MSGBOXPARAMSA& params) override { return MessageBoxIndirectA(&params); }
    BOOL getOpenFileName(OPENFILENAMEA& record) override { return GetOpenFileNameA(&record); }
    BOOL getSaveFileName(OPENFILENAMEA& record) override { return GetSaveFileNameA(&record); }
};

SystemPrompts systemPrompts;
Prompts* currentPrompts = &systemPrompts;

}  // namespace

Prompts& activePrompts()
{
    return *currentPrompts;
}

void usePrompts(Prompts* prompts)
{
    currentPrompts = prompts ? prompts : &systemPrompts;
}
