#include "ui/main_window/legacy_last_file.h"

#include <windows.h>

#include <string>

#include "documents/utf8_text.h"

namespace {

// The code page of the system's locale, which GetACP gives when the
// manifest does not ask for UTF-8; 0 when the system does not say.
UINT legacyCodePage()
{
    DWORD codePage = 0;
    const int filled = GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                      reinterpret_cast<char*>(&codePage), sizeof codePage / sizeof(char));
    return filled == 0 ? 0 : codePage;
}

// Through UTF-16; empty when the text does not convert.
std::string utf8FromCodePage(const std::string& text, UINT codePage)
{
    const int size = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideLength == 0)
        return "";
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, converted.data(), length, nullptr, nullptr);
    return converted;
}

}  // namespace

void convertLegacyLastFile(ProgramSettings& settings)
{
    if (GetACP() != CP_UTF8 || isValidUtf8(settings.lastFilePath))
        return;
    const UINT codePage = legacyCodePage();
    const std::string converted = codePage == 0 ? "" : utf8FromCodePage(settings.lastFilePath, codePage);
    rememberLastFile(settings, converted.size() <= MAX_STORED_PATH_LENGTH ? converted : "");
}
