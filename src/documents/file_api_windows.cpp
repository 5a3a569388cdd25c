#include "documents/file_api.h"

namespace {

class SystemFileApi final : public FileApi {
public:
    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        return ::CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
    }

    BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) override
    {
        return ::WriteFile(file, data, size, written, overlapped);
    }

    BOOL FlushFileBuffers(HANDLE file) override { return ::FlushFileBuffers(file); }
    BOOL CloseHandle(HANDLE object) override { return ::CloseHandle(object); }
    BOOL DeleteFileA(const char* path) override { return ::DeleteFileA(path); }
    DWORD GetFileAttributesA(const char* path) override { return ::GetFileAttributesA(path); }

    BOOL MoveFileExA(const char* from, const char* to, DWORD flags) override { return ::MoveFileExA(from, to, flags); }
};

SystemFileApi systemFileApi;
FileApi* currentFileApi = &systemFileApi;

}  // namespace

FileApi& activeFileApi()
{
    return *currentFileApi;
}

void useFileApi(FileApi* api)
{
    currentFileApi = api ? api : &systemFileApi;
}
