#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/file_api.h"
#include "documents/key_file.h"
#include "unit/temp_folder.h"

namespace {

// The real calls, each logged by its name; the flush fails on demand.
class RecordingFileApi final : public FileApi {
public:
    std::vector<std::string> calls;
    bool flushFails = false;

    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) override
    {
        calls.push_back("CreateFileA");
        return ::CreateFileA(path, access, shareMode, security, disposition, flags, templateFile);
    }
    BOOL WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) override
    {
        calls.push_back("WriteFile");
        return ::WriteFile(file, data, size, written, overlapped);
    }
    BOOL FlushFileBuffers(HANDLE file) override
    {
        calls.push_back("FlushFileBuffers");
        return !flushFails && ::FlushFileBuffers(file);
    }
    BOOL CloseHandle(HANDLE object) override
    {
        calls.push_back("CloseHandle");
        return ::CloseHandle(object);
    }
    BOOL DeleteFileA(const char* path) override
    {
        calls.push_back("DeleteFileA");
        return ::DeleteFileA(path);
    }
    DWORD GetFileAttributesA(const char* path) override
    {
        calls.push_back("GetFileAttributesA");
        return ::GetFileAttributesA(path);
    }
    BOOL MoveFileExA(const char* from, const char* to, DWORD flags) override
    {
        calls.push_back("MoveFileExA " + std::to_string(flags));
        return ::MoveFileExA(from, to, flags);
    }
};

}  // namespace

using DurableSave = TempFolderTest;

// A save that cannot make sure of its data fails before the old file goes;
// one that can replaces it, and the move itself is written through.
TEST_F(DurableSave, TheDataReachesTheDiskBeforeTheOldFileIsReplaced)
{
    RecordingFileApi api;
    useFileApi(&api);
    const std::string file = path("keys.qvxkeys");
    const Bytes old(KEY_FILE_SIZE, 0xEE);
    writeBytes(file, old);
    KeyTable table;
    table.setSlotKey(0, 'A');

    api.flushFails = true;
    EXPECT_FALSE(writeKeyFile(file, table));
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"keys.qvxkeys"});
    EXPECT_EQ(api.calls,
              (std::vector<std::string>{"CreateFileA", "WriteFile", "FlushFileBuffers", "CloseHandle", "DeleteFileA"}));

    api.calls.clear();
    api.flushFails = false;
    EXPECT_TRUE(writeKeyFile(file, table));
    const KeyFileImage image = keyFileImage(table);
    EXPECT_EQ(readBytes(file), Bytes(image.begin(), image.end()));
    const std::string move = "MoveFileExA " + std::to_string(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    EXPECT_EQ(api.calls,
              (std::vector<std::string>{"CreateFileA", "WriteFile", "FlushFileBuffers", "CloseHandle", move}));
    useFileApi(nullptr);
}
