#include "documents/file_api.h"

HANDLE SystemFileApi::CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                                  DWORD disposition, DWORD flags, HANDLE templateFile)
{
    return ::CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
}

BOOL SystemFileApi::WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped)
{
    return ::WriteFile(file, data, size, written, overlapped);
}

BOOL SystemFileApi::FlushFileBuffers(HANDLE file)
{
    return ::FlushFileBuffers(file);
}

BOOL SystemFileApi::CloseHandle(HANDLE object)
{
    return ::CloseHandle(object);
}

BOOL SystemFileApi::DeleteFileA(const char* path)
{
    return ::DeleteFileA(path);
}

DWORD SystemFileApi::GetFileAttributesA(const char* path)
{
    return ::GetFileAttributesA(path);
}

BOOL SystemFileApi::MoveFileExA(const char* from, const char* to, DWORD flags)
{
    return ::MoveFileExA(from, to, flags);
}

namespace {

FileApi* fileApiInUse = nullptr;

}  // namespace

FileApi& activeFileApi()
{
    static SystemFileApi systemFileApi;
    return fileApiInUse ? *fileApiInUse : systemFileApi;
}

void useFileApi(FileApi* api)
{
    fileApiInUse = api;
}
