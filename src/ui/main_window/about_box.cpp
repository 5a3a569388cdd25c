#include "ui/main_window/about_box.h"

#include <string>

#include "ui/main_window/prompts.h"
#include "ui/main_window/resource_ids.h"
#include "ui/main_window/title_text.h"

void showAbout(HWND window)
{
    const std::string text = aboutText(buildDateText());
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof params;
    params.hwndOwner = window;
    params.hInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    params.lpszText = text.c_str();
    params.lpszCaption = "About Corvanta Key Press Emulator";
    params.dwStyle = MB_USERICON;
    params.lpszIcon = MAKEINTRESOURCEA(ICON_MAIN);
    activePrompts().messageBoxIndirect(params);
}
