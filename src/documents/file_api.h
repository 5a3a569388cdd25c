#pragma once
#include <windows.h>

// The file system calls a save makes, one member per call with the call's
// own name and arguments, so that tests can watch their order and make one
// fail. The default is the real calls.
class FileApi {
public:
    virtual HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    virtual BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) = 0;
    virtual BOOL FlushFileBuffers(HANDLE file) = 0;
    virtual BOOL CloseHandle(HANDLE object) = 0;
    virtual BOOL DeleteFileA(const char* path) = 0;
    virtual DWORD GetFileAttributesA(const char* path) = 0;
    virtual BOOL MoveFileExA(const char* from, const char* to, DWORD flags) = 0;

protected:
    ~FileApi() = default;
};

// The real calls; a test's binding may pass some of them on to these.
class SystemFileApi : public FileApi {
public:
    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override;
    BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) override;
    BOOL FlushFileBuffers(HANDLE file) override;
    BOOL CloseHandle(HANDLE object) override;
    BOOL DeleteFileA(const char* path) override;
    DWORD GetFileAttributesA(const char* path) override;
    BOOL MoveFileExA(const char* from, const char* to, DWORD flags) override;
};

FileApi& activeFileApi();
// nullptr restores the real calls. The caller keeps the object alive while
// it is in use.
void useFileApi(FileApi* api);
