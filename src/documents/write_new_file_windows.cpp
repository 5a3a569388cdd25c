#include "documents/safe_write.h"

#include <windows.h>

// CREATE_NEW refuses any existing name. A create that fails for another
// reason while the name exists (a folder, a file being deleted) counts as a
// taken name too, so that the next name is tried.
NewFileResult writeNewFile(const std::string& path, const void* data, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const bool taken = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return taken ? NewFileResult::NAME_TAKEN : NewFileResult::FAILED;
    }
    DWORD written = 0;
    bool complete =
        size <= MAXDWORD && WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    complete = CloseHandle(file) && complete;
    if (complete)
        return NewFileResult::WRITTEN;
    DeleteFileA(path.c_str());
    return NewFileResult::FAILED;
}
