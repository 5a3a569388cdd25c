#include "documents/file_api.h"
#include "documents/safe_write.h"

// CREATE_NEW refuses any existing name. A create that fails for another
// reason while the name exists (a folder, a file being deleted) counts as a
// taken name too, so that the next name is tried. The data reaches the disk
// before the file is closed, so that the replace that follows can never put
// a file the disk does not hold yet in place of the old one.
NewFileResult writeNewFile(const std::string& path, const void* data, size_t size)
{
    FileApi& api = activeFileApi();
    HANDLE file = api.CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const bool taken = api.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return taken ? NewFileResult::NAME_TAKEN : NewFileResult::FAILED;
    }
    DWORD written = 0;
    bool complete = size <= MAXDWORD && api.WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) &&
                    written == size && api.FlushFileBuffers(file);
    complete = api.CloseHandle(file) && complete;
    if (complete)
        return NewFileResult::WRITTEN;
    api.DeleteFileA(path.c_str());
    return NewFileResult::FAILED;
}
