#include "ui/main_window/full_path.h"

#include <windows.h>

#include "documents/document_state.h"

std::string fullPathOf(const std::string& path)
{
    char full[MAX_PATH_LENGTH + 1] = {};
    // The length without the NUL, or the size needed with it when the
    // buffer is too small.
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length > MAX_PATH_LENGTH)
        return "";
    return std::string(full, length);
}
